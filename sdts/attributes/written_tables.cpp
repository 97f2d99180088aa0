#include "sdts/attributes/written_tables.h"

#include <filesystem>

#include "platform/paths.h"
#include "sdts/run/run_state.h"

namespace corvane::sdts {

void SDTS_Remember_Attribute_Table(const std::string& module_name, const std::string& path) {
  const std::string run_dir = corvane::paths::directory_part(path);
  if (run_dir != g_written_tables.run_dir) g_written_tables = {run_dir, {}};
  g_written_tables.by_module[module_name] = path;
}

std::string SDTS_Find_Attribute_Table(const std::string& run_dir, const std::string& prefix,
                                      const std::string& module_name) {
  const std::string expected =
      corvane::paths::join(run_dir, corvane::paths::name_part(prefix + module_name + ".dbf"));
  const std::string found = corvane::paths::resolve_case_insensitive(expected);
  std::error_code error;
  if (std::filesystem::is_regular_file(found, error)) return found;
  const auto written = g_written_tables.by_module.find(module_name);
  if (written != g_written_tables.by_module.end() &&
      std::filesystem::equivalent(corvane::paths::directory_part(written->second), run_dir, error))
    return written->second;
  return expected;
}

}  // namespace corvane::sdts
