// Line modules ("LE…") to a PolyLine shapefile with a topology table, the lines' attribute
// joins, and the polygon shapefile of the same transfer.
#pragma once

#include <string>

namespace corvane::sdts {

// Converts the line module `file` into "<theme_name>.shp/.shx/.dbf" in the run directory,
// keeps its coordinates in intermediate files of the conversion's work directory and then
// builds the transfer's polygons from them. Returns 0 on success, 1 on failure.
int SDTS_Write_Line_Shape(const char* file, const std::string& theme_name);

}  // namespace corvane::sdts
