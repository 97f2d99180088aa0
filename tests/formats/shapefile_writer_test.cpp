#include "formats/shapefile_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "formats/c_file.h"
#include "formats/shapefile_pair.h"
#include "platform/byte_order.h"
#include "platform/fatal_error.h"
#include "tests/support/sandbox.h"

using namespace corvane::formats;
using corvane::FatalError;
using corvane::bytes::get_be32s;
using corvane::bytes::get_le32s;
using corvane::bytes::get_le_double;
using corvane::test::file_bytes;

namespace {

SHPArc two_point_line(double x0, double y0, double x1, double y1) {
  SHPArc arc;
  arc.x_min = x0, arc.y_min = y0, arc.x_max = x1, arc.y_max = y1;
  arc.parts = {0};
  arc.points = {{x0, y0}, {x1, y1}};
  return arc;
}

class ShapefileWriting : public corvane::test::Sandbox {
 protected:
  // Opens `stem`.shp and .shx and writes their placeholder headers.
  void begin(ShapefilePair& pair, const std::string& stem, std::int32_t type) {
    ASSERT_TRUE(pair.open_shp(path(stem + ".shp")));
    ASSERT_TRUE(pair.open_shx(path(stem + ".shx")));
    pair.begin(type);
  }

  void write_pair(std::int32_t type, const std::vector<SHPArc>& shapes,
                  const std::string& stem = "t") {
    ShapefilePair pair;
    begin(pair, stem, type);
    for (const SHPArc& arc : shapes) pair.add_arc(arc);
    pair.finish();
  }

  std::vector<std::uint8_t> shp(const std::string& stem = "t") const {
    return file_bytes(path(stem + ".shp"));
  }
  std::vector<std::uint8_t> shx(const std::string& stem = "t") const {
    return file_bytes(path(stem + ".shx"));
  }
};

void expect_header_box(const std::vector<std::uint8_t>& b, const BoundingBox& box,
                       const std::string& what) {
  ASSERT_GE(b.size(), 100u) << what;
  EXPECT_EQ(get_le_double(&b[36]), box.x_min) << what;
  EXPECT_EQ(get_le_double(&b[44]), box.y_min) << what;
  EXPECT_EQ(get_le_double(&b[52]), box.x_max) << what;
  EXPECT_EQ(get_le_double(&b[60]), box.y_max) << what;
}

TEST_F(ShapefileWriting, EmptyPairIsTwoHeadersWithTheUntouchedBox) {
  write_pair(SHP_POLYLINE, {two_point_line(0, 0, 1, 1)});  // a pair written before must not count
  write_pair(SHP_POLYLINE, {});
  for (const auto& b : {shp(), shx()}) {
    ASSERT_EQ(b.size(), 100u);
    EXPECT_EQ(get_be32s(&b[0]), 9994);
    for (int i = 4; i < 24; ++i) EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(get_be32s(&b[24]), 50);
    EXPECT_EQ(get_le32s(&b[28]), 1000);
    EXPECT_EQ(get_le32s(&b[32]), 3);
    expect_header_box(b, BoundingBox{}, "empty");
    for (int i = 68; i < 100; ++i) EXPECT_EQ(b[i], 0) << i;
  }
}

// Nothing is shared between pairs: two written side by side, record for record, come out as
// each written alone, and a caller's box replaces the records' box.
TEST_F(ShapefileWriting, PairsWrittenSideBySideMatchPairsWrittenAlone) {
  const std::vector<SHPPoint> points = {
      {SHP_POINT, 7, 8}, {SHP_POINT, -1, 3.5}, {SHP_POINT, 2, -9}};
  SHPArc ring = two_point_line(0, 0, 4, 4);
  ring.shape_type = SHP_POLYGON;
  ring.points = {{0, 0}, {0, 4}, {4, 4}, {0, 0}};
  SHPArc big = ring;
  for (SHPVertex& v : big.points) v.x *= 1000, v.y *= 1000;
  big.x_max = big.y_max = 4000;
  const std::vector<SHPArc> polygons = {big, ring, big};
  const BoundingBox callers_box{-100, -200, 300, 400};

  {
    ShapefilePair alone_points;
    begin(alone_points, "points", SHP_POINT);
    for (const SHPPoint& p : points) alone_points.add_point(p);
    alone_points.finish(callers_box);
  }
  write_pair(SHP_POLYGON, polygons, "polygons");

  ShapefilePair side_points, side_polygons;
  begin(side_points, "side_points", SHP_POINT);
  begin(side_polygons, "side_polygons", SHP_POLYGON);
  for (std::size_t i = 0; i < points.size(); ++i) {
    side_polygons.add_arc(polygons[i]);
    side_points.add_point(points[i]);
  }
  EXPECT_EQ(side_points.records(), 3);
  side_polygons.finish();
  side_points.finish(callers_box);

  EXPECT_EQ(shp("side_points"), shp("points"));
  EXPECT_EQ(shx("side_points"), shx("points"));
  EXPECT_EQ(shp("side_polygons"), shp("polygons"));
  EXPECT_EQ(shx("side_polygons"), shx("polygons"));
  ASSERT_EQ(shp("points").size(), 100u + 3u * 28u);
  EXPECT_EQ(get_be32s(&shx("points")[108]), 64);  // the second point: 50 + 4 + 10 words on
  EXPECT_EQ(get_be32s(&shx("points")[112]), 10);
  expect_header_box(shp("points"), callers_box, "caller's box");
  expect_header_box(shp("polygons"), BoundingBox{0, 0, 4000, 4000}, "records' box");
}

// Records are composed in one reused image; each record written must still be exactly its
// own image, whether it follows a larger record or one too large for the image to be kept.
TEST_F(ShapefileWriting, WrittenRecordsAreTheirImagesWhateverCameBefore) {
  SHPArc huge;
  huge.parts = {0, 40000};
  for (int i = 0; i < 80000; ++i) huge.points.push_back({i * 0.5, -i * 0.25});
  huge.x_max = 1, huge.y_max = 2;
  SHPArc medium = two_point_line(7, 8, 9, 10);
  for (int i = 0; i < 300; ++i) medium.points.push_back({i + 0.125, i - 0.125});
  const std::vector<SHPArc> shapes = {medium, huge, two_point_line(1, 2, 3, 4), medium,
                                      two_point_line(5, 6, 7, 8)};
  for (const std::int32_t type : {SHP_POLYLINE, SHP_POLYGON}) {
    std::vector<SHPArc> typed = shapes;
    for (SHPArc& arc : typed) arc.shape_type = type;
    write_pair(type, typed);
    const auto shp = this->shp();
    std::size_t at = 100;
    for (const SHPArc& arc : typed) {
      const SHPImage image = type == SHP_POLYGON ? SHP_Prepare_Poly(arc) : SHP_Prepare_Arc(arc);
      ASSERT_LE(at + 8 + image.size(), shp.size());
      EXPECT_EQ(get_be32s(&shp[at + 4]) * 2, static_cast<std::int32_t>(image.size()));
      EXPECT_TRUE(std::equal(image.begin(), image.end(), shp.begin() + static_cast<long>(at + 8)));
      at += 8 + image.size();
    }
    EXPECT_EQ(at, shp.size());
  }
}

TEST_F(ShapefileWriting, UnknownShapeTypeIsReportedAndRefused) {
  EXPECT_EQ(SHP_Record_Size(7, SHPArc{}), -1);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0], "Unknown shapeType = 7\n");
  EXPECT_EQ(SHP_Record_Size(SHP_POINT, SHPPoint{}), 20);
  EXPECT_EQ(SHP_Record_Size(SHP_POLYGON, two_point_line(0, 0, 1, 1)), 80);
}

