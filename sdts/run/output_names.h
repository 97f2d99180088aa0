// Names of the files a conversion writes into its run directory.
#pragma once

#include <string>

namespace corvane::sdts {

// The run directory joined with the last part of `name` (split at '/' and '\', so no name
// can place a file outside the run directory), with its first "(" and last ")" turned into
// "_": "HYPSOGRAPHY(LE01).shp" becomes "<run dir>/HYPSOGRAPHY_LE01_.shp".
std::string SDTS_Get_Output_File_Name(const std::string& name);

// The name a line or node/point module is written under: its CATS theme (trailing blanks
// removed) followed by "(" module ")", or the module name alone when the catalog/spatial
// domain gives it no theme, a blank one, or "*".
std::string SDTS_Get_Module_Theme_Name(const std::string& module_name);

}  // namespace corvane::sdts
