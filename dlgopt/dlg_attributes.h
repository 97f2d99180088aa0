// Attribute tables: one row per attribute code pair of an element, with the pair's
// description. A table that would hold no rows is not left on disk.
#pragma once

#include <span>

#include "dlgopt/dlg_elements.h"

namespace corvane::dlgopt {

// "nodeatts.dbf", keyed by NODE_ID.
void WriteNodeAttributes(std::span<const DlgNode> nodes);
// "lineatts.dbf" keyed by LINK_ID; degenerate lines (point features) go to "dglnatts.dbf",
// keyed by the NODE_ID they sit on.
void WriteLineAttributes(std::span<const DlgLine> lines);
// "areaatts.dbf", keyed by POLY_ID.
void WriteAreaAttributes(std::span<const DlgArea> areas);

}  // namespace corvane::dlgopt
