#include "formats/shapefile_writer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

#include "format_test_files.h"
#include "platform/byte_order.h"
#include "platform/fatal_error.h"

using namespace corvane::formats;
using corvane::FatalError;
using corvane::bytes::get_be32s;
using corvane::bytes::get_le32s;
using corvane::bytes::get_le_double;
using corvane::test::file_bytes;
using corvane::test::open_stream;

namespace {

class ShapefileWriter : public corvane::test::FormatTest {
 protected:
  // Writes a pair the way every converter does; returns the record offsets used.
  void write_pair(std::int32_t type, const std::vector<SHPArc>& shapes) {
    auto shp = open_stream(path("t.shp"), "wb");
    auto shx = open_stream(path("t.shx"), "wb");
    SHPHeader header = SHP_New_Header(type);
    SHP_Write_Header(shp.get(), header);
    SHP_Write_Header(shx.get(), header);
    SHP_Shp_Offset = 100;
    std::int32_t next = 100;
    header.x_min = header.y_min = 1e99;
    header.x_max = header.y_max = -1e99;
    std::int32_t number = 1;
    for (const SHPArc& arc : shapes) {
      SHPRecordHeader rec{number++, SHP_Record_Size(type, arc)};
      SHP_Write_Record_Header(shp.get(), rec);
      type == SHP_POLYGON ? SHP_Write_Poly(shp.get(), arc) : SHP_Write_Arc(shp.get(), arc);
      SHPIndexEntry entry{next, SHP_Record_Bytes};
      SHP_Write_Index(shx.get(), entry);
      next = SHP_Shp_Offset;
    }
    header.file_length = SHP_Shp_Offset;
    SHP_Write_Header(shp.get(), header);
    header.file_length = SHP_Shx_Offset;
    SHP_Write_Header(shx.get(), header);
  }

