#include "dlgopt/run_state.h"

#include <cerrno>
#include <cstring>

#include "platform/fatal_error.h"
#include "platform/message_sink.h"

namespace corvane::dlgopt {

OptLog g_opt_log;
OptWorkFile g_opt_work_file;
std::string g_opt_out_prefix;
std::string g_opt_input_stem;
std::string g_opt_series;
int g_opt_status = kOptStatusOk;
int g_opt_incomplete = 0;
int g_opt_scale = 0;
DlgHeader g_opt_header;
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
  g_opt_incomplete = 0;
  g_opt_scale = 0;
  g_opt_header = DlgHeader{};
  g_opt_airport_count = g_opt_place_count = 0;
}

void report_incomplete(const std::string& line) {
  g_opt_log.printf("%s\n", line.c_str());
  corvane::show_message(line);
  ++g_opt_incomplete;
}

void report_output_failure(const std::string& path) {
  const std::string line = "cannot create output file " + path + " (" + std::strerror(errno) + ")";
  g_opt_log.printf("%s\n", line.c_str());
  corvane::show_message(line);
  g_opt_status = kOptStatusOutputFailed;
}

std::string output_path(const char* suffix) { return g_opt_out_prefix + suffix; }

void opt_fatal(const std::string& text) {
  g_opt_log.printf("%s\n", text.c_str());
  corvane::fatal(text);
}

}  // namespace corvane::dlgopt
