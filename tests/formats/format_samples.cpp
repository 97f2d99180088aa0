// Writes a small point, line and polygon shapefile with their tables, and a table through
// DBaseFile, into the directory given, for gdal_crosscheck.py to read back with GDAL.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/bounding_box.h"
#include "formats/c_file.h"
#include "formats/dbase_file.h"
#include "formats/dbf_writer.h"
#include "formats/shapefile_pair.h"

using namespace corvane::formats;

namespace {

void add(ShapefilePair& pair, const SHPPoint& point) { pair.add_point(point); }
void add(ShapefilePair& pair, const SHPArc& arc) { pair.add_arc(arc); }

template <typename Shape>
void write_pair(const std::string& stem, std::int32_t type, const std::vector<Shape>& shapes) {
  ShapefilePair pair;
  if (!pair.open_shp(stem + ".shp") || !pair.open_shx(stem + ".shx")) {
    std::perror(stem.c_str());
    std::exit(1);
  }
  pair.begin(type);
  for (const Shape& shape : shapes) add(pair, shape);
  pair.finish();
}

SHPArc make_arc(std::int32_t type, std::vector<std::int32_t> parts, std::vector<SHPVertex> points) {
  SHPArc arc;
  arc.shape_type = type;
  arc.parts = std::move(parts);
  arc.points = std::move(points);
  BoundingBox box;
  for (const SHPVertex& v : arc.points) box.widen(v.x, v.y);
  box.copy_to(arc);
  return arc;
}

// A table written with the plain routines, one row text per record.
void write_table(const std::string& path, const DBFFieldDef* fields,
                 const std::vector<std::string>& rows) {
  CFile dbf = open_c_file(path, "wb");
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