  static SHPArc two_point_line(double x0, double y0, double x1, double y1) {
    SHPArc arc;
    arc.x_min = x0, arc.y_min = y0, arc.x_max = x1, arc.y_max = y1;
    arc.parts = {0};
    arc.points = {{x0, y0}, {x1, y1}};
    return arc;
  }
};

TEST_F(ShapefileWriter, EmptyPairIsTwoHeadersWithTheUntouchedBox) {
  write_pair(SHP_POLYLINE, {two_point_line(0, 0, 1, 1)});  // leaves the counters past 100
  write_pair(SHP_POLYLINE, {});
  for (const char* name : {"t.shp", "t.shx"}) {
    const auto b = file_bytes(path(name));
    ASSERT_EQ(b.size(), 100u) << name;
    EXPECT_EQ(get_be32s(&b[0]), 9994);
    for (int i = 4; i < 24; ++i) EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(get_be32s(&b[24]), 50);
    EXPECT_EQ(get_le32s(&b[28]), 1000);
    EXPECT_EQ(get_le32s(&b[32]), 3);
    EXPECT_EQ(get_le_double(&b[36]), 1e99);
    EXPECT_EQ(get_le_double(&b[44]), 1e99);
    EXPECT_EQ(get_le_double(&b[52]), -1e99);
    EXPECT_EQ(get_le_double(&b[60]), -1e99);
    for (int i = 68; i < 100; ++i) EXPECT_EQ(b[i], 0) << i;
  }
}

TEST_F(ShapefileWriter, TwoPointPolyLineAndIndexOffsets) {
  SHPArc three = two_point_line(1, 2, 3, 4);
  three.points.push_back({5, 6});
  write_pair(SHP_POLYLINE, {two_point_line(1.5, -2.5, 10.25, 20.75), three});
  const auto shp = file_bytes(path("t.shp"));
  const auto shx = file_bytes(path("t.shx"));
  // 100 + (8 + 80) + (8 + 96)
  ASSERT_EQ(shp.size(), 292u);
  ASSERT_EQ(shx.size(), 116u);
  EXPECT_EQ(get_be32s(&shp[24]), 146);
  EXPECT_EQ(get_be32s(&shx[24]), 58);
  EXPECT_EQ(get_be32s(&shp[100]), 1);
  EXPECT_EQ(get_be32s(&shp[104]), 40);
  const std::uint8_t* c = &shp[108];
  EXPECT_EQ(get_le32s(c), 3);
  EXPECT_EQ(get_le_double(c + 4), 1.5);
  EXPECT_EQ(get_le_double(c + 12), -2.5);
  EXPECT_EQ(get_le_double(c + 20), 10.25);
  EXPECT_EQ(get_le_double(c + 28), 20.75);
  EXPECT_EQ(get_le32s(c + 36), 1);
  EXPECT_EQ(get_le32s(c + 40), 2);
  EXPECT_EQ(get_le32s(c + 44), 0);
  EXPECT_EQ(get_le_double(c + 48), 1.5);
  EXPECT_EQ(get_le_double(c + 56), -2.5);
  EXPECT_EQ(get_le_double(c + 64), 10.25);
  EXPECT_EQ(get_le_double(c + 72), 20.75);
  EXPECT_EQ(get_be32s(&shp[188]), 2);
  EXPECT_EQ(get_be32s(&shp[192]), 48);
  // Index: first at 50 words; the next 4 + 40 words later.
  EXPECT_EQ(get_be32s(&shx[100]), 50);
  EXPECT_EQ(get_be32s(&shx[104]), 40);
  EXPECT_EQ(get_be32s(&shx[108]), 94);
  EXPECT_EQ(get_be32s(&shx[112]), 48);
}

TEST_F(ShapefileWriter, PointAndPolygonImages) {
  SHPPoint point{SHP_POINT, 500000.5, 4200000.25};
  const SHPImage p = SHP_Prepare_Point(point);
  ASSERT_EQ(p.size(), 20u);
  EXPECT_EQ(SHP_Record_Bytes, 20);
  EXPECT_EQ(get_le32s(&p[0]), 1);
  EXPECT_EQ(get_le_double(&p[4]), 500000.5);
  EXPECT_EQ(get_le_double(&p[12]), 4200000.25);

  SHPArc ring = two_point_line(0, 0, 1, 1);
  ring.shape_type = SHP_POLYGON;
  ring.parts = {0, 1};
  const SHPImage poly = SHP_Prepare_Poly(ring);
  ASSERT_EQ(poly.size(), 44u + 8u + 32u);
  EXPECT_EQ(SHP_Record_Bytes, 84);
  EXPECT_EQ(get_le32s(&poly[0]), 5);
  EXPECT_EQ(get_le32s(&poly[48]), 1);
  EXPECT_EQ(get_le_double(&poly[52 + 16]), 1.0);
}

// Records are composed in one reused image; each record written must still be exactly its
// own image, whether it follows a larger record or one too large for the image to be kept.
TEST_F(ShapefileWriter, WrittenRecordsAreTheirImagesWhateverCameBefore) {
  SHPArc huge;
  huge.parts = {0, 40000};
  for (int i = 0; i < 80000; ++i) huge.points.push_back({i * 0.5, -i * 0.25});
  huge.x_max = 1, huge.y_max = 2;
  SHPArc medium = two_point_line(7, 8, 9, 10);
  for (int i = 0; i < 300; ++i) medium.points.push_back({i + 0.125, i - 0.125});
  const std::vector<SHPArc> shapes = {medium, huge, two_point_line(1, 2, 3, 4), medium, two_point_line(5, 6, 7, 8)};
  for (const std::int32_t type : {SHP_POLYLINE, SHP_POLYGON}) {
    std::vector<SHPArc> typed = shapes;
    for (SHPArc& arc : typed) arc.shape_type = type;
    write_pair(type, typed);
    const auto shp = file_bytes(path("t.shp"));
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

TEST_F(ShapefileWriter, PreparingHalvesTheCallersByteCounts) {
  SHPHeader header = SHP_New_Header(SHP_POINT);
  header.file_length = 228;
  SHP_Prepare_Header(header);
  EXPECT_EQ(header.file_length, 114);
  SHPIndexEntry entry{100, 20};
  SHP_Prepare_Index(entry);
  EXPECT_EQ(entry.offset, 50);
  EXPECT_EQ(entry.content_length, 10);
}

TEST_F(ShapefileWriter, UnknownShapeTypeIsReportedAndRefused) {
  EXPECT_EQ(SHP_Record_Size(7, SHPArc{}), -1);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0], "Unknown shapeType = 7\n");
  EXPECT_EQ(SHP_Record_Size(SHP_POINT, SHPPoint{}), 20);
  EXPECT_EQ(SHP_Record_Size(SHP_POLYGON, two_point_line(0, 0, 1, 1)), 80);
}

// A stream that cannot be written (opened for reading) or a full disk must end the
// conversion with the message, and leave the process running.
TEST_F(ShapefileWriter, WriteFailuresEndTheConversionNotTheProcess) {
  { auto f = open_stream(path("ro.shp"), "wb"); }
  auto read_only = open_stream(path("ro.shp"), "rb");
  SHPHeader header = SHP_New_Header(SHP_POINT);
  EXPECT_THROW(SHP_Write_Header(read_only.get(), header), FatalError);
  SHPRecordHeader rec{1, 20};
  EXPECT_THROW(SHP_Write_Record_Header(read_only.get(), rec), FatalError);
  EXPECT_THROW(SHP_Write_Point(read_only.get(), SHPPoint{}), FatalError);
  EXPECT_THROW(SHP_Write_Arc(read_only.get(), two_point_line(0, 0, 1, 1)), FatalError);
  SHPIndexEntry entry{100, 20};
  EXPECT_EQ(SHP_Write_Index(read_only.get(), entry), -1);
  EXPECT_EQ(messages.messages,
            (std::vector<std::string>{"Error: numWritten = 0\n",
                                      "Error: numWritten in record header is = 0\n",
                                      "Error: numWritten in record header is = 0\n",
                                      "Error: numWritten in record header is = 0\n",
                                      "Error: numWritten in shp index is = 0\n"}));

  // A stream that cannot seek (a pipe) cannot have its header put back at byte 0.
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  corvane::test::Stream pipe_end(fdopen(fds[1], "wb"));
  messages.messages.clear();
  EXPECT_THROW(SHP_Write_Header(pipe_end.get(), header), FatalError);
  EXPECT_EQ(messages.messages, (std::vector<std::string>{"ERROR: rtnCode = -1 (SHP_Write_Header)\n"}));
  close(fds[0]);

  auto full = open_stream("/dev/full", "wb");
  if (!full) GTEST_SKIP() << "/dev/full is not available";
  messages.messages.clear();
  header = SHP_New_Header(SHP_POINT);
  EXPECT_THROW(SHP_Write_Header(full.get(), header), FatalError);
  EXPECT_EQ(messages.messages, (std::vector<std::string>{"Error: numWritten = 0\n"}));
}

}  // namespace
