// The intermediate line files: fetching a line back by id, refusal of ids that would blow up
// the record-id table, the fatal cases of a dangling ring entry, and the streams and mapped
// files under them.
#include "sdts/topology/line_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "formats/c_file.h"
#include "platform/fatal_error.h"
#include "platform/paths.h"
#include "sdts/run/run_state.h"
#include "sdts/run/work_files.h"
#include "sdts/topology/geo_distance.h"
#include "sdts/topology/mapped_file.h"
#include "sdts/topology/polygon_files.h"
#include "tests/support/sandbox.h"

using namespace corvane::sdts;

namespace {

using corvane::formats::CFile;
using corvane::formats::kBulkStreamBuffer;
using corvane::formats::open_c_file;
using corvane::formats::SHPVertex;

// Module sizes whose intermediate files stay in memory and go to the work directory.
constexpr std::int64_t kSmallModule = 1000;
constexpr std::int64_t kLargeModule = WorkFiles::kMemoryBudget;

class LineFilesTest : public corvane::test::Sandbox {
 protected:
  // Writes lines with the given ids, each with `id` points on the diagonal.
  void write_lines(const std::vector<std::int32_t>& ids, std::int64_t module_bytes = kSmallModule) {
    LineFilesWriter writer(0);
    ASSERT_EQ(writer.open(stem_, module_bytes), "");
    for (std::int32_t id : ids) {
      ASSERT_TRUE(writer.accepts_id(id));
      ASSERT_TRUE(writer.add_record_id(id));
      std::vector<SHPVertex> points;
      for (int k = 0; k < id; ++k) points.push_back({double(k), double(k) + 0.5});
      ASSERT_EQ(writer.add_line(id, points), LineFilesWriter::LineWrite::ok);
    }
  }

  std::string stem_ = "TR01LE01";
};

// Lines come back by id whatever their order, from memory or from the work directory; ids
// that were never written (gaps, beyond the last, negative) end the conversion.
TEST_F(LineFilesTest, FetchFindsEachLineByIdAndDanglingIdsAreFatal) {
  for (const std::int64_t module_bytes : {kSmallModule, kLargeModule}) {
    write_lines({3, 1, 5, 2}, module_bytes);
    EXPECT_EQ(std::filesystem::exists(
                  corvane::paths::join(SDTS_Work_Files().directory(), stem_ + ".bxt")),
              module_bytes == kLargeModule);
    LineFilesReader reader;
    ASSERT_EQ(reader.open(stem_), "");
    std::vector<SHPVertex> points(100);
    for (const std::int32_t id : {5, 1, 3, 2}) {
      EXPECT_TRUE(reader.fetch(id, points));
      ASSERT_EQ(points.size(), static_cast<std::size_t>(id));
      EXPECT_EQ(points.back().y, id - 0.5);
    }
    EXPECT_THROW(reader.fetch(4, points), corvane::FatalError);
    EXPECT_EQ(messages_.messages.back(), "ERROR: on Link index file");
    EXPECT_THROW(reader.fetch(6, points), corvane::FatalError);
    EXPECT_EQ(messages_.messages.back(), "ERROR: read line binary index data");
    EXPECT_THROW(reader.fetch(-2, points), corvane::FatalError);
  }
}

TEST_F(LineFilesTest, NegativeAndFarOffIdsAreRefused) {
  LineFilesWriter writer(10);
  ASSERT_EQ(writer.open(stem_, kSmallModule), "");
  EXPECT_FALSE(writer.accepts_id(-1));
  EXPECT_FALSE(writer.accepts_id(2000000000));
  EXPECT_TRUE(writer.accepts_id(10 + LineFilesWriter::kIdSlack));
  EXPECT_FALSE(writer.accepts_id(11 + LineFilesWriter::kIdSlack));
}

TEST_F(LineFilesTest, DanglingRingEndsTheBuild) {
  // The polygon table is written and logged before the rings are fetched.
  g_run_dir = dir_.path();
  g_log_path = path("TR01.log");
  g_work_path = path("dlgsdts.tmp");
  const std::string module = path("TR01LE01.DDF");
  {
    LineFilesWriter writer(0);
    ASSERT_EQ(writer.open(Line_Files_Stem(module), kSmallModule), "");
    ASSERT_TRUE(writer.add_record_id(1));
    ASSERT_EQ(writer.add_line(1, std::vector<SHPVertex>{{0, 0}, {1, 1}}),
              LineFilesWriter::LineWrite::ok);
  }
  SDTSPolygons polygons;
  polygons.add_link(2, {1, 1, 2, +1, 0});
  polygons.add_link(2, {3, 2, 1, +1, 0});  // line 3 was never written
  EXPECT_THROW(Build_Polygon_Files(module.c_str(), polygons), corvane::FatalError);
  EXPECT_EQ(messages_.messages.back(), "ERROR: read line binary index data");
  g_run_dir.clear();
  g_log_path.clear();
  g_work_path.clear();
}

// A stream given its own buffer flushes through it when it is closed, also when the handle
// is taken over by another stream, so no written byte is lost or read from freed memory.
TEST_F(LineFilesTest, BufferedStreamsFlushBeforeTheirBufferGoes) {
  const std::string first = path("first.bin"), second = path("second.bin");
  const std::vector<char> bytes(3000, 'x');
  CFile file = open_c_file(first, "wb", kBulkStreamBuffer);
  ASSERT_TRUE(file);
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file.get()), bytes.size());
  EXPECT_EQ(std::filesystem::file_size(first), 0u);  // still in the stream's own buffer
  file = open_c_file(second, "wb", kBulkStreamBuffer);
  EXPECT_EQ(std::filesystem::file_size(first), bytes.size());
  ASSERT_EQ(std::fwrite(bytes.data(), 1, 10, file.get()), 10u);
  file.reset();
  EXPECT_EQ(std::filesystem::file_size(second), 10u);
}

