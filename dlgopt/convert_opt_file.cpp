#include "dlgopt/convert_opt_file.h"

#include <algorithm>
#include <string>

#include "dlgopt/dlg_elements.h"
#include "dlgopt/dlg_header.h"
#include "dlgopt/dlg_sections.h"
#include "dlgopt/dlg_shapes.h"
#include "dlgopt/name_tables.h"
#include "dlgopt/run_state.h"
#include "dlgopt/section_account.h"
#include "formats/layer_reference.h"

namespace corvane::dlgopt {

namespace {

constexpr int kScale2M = 2000000;

bool output_failed() {
  if (g_opt_status != kOptStatusOutputFailed) return false;
  g_opt_log.printf("An error has occured, aborting");
  return true;
}

bool lines_in_order(const std::vector<DlgLine>& lines) {
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].id != static_cast<long>(k) + 1) return false;
  }
  return true;
}

}  // namespace

bool ConvertOptFile(DlgInput& input, OptProgressDialog& dialog) {
  if (!g_opt_work_file.open())
    g_opt_log.printf("WARNING - cannot open work file %s\n",
                     g_opt_work_file.file("dlgopt.tmp").c_str());
  g_opt_status = kOptStatusOk;
  g_opt_airport_count = 0;
  g_opt_place_count = 0;
  g_opt_header = input.header();
  g_opt_scale = g_opt_header.scale;
  ShowDlgHeader(g_opt_header, dialog);

  const DlgCategory& counts = g_opt_header.category_records.back();
  SectionAccount nodes("nodes", "node", counts.nodes);
  SectionAccount areas("areas", "area", counts.areas);
  SectionAccount lines("lines", "line", counts.lines);
  SectionReader sections(input.reader());
  DlgElements elements;
  sections.read_nodes(nodes, elements.nodes);
  g_opt_log.printf("Read %d node records\n", static_cast<int>(elements.nodes.size()));
  // From the first shapefile on, each gets the projection file the header's reference calls for.
  const formats::ReferenceChoice reference =
      formats::DLG_Coordinate_Reference(g_opt_header.records);
  g_opt_log.printf("%s\n", formats::PRJ_Reference_Line(reference).c_str());
  const formats::LayerReferenceScope layer_reference(reference, [](std::string_view line) {
    g_opt_log.printf("%.*s\n", static_cast<int>(line.size()), line.data());
  });
  WriteNodeShapes(elements, dialog);
  if (output_failed()) return false;

  sections.read_areas(areas, elements.areas);
  g_opt_log.printf("Read %d area records\n", static_cast<int>(elements.areas.size()));
  sections.read_lines(lines, elements.lines);
  g_opt_log.printf("Read %d line records\n", static_cast<int>(elements.lines.size()));
  const long leftover = sections.leftover_records();
  WriteLineShapes(elements, dialog);
  if (output_failed()) return false;

  if (!lines_in_order(elements.lines)) {
    std::stable_sort(elements.lines.begin(), elements.lines.end(),
                     [](const DlgLine& a, const DlgLine& b) { return a.id < b.id; });
    elements.lines_sorted = true;
  }
  DropAreasWithMissingLines(elements, areas);
  areas.converted(static_cast<int>(elements.areas.size()));
  WriteAreaShapes(elements, dialog);

  for (const SectionAccount* account : {&nodes, &areas, &lines}) account->report();
  // Layers without a single element the header states are nothing anyone can use.
  if (elements.nodes.empty() && elements.areas.empty() && elements.lines.empty() &&
      nodes.stated() + areas.stated() + lines.stated() > 0) {
    return false;
  }
  if (leftover > 0) {
    report_incomplete("after the line records: " + std::to_string(leftover) +
                      (leftover == 1 ? " record that belongs" : " records that belong") +
                      " to no section " + (leftover == 1 ? "was" : "were") + " not read");
  }
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
