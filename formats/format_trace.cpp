#include "formats/format_trace.h"

namespace corvane::formats {

namespace {
FormatTrace g_trace;
}  // namespace

void install_format_trace(const FormatTrace& trace) { g_trace = trace; }

void format_trace_begin(const char* routine) {
  if (g_trace.begin) g_trace.begin(routine);
}

void format_trace_exit(const char* routine, int code) {
  if (g_trace.exit) g_trace.exit(routine, code);
}

void format_trace_error(const char* routine, const char* text, const char* detail) {
  if (g_trace.error) g_trace.error(routine, text, detail);
}

}  // namespace corvane::formats
