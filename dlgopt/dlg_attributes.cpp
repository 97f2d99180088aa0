#include "dlgopt/dlg_attributes.h"

#include <array>
#include <cstdio>
#include <string>

#include "dlgopt/code_description.h"
#include "dlgopt/dbf_row.h"
#include "dlgopt/row_table.h"

namespace corvane::dlgopt {

using formats::DBFFieldDef;

namespace {

// Every attribute table has these columns after its key.
constexpr std::array<DBFFieldDef, 6> attribute_fields(const char* key) {
  return {{{key, 'N', 8, 0},
           {"CODE", 'C', 9, 0},
           {"DEF", 'C', 91, 0},
           {"CVALUE", 'C', 4, 0},
           {"IVALUE", 'N', 4, 0},
           {nullptr, 0, 0, 0}}};
}

constexpr auto kNodeAttributeFields = attribute_fields("NODE_ID");
constexpr auto kLineAttributeFields = attribute_fields("LINK_ID");
constexpr auto kAreaAttributeFields = attribute_fields("POLY_ID");

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

// One row per pair of every element, keyed by the element's id.
template <typename Element>
void write_code_table(const char* suffix, const DBFFieldDef* fields,
                      std::span<const Element> elements, const char* none, const char* wrote) {
  RowTable table(suffix, fields);
  if (!table.open()) return;
  for (const Element& element : elements) {
    for (const DlgCodePair& pair : element.codes) add_pair(table, element.id, pair);
  }
  table.finish(none, wrote);
}

}  // namespace

void WriteNodeAttributes(std::span<const DlgNode> nodes) {
  write_code_table("nodeatts.dbf", kNodeAttributeFields.data(), nodes,
                   "No node attributes were generated\n", "Wrote %d node attribute records\n");
}

void WriteLineAttributes(std::span<const DlgLine> lines) {
  RowTable line_table("lineatts.dbf", kLineAttributeFields.data());
  if (!line_table.open()) return;
  RowTable degenerate_table("dglnatts.dbf", kNodeAttributeFields.data());
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
  write_code_table("areaatts.dbf", kAreaAttributeFields.data(), areas,
                   "No area attributes were generated\n", "Wrote %d area attribute records\n");
}

}  // namespace corvane::dlgopt
