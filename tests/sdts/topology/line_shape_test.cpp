// Line modules converted whole: the PolyLine records, the topology table, lengths, the
// intermediate files' place, and modules refused for ids that would blow up the record-id table.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/message_sink.h"
#include "platform/paths.h"
#include "tests/sdts/topology/topology_fixture.h"

namespace {

using topo_test::TestLine;
using topo_test::TopoTransfer;

class LineShapeTest : public ::testing::Test {
 protected:
  void SetUp() override { corvane::install_message_sink(&messages_); }
  void TearDown() override { corvane::install_message_sink(nullptr); }
  corvane::paths::WorkDirectory dir_{"topo-lines-"};
  corvane::RecordingMessageSink messages_;
};

TEST_F(LineShapeTest, RecordsRowsAndLengthsUnderADottedDirectory) {
  const std::string input = dir_.file("quads.v2");
  TopoTransfer t(input);
  std::vector<topo_test::Point> long_line;
  for (int k = 0; k <= 6000; ++k) long_line.push_back({k, 0});
  t.lines("LE01", {{1, 1, 2, 1, 1, {}, {}},
                   {2, 3, 3, 1, 1, {{5, 5}}, {}},
                   {3, 4, 5, 1, 1, long_line, {}},
                   {4, 6, 7, 1, 1, {{0, 0}, {3, 4}}, {}}});
  const std::string run = t.convert(dir_.path());

  const topo_test::Shapefile shp = topo_test::read_shapefile(run + "/LE01");
  EXPECT_EQ(shp.shape_type, 3);
  ASSERT_EQ(shp.records.size(), 4u);
  ASSERT_EQ(shp.index.size(), 4u);
  const topo_test::ShpRecord& empty = shp.records[0];
  EXPECT_EQ(empty.content_length, 48);
  EXPECT_EQ(empty.parts, std::vector<std::int32_t>{0});
  EXPECT_TRUE(empty.points.empty());
  EXPECT_EQ(empty.box[0], 1e99);
  EXPECT_EQ(empty.box[1], 1e99);
  EXPECT_EQ(empty.box[2], -1e99);
  EXPECT_EQ(empty.box[3], -1e99);
  EXPECT_EQ(shp.records[1].points.size(), 1u);
  EXPECT_EQ(shp.records[2].points.size(), 6001u);
  EXPECT_EQ(shp.records[2].points.back(), (std::pair<double, double>{6000.0, 0.0}));
  for (std::size_t k = 0; k < shp.records.size(); ++k) {
    EXPECT_EQ(shp.records[k].number, static_cast<std::int32_t>(k + 1));
    EXPECT_EQ(shp.index[k].second, shp.records[k].content_length);
  }
  EXPECT_EQ(shp.file_length, static_cast<std::int32_t>(std::filesystem::file_size(run + "/LE01.shp")));
  EXPECT_EQ(shp.box[2], 6000.0);

  const topo_test::DbfTable dbf = topo_test::read_dbf(run + "/LE01.dbf");
  EXPECT_EQ(dbf.field_names,
            (std::vector<std::string>{"LE01_ID", "FROMNODE", "TONODE", "LPOLY", "RPOLY", "LENGTH"}));
  EXPECT_EQ(dbf.record_length, 53);
  ASSERT_EQ(dbf.records, 4u);
  EXPECT_EQ(dbf.rows[0], " 1       1       2       1       1       0.0000      ");
  EXPECT_EQ(dbf.rows[1].substr(41), "0.0000      ");
  EXPECT_EQ(dbf.rows[2].substr(41), "6000.0000   ");
  EXPECT_EQ(dbf.rows[3].substr(41), "5.0000      ");
  EXPECT_TRUE(dbf.tail.empty());

  // Lines with the same polygon on both sides bound nothing: an empty polygon shapefile.
  const topo_test::Shapefile polygons = topo_test::read_shapefile(run + "/PC01");
  EXPECT_TRUE(polygons.records.empty());
  EXPECT_EQ(polygons.file_length, 100);
  EXPECT_EQ(std::filesystem::file_size(run + "/PC01.shx"), 100u);
  EXPECT_EQ(topo_test::read_bytes(run + "/PC01.shx")[27], 50);

  // Nothing was written beside the input.
  for (const auto& entry : std::filesystem::directory_iterator(input)) {
    EXPECT_EQ(entry.path().extension(), ".DDF") << entry.path();
  }
  EXPECT_NE(topo_test::read_text(run + "/TR01CATD.log").find("Wrote 4 line records to shape LE01\n"),
            std::string::npos);
}

double converted_length(const std::string& dir, const std::string& reference_system) {
  TopoTransfer t(dir, reference_system);
  t.lines("LE01", {{1, 1, 2, 1, 1, {{0, 0}, {1, 0}}, {}}});
  const std::string run = t.convert(dir + "/out");
  const topo_test::DbfTable dbf = topo_test::read_dbf(run + "/LE01.dbf");
  return dbf.rows.empty() ? -1.0 : std::stod(dbf.rows[0].substr(41));
}

TEST_F(LineShapeTest, GeographicLengthsAreMiles) {
  std::filesystem::create_directories(dir_.file("geo/out"));
  std::filesystem::create_directories(dir_.file("utm/out"));
  EXPECT_NEAR(converted_length(dir_.file("geo"), "GEO"), 69.057, 5e-4);
  EXPECT_EQ(converted_length(dir_.file("utm"), "UTM"), 1.0);
}

TEST_F(LineShapeTest, ModuleWithAHostileIdIsRefusedAndTheNextModuleConverts) {
  for (const std::int32_t bad : {-5, 2000000000}) {
    const std::string input = dir_.file("hostile" + std::to_string(bad));
    TopoTransfer t(input);
    t.lines("LE01", {{1, 1, 2, 1, 2, {{0, 0}, {1, 1}}, {}},
                     {bad, 2, 1, 1, 2, {{1, 1}, {0, 0}}, {}},
                     {3, 2, 1, 1, 2, {{1, 1}, {0, 0}}, {}}},
            11);
    t.points("NO01", {{1, {{0, 0}}}, {2, {{1, 1}}}});
    std::filesystem::create_directories(input + "/out");
    const std::string run = t.convert(input + "/out", 1);
    EXPECT_EQ(topo_test::read_shapefile(run + "/LE01").records.size(), 1u) << bad;
    EXPECT_EQ(topo_test::read_dbf(run + "/LE01.dbf").records, 1u);
    EXPECT_FALSE(std::filesystem::exists(run + "/PC01.shp"));
    EXPECT_NE(topo_test::read_text(run + "/TR01CATD.log")
                  .find("ERROR: line record id " + std::to_string(bad) + " in "),
              std::string::npos);
    EXPECT_NE(topo_test::read_text(run + "/TR01CATD.log").find("ERROR: module LE01 ("), std::string::npos);
    EXPECT_EQ(topo_test::read_shapefile(run + "/NO01").records.size(), 2u);
  }
}

}  // namespace
