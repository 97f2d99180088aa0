#include "dlgopt/run_display_opt.h"

#include <cctype>
#include <ctime>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "dlgopt/convert_opt_file.h"
#include "dlgopt/dlg_input.h"
#include "dlgopt/opt_progress_dialog.h"
#include "dlgopt/run_state.h"
#include "platform/fatal_error.h"
#include "platform/message_sink.h"
#include "platform/paths.h"

namespace corvane::dlgopt {

namespace {

// The input's name without its extension, with every "." made "_" (a name with dots would
// otherwise give output names that look like extensions).
std::string base_name(const std::string& input_path) {
  std::string base = paths::stem(input_path);
  for (char& c : base) {
    if (c == '.') c = '_';
  }
  return base;
}

std::string input_stem(const std::string& input_path) {
  const std::string extension = paths::extension(input_path);
  return extension.empty() && paths::name_part(input_path).find('.') == std::string::npos
             ? input_path
             : input_path.substr(0, input_path.size() - extension.size() - 1);
}

std::string series(const std::string& input_path) {
  const std::string stem = paths::stem(input_path);
  std::string last_two = stem.size() < 2 ? stem : stem.substr(stem.size() - 2);
  for (char& c : last_two) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return last_two;
}

void log_start(const std::string& run_dir, bool created) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  g_opt_log.printf("New Process started on %d/%d at %d:%02d\n", local.tm_mon + 1, local.tm_mday,
                   local.tm_hour, local.tm_min);
  g_opt_log.printf(created ? "directory %s created\n" : "directory %s not created\n",
                   run_dir.c_str());
}

int run(const std::string& input_path, const std::string& output_parent) {
  DlgInput input;
  if (const std::string fault = input.open(input_path); !fault.empty()) {
    corvane::show_message("not an SDTS transfer or DLG-3 optional file: " + fault);
    return 1;
  }
  OptProgressDialog dialog(input_path);
  const std::string base = base_name(input_path);
  const std::string run_dir = paths::join(output_parent, base + "shp");
  const std::string log_path = paths::join(run_dir, base + ".log");
  std::error_code ec;
  const bool created = std::filesystem::create_directory(run_dir, ec);
  if (!g_opt_log.open(log_path)) corvane::fatal("Cannot open log file " + log_path);
  log_start(run_dir, created);

  g_opt_out_prefix = paths::join(run_dir, base);
  g_opt_input_stem = input_stem(input_path);
  g_opt_series = series(input_path);
  dialog.create();
  if (!ConvertOptFile(input, dialog) || g_opt_status != kOptStatusOk) return 1;
  return g_opt_incomplete > 0 ? 2 : 0;
}

}  // namespace

int RunDisplayOpt(const char* input_path, const char* output_parent) {
  if (input_path == nullptr || output_parent == nullptr) return 1;
  reset_run_state();
  int result = 1;
  try {
    result = run(input_path, output_parent);
  } catch (const corvane::FatalError&) {
    // Already shown and logged; the outputs written so far stay for inspection.
  } catch (const std::exception& e) {
    g_opt_log.printf("%s\n", e.what());
    corvane::show_message(std::string("Conversion failed: ") + e.what());
  }
  reset_run_state();
  return result;
}

}  // namespace corvane::dlgopt
