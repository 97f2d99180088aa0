// Process-wide state of one SDTS conversion. The converter runs one conversion at a time
// on one thread, and every routine of ferrolink reads these, so they are plain globals.
#pragma once

#include <memory>
#include <string>

#include "sdts/run/control_records.h"

class ProgressDialog;
class WorkFiles;

// Trace switches; Display clears g_trace_on and sets it again from CORVANE_TRACE=1.
extern int g_trace_on;
extern int g_trace_detail_on;
// Nesting depth of traced routines: -1 outside any, 0 inside the first.
extern int g_trace_level;
// Shared message text; formatted with SDTS_Message, then traced or logged.
extern std::string g_message;

extern std::string g_work_path;   // the work file "dlgsdts.tmp" in the temporary directory
extern std::string g_trace_path;  // {run dir}/{base}.dbg
extern std::string g_doc_path;    // {run dir}/{base}.doc
extern std::string g_log_path;    // {run dir}/{base}.log
extern std::string g_run_dir;     // where every output file of the conversion goes

// The current conversion's progress window. Outside a conversion it points to an idle
// window whose fields are kept but shown nowhere, so writers may always update it.
extern ProgressDialog* g_progress;
ProgressDialog& SDTS_Idle_Progress();

// The control modules of the current transfer, as the first catalog walk read them.
extern CatdRecords g_catd_records;
extern CatsRecords g_cats_records;
extern CatxRecords g_catx_records;
extern std::vector<IdenRecord> g_iden_records;
extern std::vector<XrefRecord> g_xref_records;
extern std::vector<SpdmRecord> g_spdm_records;
extern std::vector<DqRecord> g_dqaa_records;
extern std::vector<DqRecord> g_dqhl_records;
extern std::vector<DqRecord> g_dqlc_records;
extern std::vector<DqRecord> g_dqpa_records;

// Forgets everything the previous conversion left: record lists, statistics, transform,
// temporary file list, trace depth and the idle window's fields.
void SDTS_Reset_Conversion_State();

// Formats into g_message (no length limit) and returns it.
const std::string& SDTS_Message(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The conversion's intermediate and staging files (see WorkFiles), gone when the conversion
// ends (also on failure). Started on first use when no conversion has set them up, so
// writers can be exercised on their own.
WorkFiles& SDTS_Work_Files();
// Starts a fresh store of work files for a conversion; SDTS_End_Work_Files ends it.
void SDTS_Begin_Work_Files();
void SDTS_End_Work_Files();