// Every look into a mapped intermediate file is bounded by the file, including an empty one
// (a module without points), which cannot be mapped at all.
TEST_F(LineFilesTest, MappedFilesHandOutOnlyWhatTheyHold) {
  open_c_file(path("empty.bin"), "wb");
  std::fwrite("abcdefgh", 1, 8, open_c_file(path("some.bin"), "wb").get());
  MappedFile none, eight, missing;
  ASSERT_TRUE(none.open(::open(path("empty.bin").c_str(), O_RDONLY)));
  EXPECT_EQ(none.size(), 0);
  EXPECT_NE(none.at(0, 0), nullptr);
  EXPECT_EQ(none.at(0, 1), nullptr);
  ASSERT_TRUE(eight.open(::open(path("some.bin").c_str(), O_RDONLY)));
  EXPECT_EQ(eight.size(), 8);
  ASSERT_NE(eight.at(6, 2), nullptr);
  EXPECT_EQ(*eight.at(6, 2), 'g');
  EXPECT_NE(eight.at(8, 0), nullptr);
  for (const auto& [offset, size] : {std::pair{7, 2}, {-1, 1}, {0, -1}, {9, 0}})
    EXPECT_EQ(eight.at(offset, size), nullptr) << offset << " " << size;
  EXPECT_FALSE(missing.open(::open(path("missing.bin").c_str(), O_RDONLY)));
}

TEST(LineFileNames, StemAndPolygonModuleCutAtTheFileNamesFirstDot) {
  EXPECT_EQ(Line_Files_Stem("/data/quads.v2/1234LE01.DDF"), "1234LE01");
  EXPECT_EQ(Polygon_Module_Name("/data/quads.v2/1234LE01.DDF"), "PC01");
  EXPECT_EQ(Polygon_Module_Name("C:\\X.Y\\1234LE02.ddf.gz"), "PC02");
}

TEST(GeoDistance, OneDegreeOfLongitudeOnTheEquator) {
  EXPECT_NEAR(Geo_Distance_Miles({1.0, 0.0}, {0.0, 0.0}), 69.057, 5e-4);
  EXPECT_EQ(Geo_Distance_Miles({-71.3, 42.5}, {-71.3, 42.5}), 0.0);
  // A degree of latitude is the same length everywhere on the sphere.
  EXPECT_NEAR(Geo_Distance_Miles({10.0, 60.0}, {10.0, 61.0}), 69.057, 5e-4);
}

}  // namespace
