// Writes a small point, line and polygon shapefile with their tables, and a table through
// DBaseFile, into the directory given, for gdal_crosscheck.py to read back with GDAL.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "format_test_files.h"
#include "formats/dbase_file.h"
#include "formats/dbf_writer.h"
#include "formats/shapefile_writer.h"

using namespace corvane::formats;
using corvane::test::open_stream;
using corvane::test::Stream;

namespace {

struct Box {
  double x_min = 1e99, y_min = 1e99, x_max = -1e99, y_max = -1e99;
  void widen(double x, double y) {
    x_min = std::min(x_min, x), x_max = std::max(x_max, x);
    y_min = std::min(y_min, y), y_max = std::max(y_max, y);
  }
};

Box box_of(const SHPPoint& p) { return {p.x, p.y, p.x, p.y}; }
Box box_of(const SHPArc& arc) { return {arc.x_min, arc.y_min, arc.x_max, arc.y_max}; }

void write_shape(std::FILE* shp, const SHPPoint& point) { SHP_Write_Point(shp, point); }
void write_shape(std::FILE* shp, const SHPArc& arc) {
  arc.shape_type == SHP_POLYGON ? SHP_Write_Poly(shp, arc) : SHP_Write_Arc(shp, arc);
}

// One shapefile pair in the calling order the converters use.
template <typename Shape>
void write_pair(const std::string& stem, std::int32_t type, const std::vector<Shape>& shapes) {
  Stream shp = open_stream(stem + ".shp", "wb");
  Stream shx = open_stream(stem + ".shx", "wb");
  SHPHeader header = SHP_New_Header(type);
  SHP_Write_Header(shp.get(), header);
  SHP_Write_Header(shx.get(), header);
  SHP_Shp_Offset = 100;
  std::int32_t next = 100;
  Box file_box;
  std::int32_t number = 1;
  for (const Shape& shape : shapes) {
    SHPRecordHeader rec{number++, SHP_Record_Size(type, shape)};
    SHP_Write_Record_Header(shp.get(), rec);
    write_shape(shp.get(), shape);
    SHPIndexEntry entry{next, SHP_Record_Bytes};
    SHP_Write_Index(shx.get(), entry);
    next = SHP_Shp_Offset;
    const Box box = box_of(shape);
    file_box.widen(box.x_min, box.y_min);
    file_box.widen(box.x_max, box.y_max);
  }
  header.x_min = file_box.x_min, header.y_min = file_box.y_min;
  header.x_max = file_box.x_max, header.y_max = file_box.y_max;
  header.file_length = SHP_Shp_Offset;
  SHP_Write_Header(shp.get(), header);
  header.file_length = SHP_Shx_Offset;
  SHP_Write_Header(shx.get(), header);
}

SHPArc make_arc(std::int32_t type, std::vector<std::int32_t> parts, std::vector<SHPVertex> points) {
  SHPArc arc;
  arc.shape_type = type;
  arc.parts = std::move(parts);
  arc.points = std::move(points);
  Box box;
  for (const SHPVertex& v : arc.points) box.widen(v.x, v.y);
  arc.x_min = box.x_min, arc.y_min = box.y_min, arc.x_max = box.x_max, arc.y_max = box.y_max;
  return arc;
}

// A table written with the plain routines, one row text per record.
void write_table(const std::string& path, const DBFFieldDef* fields,
                 const std::vector<std::string>& rows) {
  Stream dbf = open_stream(path, "wb");
  DBF_Write_Header(dbf.get(), 0, fields);
  DBF_Write_Field_Headers(dbf.get(), fields);
  for (const std::string& row : rows) std::fwrite(row.data(), 1, row.size(), dbf.get());
  DBF_Write_End_Mark(dbf.get());
  std::rewind(dbf.get());
  DBF_Write_Header(dbf.get(), static_cast<std::uint32_t>(rows.size()), fields);
}

std::string row(const char* format, long id, const char* text = "") {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, id, text);
  return buffer;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: format_samples OUTPUT_DIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";

  write_pair(dir + "nodes", SHP_POINT,
             std::vector<SHPPoint>{{SHP_POINT, 500000.5, 4200000.25},
                                   {SHP_POINT, 500100.0, 4200050.0},
                                   {SHP_POINT, 499900.0, 4199990.5}});
  static const DBFFieldDef node_fields[] = {{"NO01_ID", 'N', 8, 0}, {nullptr, 0, 0, 0}};
  write_table(dir + "nodes.dbf", node_fields,
              {row(" %-8ld", 1), row(" %-8ld", 2), row(" %-8ld", 3)});

  write_pair(dir + "lines", SHP_POLYLINE,
             std::vector<SHPArc>{
                 make_arc(SHP_POLYLINE, {0}, {{0, 0}, {10, 5}}),
                 make_arc(SHP_POLYLINE, {0, 2}, {{1, 1}, {2, 2}, {20, -3}, {21, -4}, {22, -3}})});
  static const DBFFieldDef line_fields[] = {
      {"LE01_ID", 'N', 10, 0}, {"DESCRIPTION", 'C', 12, 0}, {nullptr, 0, 0, 0}};
  write_table(dir + "lines.dbf", line_fields,
              {row(" %10ld%-12s", 1, "Stream"), row(" %10ld%-12s", 2, "Canal ditch")});

  // Outer ring clockwise, hole counter-clockwise, as the format wants.
  write_pair(dir + "polygons", SHP_POLYGON,
             std::vector<SHPArc>{make_arc(SHP_POLYGON, {0, 5},
                                          {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0},
                                           {2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}})});
  static const DBFFieldDef poly_fields[] = {{"PC01_id", 'N', 8, 0}, {nullptr, 0, 0, 0}};
  write_table(dir + "polygons.dbf", poly_fields, {row(" %-8ld", 7)});

  DBaseFile joined;
  joined.set_file_name(dir + "joined.dbf");
  if (joined.open_for_write() != 0) return 1;
  joined.add_field("NO01_id", 'N', 10, 0);
  joined.add_field("ATTRIBUTE_LABEL", 'C', 16, 0);
  joined.add_field("ELEVATION", 'N', 8, 2);
  if (joined.write_db_header() != 0) return 1;
  for (const char* text : {"         1Spot height        12.50", "         2Benchmark       -3.25"}) {
    joined.set_record(std::string(" ") + text);
    joined.write_record();
  }
  return joined.close();
}
