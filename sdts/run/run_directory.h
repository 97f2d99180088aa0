// Where a conversion writes: the run directory under the caller's output directory, and
// the run files in it.
#pragma once

#include <string>

namespace corvane::sdts {

struct RunLayout {
  std::string base;      // catalog file name without its last extension ("1234CATD")
  std::string run_name;  // the run directory's own name: [folder] + base + "shp"
  std::string run_dir;   // output parent directory joined with run_name
  std::string doc_path, log_path, trace_path;
};

// The folder holding the catalog is part of the run directory's name, except when it is
// the front end's "unzipped" unpack directory (any letter case) or the catalog lies in
// a root: /data/HYDRO/1234CATD.DDF under /out gives /out/HYDRO1234CATDshp.
RunLayout SDTS_Run_Layout(const std::string& catalog_path, const std::string& output_parent);

}  // namespace corvane::sdts
