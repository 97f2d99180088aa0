#include "sdts/topology/polygon_files.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/byte_order.h"
#include "platform/fatal_error.h"
#include "platform/paths.h"
#include "sdts/driver/output_names.h"
#include "sdts/driver/progress_dialog.h"
#include "sdts/driver/run_state.h"
#include "sdts/driver/trace.h"
#include "sdts/topology/bounding_box.h"
#include "sdts/topology/c_file.h"
#include "sdts/topology/line_files.h"
#include "sdts/topology/shape_pair.h"
#include "sdts/topology/staging_file.h"

using namespace corvane::formats;
namespace bytes = corvane::bytes;

namespace {

constexpr const char* kRoutine = "Build_Polygon_Files";

// The field name as the header writes it: at most 10 characters and a terminating zero.
char g_poly_field_name[11] = "POLY_ID";

int open_failed(const std::string& path) {
  TRACE_ERROR(kRoutine, "*** Open file failed ***", path);
  TRACE_EXIT(kRoutine, 1);
  return 1;
}

void put_int(std::vector<std::uint8_t>& out, std::int32_t value) {
  const std::size_t at = out.size();
  out.resize(at + 4);
  bytes::put_le32s(out.data() + at, value);
}

void put_double(std::vector<std::uint8_t>& out, double value) {
  const std::size_t at = out.size();
  out.resize(at + 8);
  bytes::put_le_double(out.data() + at, value);
}

void stage(StagingFile& file, const std::vector<std::uint8_t>& data) {
  if (!file.write(data)) corvane::fatal("ERROR: cannot write " + file.path());
}

// The four staging files, one item per point, ring, or polygon.
struct Staging {
  StagingFile pts{"pts.tmp"}, head{"head.tmp"}, box{"box.tmp"}, parts{"parts.tmp"};
  const StagingFile* first_failed() const {
    for (const StagingFile* f : {&pts, &head, &box, &parts}) {
      if (!f->is_open()) return f;
    }
    return nullptr;
  }
};

// Writes one polygon's rings to the staging files and widens the file box by it.
void stage_polygon(const SDTSPolygon& polygon, LineFilesReader& lines, Staging& staging, BoundingBox& file_box,
                   std::vector<SHPVertex>& points, std::vector<std::uint8_t>& out) {
  BoundingBox box;
  for (const PolygonChain& ring : polygon.rings()) {
    std::int64_t ring_points = 0;
    for (const std::int32_t entry : ring.entries()) {
      const bool reversed = entry < 0;
      if (!lines.fetch(reversed ? -entry : entry, points)) {
        TRACE_PRINT(kRoutine, "ERROR: read line binary data");
        break;
      }
      ring_points += static_cast<std::int64_t>(points.size());
      if (reversed) std::reverse(points.begin(), points.end());
      out.resize(points.size() * 16);
      std::uint8_t* at = out.data();
      for (const SHPVertex& p : points) {
        box.widen(p.x, p.y);
        bytes::put_le_double(at, p.x);
        bytes::put_le_double(at + 8, p.y);
        at += 16;
      }
      stage(staging.pts, out);
      file_box.widen(box);
    }
    if (ring_points > std::numeric_limits<std::int32_t>::max()) {
      corvane::fatal(SDTS_Message("ERROR: polygon %d has too many points", polygon.id()));
    }
    out.clear();
    put_int(out, static_cast<std::int32_t>(ring_points));
    stage(staging.head, out);
  }
  out.clear();
  put_int(out, static_cast<std::int32_t>(polygon.rings().size()));
  stage(staging.parts, out);
  out.clear();
  for (double v : {box.x_min, box.y_min, box.x_max, box.y_max}) put_double(out, v);
  stage(staging.box, out);
}

void read_staged(StagingFile& file, std::vector<std::uint8_t>& in, std::size_t size) {
  if (!file.read(in, size)) corvane::fatal("ERROR: cannot read " + file.path());
}

// Assembles one shape record from the staging files. False when no polygon is left.
bool read_polygon(Staging& staging, SHPArc& arc, std::vector<std::uint8_t>& in) {
  if (!staging.parts.read(in, 4)) return false;
  const std::int32_t rings = bytes::get_le32s(in.data());
  read_staged(staging.head, in, static_cast<std::size_t>(rings) * 4);
  arc.parts.resize(static_cast<std::size_t>(rings));
  std::int64_t total = 0;
  for (std::int32_t k = 0; k < rings; ++k) {
    arc.parts[k] = static_cast<std::int32_t>(total);
    total += bytes::get_le32s(in.data() + 4 * k);
  }
  // The record's content length must fit its 32-bit field.
  if ((std::numeric_limits<std::int32_t>::max() - 44 - 4 * static_cast<std::int64_t>(rings)) / 16 < total) {
    corvane::fatal("ERROR: polygon record too large for a shapefile");
  }
  read_staged(staging.box, in, 32);
  arc.shape_type = SHP_POLYGON;
  arc.x_min = bytes::get_le_double(in.data());
  arc.y_min = bytes::get_le_double(in.data() + 8);
  arc.x_max = bytes::get_le_double(in.data() + 16);
  arc.y_max = bytes::get_le_double(in.data() + 24);
  read_staged(staging.pts, in, static_cast<std::size_t>(total) * 16);
  arc.points.resize(static_cast<std::size_t>(total));
  const std::uint8_t* p = in.data();
  for (SHPVertex& v : arc.points) {
    v.x = bytes::get_le_double(p);
    v.y = bytes::get_le_double(p + 8);
    p += 16;
  }
  return true;
}

}  // namespace

