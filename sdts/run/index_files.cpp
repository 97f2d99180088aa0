#include "sdts/run/index_files.h"

#include <cstdio>

#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

void IndexFiles::add_file(const std::string& path) { g_index_files.push_back(path); }

void IndexFiles::delete_files() {
  for (const std::string& path : g_index_files) {
    if (std::remove(path.c_str()) != 0)
      SDTS_Message("ERROR: Can not delete %s", path.c_str());
    else
      SDTS_Message("FILE %s deleted", path.c_str());
    TRACE_PRINT("IndexFiles::delete_files", g_message);
  }
  g_index_files.clear();
}

const std::vector<std::string>& IndexFiles::files() { return g_index_files; }

}  // namespace corvane::sdts
