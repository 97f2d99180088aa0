// The three shapefiles of a conversion with their tables: nodes as points, lines as
// polylines, areas as polygons assembled from the lines each area lists.
#pragma once

#include <cstdint>
#include <span>

#include "dlgopt/dlg_elements.h"
#include "dlgopt/opt_progress_dialog.h"
#include "dlgopt/section_account.h"

namespace corvane::dlgopt {

// Each writes "<prefix>nodes|links|areas" .shp, .shx and .dbf, then the section's attribute
// tables. An output that cannot be opened is reported and sets g_opt_status to -1.
void WriteNodeShapes(const DlgElements& elements, OptProgressDialog& dialog);
void WriteLineShapes(const DlgElements& elements, OptProgressDialog& dialog);
// Lines are found by position when they are in order, else by id (elements.lines_sorted).
// Every line the areas list must be there (DropAreasWithMissingLines).
void WriteAreaShapes(const DlgElements& elements, OptProgressDialog& dialog);

// Takes out the areas whose line lists name a line that was not read (their polygons cannot
// be built), each skipped in the account.
void DropAreasWithMissingLines(DlgElements& elements, SectionAccount& account);

// Index of the line with `id` in lines sorted by id, or -1.
long FindLineIndex(std::span<const DlgLine> lines, std::int64_t id);

// Sum of the distances between consecutive points.
double line_length(std::span<const formats::SHPVertex> points);

}  // namespace corvane::dlgopt
