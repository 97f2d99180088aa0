// Writes a small point, line and polygon shapefile with their tables, a table through DBaseFile,
// and projection files (in prj/, each named after the EPSG code GDAL must find in it;
// "custom_albers" has none) into the directory given, for gdal_crosscheck.py:
//   format_samples OUTPUT_DIR
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "formats/bounding_box.h"
#include "formats/c_file.h"
#include "formats/dbase_file.h"
#include "formats/dbf_writer.h"
#include "formats/projection_file.h"
#include "formats/shapefile_pair.h"

using namespace corvane::formats;

namespace {

SHPArc arc(std::int32_t type, std::vector<std::int32_t> parts, std::vector<SHPVertex> points) {
  SHPArc arc;
  arc.shape_type = type;
  arc.parts = std::move(parts);
  arc.points = std::move(points);
  BoundingBox box;
  for (const SHPVertex& v : arc.points) box.widen(v.x, v.y);
  box.copy_to(arc);
  return arc;
}

// A shapefile pair of `shapes` and its table, written with the plain routines, one row per shape.
template <typename Shape>
void write_layer(const std::string& stem, std::int32_t type, const std::vector<Shape>& shapes,
                 const std::vector<DBFFieldDef>& fields, const std::vector<std::string>& rows) {
  ShapefilePair pair;
  if (!pair.open_shp(stem + ".shp") || !pair.open_shx(stem + ".shx"))
    throw std::runtime_error(stem);
  pair.begin(type);
  for (const Shape& shape : shapes) {
    if constexpr (std::is_same_v<Shape, SHPPoint>)
      pair.add_point(shape);
    else
      pair.add_arc(shape);
  }
  pair.finish();
  CFile dbf = open_c_file(stem + ".dbf", "wb");
  DBF_Write_Header(dbf.get(), 0, fields.data());
  DBF_Write_Field_Headers(dbf.get(), fields.data());
  for (const std::string& row : rows) std::fwrite(row.data(), 1, row.size(), dbf.get());
  DBF_Write_End_Mark(dbf.get());
  std::rewind(dbf.get());
  DBF_Write_Header(dbf.get(), static_cast<std::uint32_t>(rows.size()), fields.data());
}

int write_projection_files(const std::string& dir) {
  int failures = 0;
  const auto write = [&](const std::string& name, const ReferenceChoice& choice) {
    const ProjectionFileResult result =
        PRJ_Write_Projection_File(dir + "/" + name + ".shp", choice);
    std::printf("%s\n", result.log_line.c_str());
    failures += !result.written;
  };
  write("26718", SDTS_Coordinate_Reference("UTM", "NAS", "18"));
  write("26918", SDTS_Coordinate_Reference("UTM", "NAX", "18"));
  write("32618", SDTS_Coordinate_Reference("UTM", "WGE", "18"));
  write("4267", SDTS_Coordinate_Reference("GEO", "NAS", ""));
  write("4269", SDTS_Coordinate_Reference("GEO", "NAX", ""));
  write("26986", SDTS_Coordinate_Reference("SPCS", "NAX", "2001"));
  for (const int code : {26786, 5069})
    write(std::to_string(code), {CoordinateReference{code, {}, ""}, {}});
  const AlbersDefinition albers{4269, 30.0, 45.5, 23.0, -96.0, 0.0, 0.0};
  write("custom_albers", {CoordinateReference{0, albers, "NAD83 / test Albers"}, {}});
  return failures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: format_samples OUTPUT_DIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  write_layer(dir + "nodes", SHP_POINT,
              std::vector<SHPPoint>{{SHP_POINT, 500000.5, 4200000.25},
                                    {SHP_POINT, 500100.0, 4200050.0},
                                    {SHP_POINT, 499900.0, 4199990.5}},
              {{"NO01_ID", 'N', 8, 0}, {nullptr, 0, 0, 0}},
              {" 1       ", " 2       ", " 3       "});
  write_layer(dir + "lines", SHP_POLYLINE,
              std::vector<SHPArc>{
                  arc(SHP_POLYLINE, {0}, {{0, 0}, {10, 5}}),
                  arc(SHP_POLYLINE, {0, 2}, {{1, 1}, {2, 2}, {20, -3}, {21, -4}, {22, -3}})},
              {{"LE01_ID", 'N', 10, 0}, {"DESCRIPTION", 'C', 12, 0}, {nullptr, 0, 0, 0}},
              {"          1Stream      ", "          2Canal ditch "});
  // Outer ring clockwise, hole counter-clockwise, as the format wants.
  write_layer(
      dir + "polygons", SHP_POLYGON,
      std::vector<SHPArc>{arc(
          SHP_POLYGON, {0, 5},
          {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}, {2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}})},
      {{"PC01_id", 'N', 8, 0}, {nullptr, 0, 0, 0}}, {" 7       "});

  DBaseFile joined;
  joined.set_file_name(dir + "joined.dbf");
  if (joined.open_for_write() != 0) return 1;
  joined.add_fields(
      {{"NO01_id", 'N', 10, 0}, {"ATTRIBUTE_LABEL", 'C', 16, 0}, {"ELEVATION", 'N', 8, 2}});
  if (joined.write_db_header() != 0) return 1;
  for (const char* text :
       {"          1Spot height        12.50", "          2Benchmark       -3.25"}) {
    joined.set_record(text);
    joined.write_record();
  }
  std::filesystem::create_directory(dir + "prj");
  return joined.close() != 0 || write_projection_files(dir + "prj") != 0;
}
