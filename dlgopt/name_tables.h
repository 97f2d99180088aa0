// Airport and place name tables of 1:2,000,000 files: names read from the names file beside
// the input (its path without the extension, plus ".txt"), joined to the nodes at which the
// lines carrying the airport (197) or place name (207) identifiers start.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "dlgopt/dlg_elements.h"

namespace corvane::dlgopt {

// A feature number and the node it lies at.
struct NumberedNode {
  std::int32_t number = 0;
  std::int32_t node_id = 0;
};

// "air.dbf" from the airport identifiers counted so far; nothing when there were none.
void WriteAirports(std::span<const DlgLine> lines);
// "place.dbf" from the place name identifiers counted so far; nothing when there were none.
void WritePlaces(std::span<const DlgLine> lines);

// The nodes of the first `wanted` pairs with `major` on the lines, sorted by number.
std::vector<NumberedNode> numbered_nodes(std::span<const DlgLine> lines, std::int32_t major,
                                         int wanted);

}  // namespace corvane::dlgopt
