#include "sdts/run/trace.h"

#include <cstdio>
#include <memory>
#include <string>

#include "formats/c_file.h"
#include "formats/format_trace.h"
#include "platform/fatal_error.h"
#include "sdts/run/run_state.h"

namespace corvane::sdts {

namespace {

using File = corvane::formats::CFile;

void write_text(std::FILE* f, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), f);
}

void append_line(const std::string& path, std::string_view text, const char* failure) {
  File f(std::fopen(path.c_str(), "a"));
  if (!f) corvane::fatal(failure);
  write_text(f.get(), text);
  std::fputc('\n', f.get());
}

File open_trace(const char* failure) {
  File f(std::fopen(g_trace_path.c_str(), "a"));
  if (!f) corvane::fatal(failure);
  return f;
}

void indent(std::FILE* f) {
  for (int i = 0; i < g_trace_level; ++i) std::fputc(' ', f);
}

void trace_line(int switch_on, std::string_view kind, std::string_view routine,
                std::string_view text) {
  if (switch_on == 0) return;
  File f = open_trace("Error on open Dbgfile\n");
  indent(f.get());
  write_text(f.get(), kind);
  write_text(f.get(), routine);
  write_text(f.get(), ": ");
  write_text(f.get(), text);
  std::fputc('\n', f.get());
}

}  // namespace

void TRACE_BEGIN(std::string_view routine) {
  if (g_trace_on == 0) return;
  File f = open_trace("Error on open debug trace file");
  ++g_trace_level;
  indent(f.get());
  write_text(f.get(), ">> BEGIN: ");
  write_text(f.get(), routine);
  std::fputc('\n', f.get());
}

void TRACE_PRINT(std::string_view routine, std::string_view message) {
  trace_line(g_trace_on, ".. PRINT: ", routine, message);
}

void TRACE_ERROR(std::string_view routine, std::string_view text, std::string_view detail) {
  std::string both(text);
  both += ' ';
  both += detail;
  trace_line(g_trace_on, ".. ERROR: ", routine, both);
}

void TRACE_DETAIL(std::string_view routine, std::string_view message) {
  trace_line(g_trace_detail_on, ".. TRACE: ", routine, message);
}

void TRACE_EXIT(std::string_view routine, int code) {
  if (g_trace_on == 0) return;
  File f = open_trace("Error on open Dbgfile\n");
  indent(f.get());
  write_text(f.get(), "<< EXIT:  ");
  write_text(f.get(), routine);
  std::fprintf(f.get(), " return_code = %d\n", code);
  --g_trace_level;
}

void LOG_LINE(std::string_view text) { append_line(g_log_path, text, "Error on open log file\n"); }

void DOC_LINE(std::string_view text) { append_line(g_doc_path, text, "Error on open docfile\n"); }

void WORK_LINE(std::string_view text) {
  append_line(g_work_path, text, "Error on open tmp file\n");
}

void SDTS_Install_Format_Trace() {
  corvane::formats::FormatTrace hooks;
  hooks.begin = [](const char* routine) { TRACE_BEGIN(routine); };
  hooks.exit = [](const char* routine, int code) { TRACE_EXIT(routine, code); };
  hooks.error = [](const char* routine, const char* text, const char* detail) {
    TRACE_ERROR(routine, text, detail);
  };
  corvane::formats::install_format_trace(hooks);
}

}  // namespace corvane::sdts
