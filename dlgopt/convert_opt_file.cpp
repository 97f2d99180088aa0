#include "dlgopt/convert_opt_file.h"

#include <algorithm>
#include <string>

#include "dlgopt/dlg_elements.h"
#include "dlgopt/dlg_header.h"
#include "dlgopt/dlg_record_reader.h"
#include "dlgopt/dlg_shapes.h"
#include "dlgopt/name_tables.h"
#include "dlgopt/run_state.h"
#include "formats/c_file.h"
#include "formats/layer_reference.h"

namespace corvane::dlgopt {

namespace {

constexpr int kScale2M = 2000000;
constexpr int kFixedRecordSize = 81;
constexpr int kLineRecordSize = 100;

bool output_failed() {
  if (g_opt_status != kOptStatusOutputFailed) return false;
  g_opt_log.printf("An error has occured, aborting");
  return true;
}

void read_nodes(DlgRecordReader& reader, DlgElements& elements) {
  elements.nodes.reserve(bounded_count(g_opt_node_count, reader, 1));
  for (int n = 0; n < g_opt_node_count; ++n)
    ReadNodeRecord(reader, n, elements.nodes.emplace_back());
  g_opt_log.printf("Read %d node records\n", static_cast<int>(elements.nodes.size()));
}

void read_areas(DlgRecordReader& reader, DlgElements& elements) {
  elements.areas.reserve(bounded_count(g_opt_area_count, reader, 1));
  for (int n = 0; n < g_opt_area_count; ++n)
    ReadAreaRecord(reader, n, elements.areas.emplace_back());
  g_opt_log.printf("Read %d area records\n", static_cast<int>(elements.areas.size()));
}

void read_lines(DlgRecordReader& reader, DlgElements& elements) {
  elements.lines.reserve(bounded_count(g_opt_line_count, reader, 1));
  for (int n = 0; n < g_opt_line_count; ++n) {
    DlgLine& line = elements.lines.emplace_back();
    ReadLineRecord(reader, n, line);
    if (line.id != n + 1) elements.lines_in_order = false;
  }
  g_opt_log.printf("Read %d line records\n", static_cast<int>(elements.lines.size()));
}

}  // namespace

bool ConvertOptFile(OptProgressDialog& dialog) {
  if (!g_opt_work_file.open())
    g_opt_log.printf("WARNING - cannot open work file %s\n",
                     g_opt_work_file.file("dlgopt.tmp").c_str());
  g_opt_status = kOptStatusOk;
  g_opt_airport_count = 0;
  g_opt_place_count = 0;

  const std::string& input_path = dialog.input_file;
  formats::CFile input = formats::open_c_file(input_path, "rb");
  if (!input) {
    g_opt_log.printf("Cannot open input file %s\nQuitting", input_path.c_str());
    return false;
  }
  DlgRecordReader reader(input.get());
  if (!reader.detect_form()) {
    g_opt_log.printf("Cannot read banner from DLG file\nQuitting");
    return false;
  }
  g_opt_line_size = reader.has_line_ends() ? kLineRecordSize : kFixedRecordSize;
  if (!ReadDlgHeader(reader, dialog)) return false;

  DlgElements elements;
  read_nodes(reader, elements);
  // From the first shapefile on, each gets the projection file the header's reference calls for.
  const formats::ReferenceChoice reference =
      formats::DLG_Coordinate_Reference(g_opt_header.records);
  g_opt_log.printf("%s\n", formats::PRJ_Reference_Line(reference).c_str());
  const formats::LayerReferenceScope layer_reference(reference, [](std::string_view line) {
    g_opt_log.printf("%.*s\n", static_cast<int>(line.size()), line.data());
  });
  WriteNodeShapes(elements, dialog);
  if (output_failed()) return false;

  read_areas(reader, elements);
  read_lines(reader, elements);
  WriteLineShapes(elements, dialog);
  if (output_failed()) return false;

  if (!elements.lines_in_order) {
    std::stable_sort(elements.lines.begin(), elements.lines.end(),
                     [](const DlgLine& a, const DlgLine& b) { return a.id < b.id; });
    elements.lines_sorted = true;
  }
  WriteAreaShapes(elements, dialog);

  if (g_opt_scale == kScale2M) {
    if (g_opt_series == "MT") {
      WriteAirports(elements.lines);
      if (output_failed()) return false;
    } else if (g_opt_series == "MS") {
      WritePlaces(elements.lines);
      if (output_failed()) return false;
    }
  }
  g_opt_work_file.close();
  return true;
}

}  // namespace corvane::dlgopt
