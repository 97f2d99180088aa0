#include "sdts/topology/polygon_files.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "formats/bounding_box.h"
#include "formats/c_file.h"
#include "formats/dbf_writer.h"
#include "formats/shapefile_pair.h"
#include "platform/fatal_error.h"
#include "platform/paths.h"
#include "sdts/run/output_names.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"
#include "sdts/topology/line_files.h"
#include "sdts/topology/line_row.h"

namespace corvane::sdts {

using namespace corvane::formats;

namespace {

constexpr const char* kRoutine = "Build_Polygon_Files";

int open_failed(const std::string& path) {
  TRACE_ERROR(kRoutine, "*** Open file failed ***", path);
  TRACE_EXIT(kRoutine, 1);
  return 1;
}

// The most points a Polygon record can hold: its content length is a 32-bit byte count.
std::int64_t most_points(std::size_t rings) {
  return (std::numeric_limits<std::int32_t>::max() - 44 - 4 * static_cast<std::int64_t>(rings)) /
         16;
}

// Assembles the shape record of one polygon, its rings' points fetched line by line from the
// intermediate files. Only this polygon's points are held.
void assemble_polygon(const SDTSPolygon& polygon, LineFilesReader& lines, SHPArc& arc,
                      std::vector<SHPVertex>& points) {
  arc.shape_type = SHP_POLYGON;
  arc.parts.clear();
  arc.points.clear();
  BoundingBox box;
  const std::int64_t limit = most_points(polygon.rings().size());
  for (const PolygonChain& ring : polygon.rings()) {
    arc.parts.push_back(static_cast<std::int32_t>(arc.points.size()));
    for (const std::int32_t entry : ring.entries()) {
      const bool reversed = entry < 0;
      if (!lines.fetch(reversed ? -entry : entry, points)) {
        TRACE_PRINT(kRoutine, "ERROR: read line binary data");
        break;
      }
      // Checked before the points are taken, so a damaged index cannot make the record grow
      // past what a shapefile can describe.
      if (static_cast<std::int64_t>(arc.points.size() + points.size()) > limit) {
        corvane::fatal("ERROR: polygon record too large for a shapefile");
      }
      if (reversed) std::reverse(points.begin(), points.end());
      for (const SHPVertex& p : points) box.widen(p.x, p.y);
      arc.points.insert(arc.points.end(), points.begin(), points.end());
    }
  }
  box.copy_to(arc);
}

}  // namespace

std::string Polygon_Module_Name(const std::string& module_path) {
  const std::string stem = corvane::paths::stem_to_first_dot(module_path);
  return "PC" + stem.substr(stem.size() - std::min<std::size_t>(2, stem.size()));
}

int Build_Polygon_Files(const char* module_path, SDTSPolygons& collection) {
  TRACE_BEGIN(kRoutine);
  TRACE_PRINT(kRoutine, SDTS_Message("Process %s file", module_path));
  collection.make_chains();

  LineFilesReader lines;
  if (const std::string failed = lines.open(Line_Files_Stem(module_path)); !failed.empty()) {
    return open_failed(failed);
  }

  const std::string module_name = Polygon_Module_Name(module_path);
  const std::string output_name = SDTS_Get_Module_Theme_Name(module_name);
  const std::string dbf_path = SDTS_Get_Output_File_Name(output_name + ".dbf");
  CFile dbf = open_c_file(dbf_path, "wb", kBulkStreamBuffer);
  if (!dbf) return open_failed(dbf_path);

  // One column, the polygon id, named after the polygon module: "<module>_id".
  const std::string id_name = module_name + "_id";
  const DBFFieldDef fields[] = {{id_name.c_str(), 'N', 8, 0}, {nullptr, 0, 0, 0}};
  DBF_Write_Header(dbf.get(), 0, fields);
  DBF_Write_Field_Headers(dbf.get(), fields);

  collection.dump();
  std::uint32_t polygon_count = 0;
  g_progress->set_status(SDTS_Message("Build %s Polygon Shape", module_path));
  g_progress->set_range(0, static_cast<int>(collection.size()));
  for (const auto& [id, polygon] : collection.polygons()) {
    g_progress->set_position(static_cast<int>(polygon_count));
    const IdRow row = Id_Row(id);
    std::fwrite(row.data(), 1, row.size(), dbf.get());
    ++polygon_count;
  }
  DBF_Write_End_Mark(dbf.get());
  std::rewind(dbf.get());
  DBF_Write_Header(dbf.get(), polygon_count, fields);
  dbf.reset();
  LOG_LINE(
      SDTS_Message("Wrote %u polygon records to shape %s\n", polygon_count, output_name.c_str()));

  ShapefilePair shapes;
  const std::string shx_path = SDTS_Get_Output_File_Name(output_name + ".shx");
  if (!shapes.open_shx(shx_path)) return open_failed(shx_path);
  const std::string shp_path = SDTS_Get_Output_File_Name(output_name + ".shp");
  WORK_LINE(shp_path);
  if (!shapes.open_shp(shp_path)) return open_failed(shp_path);

  shapes.begin(SHP_POLYGON);
  g_progress->set_status(SDTS_Message("Building %s shape", module_path));
  g_progress->set_range(0, static_cast<int>(collection.size()));
  SHPArc arc;
  std::vector<SHPVertex> points;
  for (const auto& [id, polygon] : collection.polygons()) {
    g_progress->set_position(shapes.records());
    assemble_polygon(polygon, lines, arc, points);
    shapes.add_arc(arc);
  }
  shapes.finish();
  TRACE_EXIT(kRoutine, 0);
  return 0;
}

}  // namespace corvane::sdts
