#include "sdts/run/output_names.h"

#include "platform/paths.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

std::string SDTS_Get_Output_File_Name(const std::string& name) {
  TRACE_BEGIN("SDTS_Get_Output_File_Name");
  std::string file = corvane::paths::name_part(name);
  const auto open = file.find('(');
  if (open != std::string::npos) file[open] = '_';
  const auto close = file.rfind(')');
  if (close != std::string::npos) file[close] = '_';
  std::string path = corvane::paths::join(g_run_dir, file);
  TRACE_PRINT("SDTS_Get_Output_File_Name", path);
  TRACE_EXIT("SDTS_Get_Output_File_Name", 0);
  return path;
}

std::string SDTS_Get_Module_Theme_Name(const std::string& module_name) {
  for (const CatsRecord& record : g_cats_records) {
    if (record.NAME != module_name) continue;
    std::string theme = record.THEM;
    theme.erase(theme.find_last_not_of(' ') + 1);
    // A theme of blanks alone would leave the file named "_LE01_".
    if (theme.empty() || theme == "*") continue;
    return theme + "(" + module_name + ")";
  }
  return module_name;
}

}  // namespace corvane::sdts
