#include "dlgopt/run_state.h"

#include "platform/fatal_error.h"

namespace corvane::dlgopt {

OptLog g_opt_log;
OptWorkFile g_opt_work_file;
std::string g_opt_out_prefix;
std::string g_opt_input_stem;
std::string g_opt_series;
int g_opt_status = kOptStatusOk;
int g_opt_scale = 0;
int g_opt_line_size = 0;
DlgHeader g_opt_header;
int g_opt_node_count = 0;
int g_opt_area_count = 0;
int g_opt_line_count = 0;
int g_opt_airport_count = 0;
int g_opt_place_count = 0;

bool OptLog::open(const std::string& path) {
  file_ = formats::open_c_file(path, "a");
  return file_ != nullptr;
}

void OptLog::printf(const char* format, ...) {
  if (!file_) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file_.get(), format, args);
  va_end(args);
  // Flushed per line so that the log tells how far a conversion got even if it is killed.
  std::fflush(file_.get());
}

bool OptWorkFile::open() {
  directory_ = std::make_unique<paths::WorkDirectory>("quoinlink-");
  file_ = formats::open_c_file(file("dlgopt.tmp"), "a");
  return file_ != nullptr;
}

void OptWorkFile::close() {
  file_.reset();
  directory_.reset();
}

void OptWorkFile::record(const std::string& output_path) {
  if (file_) std::fprintf(file_.get(), "%s\n", output_path.c_str());
}

void reset_run_state() {
  g_opt_log.close();
  g_opt_work_file.close();
  g_opt_out_prefix.clear();
  g_opt_input_stem.clear();
  g_opt_series.clear();
  g_opt_status = kOptStatusOk;
  g_opt_scale = 0;
  g_opt_line_size = 0;
  g_opt_header = DlgHeader{};
  g_opt_node_count = g_opt_area_count = g_opt_line_count = 0;
  g_opt_airport_count = g_opt_place_count = 0;
}

std::string output_path(const char* suffix) { return g_opt_out_prefix + suffix; }

void opt_fatal(const std::string& text) {
  g_opt_log.printf("%s\n", text.c_str());
  corvane::fatal(text);
}

}  // namespace corvane::dlgopt