DBFFieldDef g_poly_dbf_fields[] = {{g_poly_field_name, 'N', 8, 0}, {nullptr, 0, 0, 0}};

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
  Staging staging;
  if (const StagingFile* failed = staging.first_failed()) return open_failed(failed->path());

  const std::string module_name = Polygon_Module_Name(module_path);
  const std::string output_name = SDTS_Get_Module_Theme_Name(module_name);
  const std::string dbf_path = SDTS_Get_Output_File_Name(output_name + ".dbf");
  CFile dbf = open_c_file(dbf_path, "wb");
  if (!dbf) return open_failed(dbf_path);

  std::snprintf(g_poly_field_name, sizeof g_poly_field_name, "%s_id", module_name.c_str());
  DBF_Write_Header(dbf.get(), 0, g_poly_dbf_fields);
  DBF_Write_Field_Headers(dbf.get(), g_poly_dbf_fields);

  BoundingBox file_box;
  collection.dump();
  std::vector<SHPVertex> points(1);
  std::vector<std::uint8_t> bytes_out;
  std::uint32_t polygon_count = 0;
  g_progress->set_status(SDTS_Message("Build %s Polygon Shape", module_path));
  g_progress->set_range(0, static_cast<int>(collection.size()));
  char row[32];
  for (const auto& [id, polygon] : collection.polygons()) {
    g_progress->set_position(static_cast<int>(polygon_count));
    std::snprintf(row, sizeof row, " %-8d", id);
    std::fwrite(row, 1, 9, dbf.get());
    ++polygon_count;
    stage_polygon(polygon, lines, staging, file_box, points, bytes_out);
  }
  DBF_Write_End_Mark(dbf.get());
  std::rewind(dbf.get());
  DBF_Write_Header(dbf.get(), polygon_count, g_poly_dbf_fields);
  dbf.reset();
  LOG_LINE(SDTS_Message("Wrote %u polygon records to shape %s\n", polygon_count, output_name.c_str()));

  for (StagingFile* f : {&staging.pts, &staging.head, &staging.box, &staging.parts}) f->rewind();
  ShapePair shapes;
  const std::string shx_path = SDTS_Get_Output_File_Name(output_name + ".shx");
  if (!shapes.open_shx(shx_path)) return open_failed(shx_path);
  const std::string shp_path = SDTS_Get_Output_File_Name(output_name + ".shp");
  if (!shapes.open_shp(shp_path)) return open_failed(shp_path);

  shapes.begin(SHP_POLYGON);
  g_progress->set_status(SDTS_Message("Building %s shape", module_path));
  g_progress->set_range(0, static_cast<int>(collection.size()));
  SHPArc arc;
  std::int32_t written = 0;
  while (read_polygon(staging, arc, bytes_out)) {
    g_progress->set_position(written);
    shapes.write_poly(++written, arc);
  }
  shapes.finish(file_box);
  TRACE_EXIT(kRoutine, 0);
  return 0;
}
