// Which table each attribute module of the current conversion was written to, so the
// join tables find it even when the catalog's file name and the module files differ in
// letter case or prefix. The tables are g_written_tables of the run state.
#pragma once

#include <string>

namespace corvane::sdts {

// Notes that the module named `module_name` (its "MODN" value) was written to `path`.
// Entries of an earlier run directory are forgotten.
void SDTS_Remember_Attribute_Table(const std::string& module_name, const std::string& path);

// The table of attribute module `module_name` in `run_dir`: "<prefix><module>.dbf" when it
// exists in any letter case, else the table the module was written to in this run
// directory, else "<run_dir>/<prefix><module>.dbf" as it is.
std::string SDTS_Find_Attribute_Table(const std::string& run_dir, const std::string& prefix,
                                      const std::string& module_name);

}  // namespace corvane::sdts
