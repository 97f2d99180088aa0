#include "sdts/driver/conversion.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "archives/unpacked_archive.h"
#include "formats/c_file.h"
#include "platform/fatal_error.h"
#include "platform/message_sink.h"
#include "platform/paths.h"
#include "sdts/driver/hypsography_merge.h"
#include "sdts/driver/sdts_process.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_directory.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

namespace {

using File = corvane::formats::CFile;

// Tracing is requested from outside: CORVANE_TRACE=1 traces, =2 adds the detail lines.
void set_trace_switches() {
  const char* request = std::getenv("CORVANE_TRACE");
  const std::string value = request ? request : "";
  g_trace_on = (value == "1" || value == "2") ? 1 : 0;
  g_trace_detail_on = value == "2" ? 1 : 0;
}

void create_run_file(const std::string& path, const char* banner, const char* failure) {
  File f(std::fopen(path.c_str(), "w"));
  if (!f) corvane::fatal(failure);
  std::fputs(banner, f.get());
}

void open_work_file() {
  g_work_path = corvane::paths::join(corvane::paths::temp_directory(), "dlgsdts.tmp");
  if (!File(std::fopen(g_work_path.c_str(), "a"))) corvane::fatal("Error on open tmp file\n");
}

void log_start_time() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  SDTS_Message("New Process started on %d/%d at %d:%02d\n", local.tm_mon + 1, local.tm_mday,
               local.tm_hour, local.tm_min);
  TRACE_PRINT("Display", g_message);
  LOG_LINE(g_message);
}

// Puts everything a conversion sets up back in its resting state, however it ended.
struct ConversionScope {
  ConversionScope() { SDTS_Begin_Work_Files(); }
  ~ConversionScope() {
    g_progress = &SDTS_Idle_Progress();
    SDTS_End_Work_Files();
  }
  ConversionScope(const ConversionScope&) = delete;
  ConversionScope& operator=(const ConversionScope&) = delete;
};

int convert(const std::string& input_path, const std::string& output_parent) {
  SDTS_Reset_Conversion_State();
  set_trace_switches();
  ConversionScope scope;

  std::optional<corvane::archives::UnpackedArchive> archive;
  if (corvane::archives::is_archive(input_path)) archive.emplace(input_path);
  const std::string catalog_path = archive ? archive->required_catalog() : input_path;

  open_work_file();
  const RunLayout layout = SDTS_Run_Layout(catalog_path, output_parent);
  g_doc_path = layout.doc_path;
  g_log_path = layout.log_path;
  g_trace_path = layout.trace_path;
  std::error_code ignored;
  std::filesystem::create_directory(layout.run_dir, ignored);

  create_run_file(g_doc_path, "********* SDTS Document File  *****************\n\n",
                  "Error on open docfile");
  if (g_trace_on)
    create_run_file(g_trace_path, "********* SDTS TRACE File  *****************\n\n",
                    "Error on open Dbgfile");
  create_run_file(g_log_path, "********* DLG Log File  *****************\n\n",
                  "Error on open logfile");
  LOG_LINE(SDTS_Message("input catalog: %s\noutput directory %s\n", input_path.c_str(),
                        layout.run_dir.c_str()));

  g_file_object.set_file_name(catalog_path);
  log_start_time();

  ProgressDialog window;
  TRACE_BEGIN("Display");
  const std::string names_path = corvane::paths::join(output_parent, "names.txt");
  File names(std::fopen(names_path.c_str(), "w"));
  if (!names) corvane::show_message("Error on open " + names_path);

  g_run_dir = layout.run_dir;
  window.set_input_catalog(input_path);
  window.set_output_directory(layout.run_dir);
  window.create();
  window.set_status("HALYARD: starting...");
  window.repaint();

  const int result = SDTS_Process(catalog_path, &window);
  Merge_Hypsography_Tables(layout.run_dir);

  if (names) {
    std::fprintf(names.get(), "%s\n%s", layout.run_name.c_str(), window.title().c_str());
    if (std::fclose(names.release()) != 0) corvane::show_message("Error on write " + names_path);
  }
  TRACE_EXIT("Display", result);
  window.destroy();
  return result;
}

}  // namespace

int SDTS_Convert(const char* catalog_path, const char* output_parent) {
  SDTS_Install_Format_Trace();
  try {
    if (catalog_path == nullptr || output_parent == nullptr)
      corvane::fatal("Display: no catalog or no output directory given");
    return convert(catalog_path, output_parent);
  } catch (const corvane::FatalError&) {
    return 1;  // already shown
  } catch (const std::bad_alloc&) {
    corvane::show_message("Out of Memory");
    return 1;
  } catch (const std::exception& error) {
    corvane::show_message(error.what());
    return 1;
  }
}

}  // namespace corvane::sdts
