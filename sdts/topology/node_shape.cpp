#include "sdts/topology/node_shape.h"

#include <cstdio>

#include "formats/bounding_box.h"
#include "formats/c_file.h"
#include "formats/dbf_writer.h"
#include "formats/shapefile_pair.h"
#include "sdts/run/output_names.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"
#include "sdts/topology/line_row.h"
#include "sdts/topology/module_part.h"
#include "sdts/topology/object_joins.h"
#include "sdts/topology/subfield_label.h"

namespace corvane::sdts {

using namespace corvane::formats;

namespace {

constexpr const char* kRoutine = "SDTSNoFile::write_node_shape()";

}  // namespace

SDTSNoFile::SDTSNoFile(const char* file) : SDTSFile(file) {}

int SDTSNoFile::write_node_shape(const std::string& theme_name) {
  TRACE_BEGIN(kRoutine);
  const auto failed = [](const std::string& path) {
    TRACE_ERROR(kRoutine, "*** Open file failed ***", path);
    TRACE_EXIT(kRoutine, 1);
    return 1;
  };
  ShapefilePair shapes;
  const std::string shp_path = SDTS_Get_Output_File_Name(theme_name + ".shp");
  WORK_LINE(shp_path);
  if (!shapes.open_shp(shp_path)) return failed(shp_path);
  const std::string shx_path = SDTS_Get_Output_File_Name(theme_name + ".shx");
  if (!shapes.open_shx(shx_path)) return failed(shx_path);
  const std::string dbf_path = SDTS_Get_Output_File_Name(theme_name + ".dbf");
  CFile dbf = open_c_file(dbf_path, "wb", kBulkStreamBuffer);
  if (!dbf) return failed(dbf_path);

  // One column, the point id, named after the module: "<module>_ID".
  const std::string id_name = Module_Part(path()) + "_ID";
  const DBFFieldDef fields[] = {{id_name.c_str(), 'N', 8, 0}, {nullptr, 0, 0, 0}};
  DBF_Write_Header(dbf.get(), 0, fields);
  DBF_Write_Field_Headers(dbf.get(), fields);
  shapes.begin(SHP_POINT);
  BoundingBox box;
  g_progress->set_range(0, static_cast<int>(g_stat.count_records(path())));
  g_progress->set_status(SDTS_Message("Building %s shape", path().c_str()));

  ObjectJoins joins;
  SHPPoint point;
  std::uint32_t count = 0;
  const int result = read_module(
      [&] {
        if (joins.take("PNTS", tag(), label(), value_text().c_str()) || tag() != "SADR") return;
        if (Label_Is(label(), "X")) {
          point.x = SDTS_Ground_X(value_int());
          box.widen_x(point.x);
        } else if (Label_Is(label(), "Y")) {
          point.y = SDTS_Ground_Y(value_int());
          box.widen_y(point.y);
        }
      },
      [&] {
        joins.end_record();
        shapes.add_point(point);
        const IdRow row = Id_Row(joins.object_id());
        std::fwrite(row.data(), 1, row.size(), dbf.get());
        ++count;
      });
  joins.close();
  shapes.finish(box);
  std::rewind(dbf.get());
  DBF_Write_Header(dbf.get(), count, fields);
  TRACE_EXIT(kRoutine, result);
  return result;
}

}  // namespace corvane::sdts
