// The dBase file traces its operations through the host converter's trace facility.
// formats/ is built into both converters, so it cannot name either one's facility:
// the host installs its routines here (ferrolink does; quoinlink traces nothing).
#pragma once

namespace corvane::formats {

struct FormatTrace {
  void (*begin)(const char* routine) = nullptr;
  void (*exit)(const char* routine, int code) = nullptr;
  void (*error)(const char* routine, const char* text, const char* detail) = nullptr;
};

void install_format_trace(const FormatTrace& trace);

void format_trace_begin(const char* routine);
void format_trace_exit(const char* routine, int code);
void format_trace_error(const char* routine, const char* text, const char* detail);

}  // namespace corvane::formats
