#include "sdts/driver/sdts_process.h"

#include <functional>
#include <string_view>
#include <utility>

#include "formats/layer_reference.h"
#include "sdts/attributes/write_dbf_file.h"
#include "sdts/modules/catalog.h"
#include "sdts/modules/data_quality.h"
#include "sdts/modules/identification.h"
#include "sdts/modules/spatial_reference.h"
#include "sdts/run/index_files.h"
#include "sdts/run/output_names.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"
#include "sdts/topology/line_shape.h"
#include "sdts/topology/node_shape.h"
#include "sdts/topology/polygon_module.h"

namespace corvane::sdts {

namespace {

// The list a data quality module's records are kept in; none for other modules.
std::vector<DqRecord>* quality_records(const std::string& name) {
  if (name == "DQAA") return &g_dqaa_records;
  if (name == "DQHL") return &g_dqhl_records;
  if (name == "DQLC") return &g_dqlc_records;
  if (name == "DQPA") return &g_dqpa_records;
  return nullptr;
}

// Walk 1: the control modules, each read into the conversion's record lists. A control
// module that cannot be read is traced or shown by its reader and leaves its list empty;
// the transfer is still converted, so this walk never fails.
int read_control_module(const CatdRecord& module) {
  const std::string& name = module.NAME;
  const std::string& file = module.FILE;
  if (name == "CATS") {
    SDTSCatsFile reader(file);
    g_cats_records = reader.return_records();
    g_cats_records.dump();
  } else if (name == "CATX") {
    SDTXFile reader(file);
    g_catx_records = reader.return_records();
  } else if (name == "IDEN") {
    SDTSIdenFile reader(file);
    g_iden_records = reader.return_records();
    reader.write_document();
  } else if (name == "STAT") {
    g_stat.read(file);
  } else if (name == "IREF") {
    SDTS_Get_IREF_Attributes(file);
  } else if (name == "XREF") {
    SDTSXrefFile reader(file);
    g_xref_records = reader.return_records();
    reader.write_document();
    SDTS_Set_Xref_Geographic(g_xref_records);
  } else if (name == "SPDM") {
    SDTSSpdmFile reader(file);
    g_spdm_records = reader.return_records();
    reader.write_document();
  } else if (std::vector<DqRecord>* quality = quality_records(name)) {
    SDTSDqFile reader(file, name);
    *quality = reader.return_records();
    reader.write_document();
  }
  return 0;
}

// Walk 2: attribute modules ("A…", "B…") become dBase tables.
int write_attribute_module(const CatdRecord& module) {
  if (module.NAME.starts_with('A') || module.NAME.starts_with('B'))
    return SDTS_Write_DBF_File(module.FILE.c_str());
  return 0;
}

// Walk 3: line and node/point modules become shapefiles; polygon modules are joined to
// their attributes (their shapes come from the lines that bound them).
int write_spatial_module(const CatdRecord& module) {
  const std::string_view kind = std::string_view(module.NAME).substr(0, 2);
  if (kind == "LE")
    return SDTS_Write_Line_Shape(module.FILE.c_str(), SDTS_Get_Module_Theme_Name(module.NAME));
  if (kind == "NE" || kind == "NP" || kind == "NA" || kind == "NO") {
    SDTSNoFile nodes(module.FILE.c_str());
    return nodes.write_node_shape(SDTS_Get_Module_Theme_Name(module.NAME));
  }
  if (kind == "PC") {
    SDTSPcFile polygons(module.FILE.c_str());
    return polygons.write_dbf_file();
  }
  return 0;
}

// The reference the first XREF record names holds for every shapefile of the transfer.
corvane::formats::ReferenceChoice transfer_reference() {
  if (g_xref_records.empty())
    return {std::nullopt, "the transfer has no external spatial reference"};
  const XrefRecord& xref = g_xref_records.front();
  return corvane::formats::SDTS_Coordinate_Reference(xref.RSNM, xref.HDAT, xref.ZONE);
}

// Hands every module of the catalog to `step`; a module whose step fails is logged and the
// walk goes on. 0 when every step succeeded, else 1.
int walk(ProgressDialog* window, const char* status,
         const std::function<int(const CatdRecord&)>& step) {
  window->set_range(0, static_cast<int>(g_catd_records.size()));
  window->set_status(status);
  window->repaint();
  int result = 0;
  int counter = 0;
  for (const CatdRecord& module : g_catd_records) {
    window->set_position(counter++);
    if (step(module) == 0) continue;
    LOG_LINE(SDTS_Message("ERROR: module %s (%s) was not converted completely\n",
                          module.NAME.c_str(), module.FILE.c_str()));
    result = 1;
  }
  return result;
}

}  // namespace

int SDTS_Process(const std::string& catalog_path, ProgressDialog* window) {
  TRACE_BEGIN("SDTS_Process");
  g_progress = window;
  SDTSCatdFile catalog(catalog_path);
  g_catd_records = catalog.return_catd();
  g_catd_records.dump();
  int result = catalog.read_result();

  walk(window, "Reading Control Files", read_control_module);
  const corvane::formats::ReferenceChoice reference = transfer_reference();
  LOG_LINE(corvane::formats::PRJ_Reference_Line(reference));
  DOC_LINE(corvane::formats::PRJ_Reference_Line(reference));
  const corvane::formats::LayerReferenceScope layer_reference(reference, LOG_LINE);
  result |= walk(window, "Building DBase Files ...", write_attribute_module);
  result |= walk(window, "Building Shapes ...", write_spatial_module);

  window->hide_bar();
  IndexFiles::delete_files();
  TRACE_EXIT("SDTS_Process", result);
  return result;
}

}  // namespace corvane::sdts
