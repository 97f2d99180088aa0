// Appends the elevation columns of the hypsography join tables (…AHPR.dbf, else
// …AHPT.dbf) to the tables of the shapefiles whose objects they describe.
#pragma once

#include <string>

namespace corvane::sdts {

// Merges every hypsography join table in `run_dir` into the shape tables of its
// object module. Returns 0 when every table found was merged (or there was nothing
// to merge), 1 when the directory could not be listed or a table was skipped.
int Merge_Hypsography_Tables(const std::string& run_dir);

}  // namespace corvane::sdts