// A stream that cannot be written (opened for reading), cannot seek (a pipe) or a full disk
// must end the conversion with the message, and leave the process running; a short index
// entry is reported and refused.
TEST_F(ShapefileWriting, WriteFailuresEndTheConversionNotTheProcess) {
  { CFile f = open_c_file(path("ro.shp"), "wb"); }
  const CFile read_only = open_c_file(path("ro.shp"), "rb");
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const CFile pipe_end(fdopen(fds[1], "wb"));
  const CFile full = open_c_file("/dev/full", "wb");
  SHPWriter writer;
  const auto write_header = [&](std::FILE* f) {
    SHPHeader header = SHP_New_Header(writer, SHP_POINT);
    return SHP_Write_Header(f, header);
  };

  struct Case {
    const char* what;
    std::FILE* stream;
    std::function<int(std::FILE*)> write;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"header", read_only.get(), write_header, "Error: numWritten = 0\n"},
      {"record header", read_only.get(),
       [&](std::FILE* f) {
         SHPRecordHeader rec{1, 20};
         return SHP_Write_Record_Header(writer, f, rec);
       },
       "Error: numWritten in record header is = 0\n"},
      {"point", read_only.get(),
       [&](std::FILE* f) { return SHP_Write_Point(writer, f, SHPPoint{}); },
       "Error: numWritten in record header is = 0\n"},
      {"arc", read_only.get(),
       [&](std::FILE* f) { return SHP_Write_Arc(writer, f, two_point_line(0, 0, 1, 1)); },
       "Error: numWritten in record header is = 0\n"},
      {"header on a pipe", pipe_end.get(), write_header,
       "ERROR: rtnCode = -1 (SHP_Write_Header)\n"},
      {"header on a full disk", full.get(), write_header, "Error: numWritten = 0\n"},
  };
  for (const Case& c : cases) {
    if (c.stream == nullptr) continue;  // /dev/full is not available everywhere
    messages_.messages.clear();
    EXPECT_THROW(c.write(c.stream), FatalError) << c.what;
    EXPECT_EQ(messages_.messages, (std::vector<std::string>{c.message})) << c.what;
  }
  close(fds[0]);

  messages_.messages.clear();
  SHPIndexEntry entry{100, 20};
  const std::int32_t before = writer.shx_offset;
  EXPECT_EQ(SHP_Write_Index(writer, read_only.get(), entry), -1);
  EXPECT_EQ(writer.shx_offset, before);
  EXPECT_EQ(messages_.messages,
            (std::vector<std::string>{"Error: numWritten in shp index is = 0\n"}));
}

}  // namespace
