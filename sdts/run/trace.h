// The converter's trace, log and document lines. Every line reopens its file in append
// mode, so a conversion that ends early still leaves everything written so far on disk.
#pragma once

#include <string_view>

namespace corvane::sdts {

// Trace lines, written only while g_trace_on (TRACE_DETAIL: g_trace_detail_on) is set.
// Lines between a routine's begin and exit stand one blank deeper than those two.
void TRACE_BEGIN(std::string_view routine);
void TRACE_PRINT(std::string_view routine, std::string_view message);
void TRACE_ERROR(std::string_view routine, std::string_view text, std::string_view detail);
void TRACE_DETAIL(std::string_view routine, std::string_view message);
void TRACE_EXIT(std::string_view routine, int code);

// One line ("%s\n") appended to the log file, the document file or the work file.
void LOG_LINE(std::string_view text);
void DOC_LINE(std::string_view text);
void WORK_LINE(std::string_view text);

// Lets the dBase file of the shared format writers trace into this converter's trace.
void SDTS_Install_Format_Trace();

}  // namespace corvane::sdts
