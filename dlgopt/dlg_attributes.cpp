#include "dlgopt/dlg_attributes.h"

#include <cstdio>
#include <string>

#include "dlgopt/code_description.h"
#include "dlgopt/dbf_row.h"
#include "dlgopt/row_table.h"

namespace corvane::dlgopt {

using formats::DBFFieldDef;

namespace {

const DBFFieldDef kNodeAttributeFields[] = {{"NODE_ID", 'N', 8, 0}, {"CODE", 'C', 9, 0},   {"DEF", 'C', 91, 0},
                                            {"CVALUE", 'C', 4, 0},  {"IVALUE", 'N', 4, 0}, {nullptr, 0, 0, 0}};
const DBFFieldDef kLineAttributeFields[] = {{"LINK_ID", 'N', 8, 0}, {"CODE", 'C', 9, 0},   {"DEF", 'C', 91, 0},
                                            {"CVALUE", 'C', 4, 0},  {"IVALUE", 'N', 4, 0}, {nullptr, 0, 0, 0}};
const DBFFieldDef kAreaAttributeFields[] = {{"POLY_ID", 'N', 8, 0}, {"CODE", 'C', 9, 0},   {"DEF", 'C', 91, 0},
                                            {"CVALUE", 'C', 4, 0},  {"IVALUE", 'N', 4, 0}, {nullptr, 0, 0, 0}};

// One row per pair: the element's key, the code, and the pair's description.
void add_pair(RowTable& table, int key, const DlgCodePair& pair) {
  const CodeDescription description = DescribeCode(pair.major, pair.minor);
  char code[32];
  std::snprintf(code, sizeof code, "%04d.%04d", pair.major, pair.minor);
  DbfRow row;
  row.integer(key, 8, DbfRow::kRight)
      .text(code, 9)
      .text(description.def, kDefWidth)
      .text(description.cvalue, kValueWidth)
      .text(description.ivalue, kValueWidth);
  table.add(row);
}

}  // namespace

void WriteNodeAttributes(std::span<const DlgNode> nodes) {
  RowTable table("nodeatts.dbf", kNodeAttributeFields);
  if (!table.open()) return;
  for (const DlgNode& node : nodes) {
    for (const DlgCodePair& pair : node.codes) add_pair(table, node.id, pair);
  }
  table.finish("No node attributes were generated\n", "Wrote %d node attribute records\n");
}

void WriteLineAttributes(std::span<const DlgLine> lines) {
  RowTable line_table("lineatts.dbf", kLineAttributeFields);
  if (!line_table.open()) return;
  RowTable degenerate_table("dglnatts.dbf", kNodeAttributeFields);
  if (!degenerate_table.open()) return;
  for (const DlgLine& line : lines) {
    for (const DlgCodePair& pair : line.codes) {
      if (line.degenerate()) {
        add_pair(degenerate_table, line.start_node, pair);
      } else {
        add_pair(line_table, line.id, pair);
      }
    }
  }
  line_table.finish("No line attributes were generated\n", "Wrote %d line attribute records\n");
  degenerate_table.finish("No degenerate line (node) attributes were generated\n",
                          "Wrote %d degenerate line (node) records\n");
}

void WriteAreaAttributes(std::span<const DlgArea> areas) {
  RowTable table("areaatts.dbf", kAreaAttributeFields);
  if (!table.open()) return;
  for (const DlgArea& area : areas) {
    for (const DlgCodePair& pair : area.codes) add_pair(table, area.id, pair);
  }
  table.finish("No area attributes were generated\n", "Wrote %d area attribute records\n");
}

}  // namespace corvane::dlgopt
