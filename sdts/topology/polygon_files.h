// The polygon shapefile of a line module: rings chained from the polygons' links, their
// points fetched from the line module's intermediate files one polygon at a time.
#pragma once

#include <string>

#include "sdts/topology/polygon_chain.h"

namespace corvane::sdts {

// The polygon module of line module `module_path`: "PC" and the last two characters of the
// module's file name up to its first "." (…/1234LE01.DDF gives PC01).
std::string Polygon_Module_Name(const std::string& module_path);

// Chains `collection` and writes "<theme of the polygon module>.shp/.shx/.dbf" in the run
// directory. Returns 0 on success, 1 when a file cannot be opened. Dangling references
// (a ring through a line that the intermediate files do not hold) are fatal.
int Build_Polygon_Files(const char* module_path, SDTSPolygons& collection);

}  // namespace corvane::sdts
