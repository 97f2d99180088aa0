// Everything one SDTS conversion shares across ferrolink, in one place. The converter runs
// one conversion at a time on one thread, and nearly every routine reads some of it, so
// these are plain globals; SDTS_Reset_Conversion_State puts them all back at the start of
// each conversion, so a conversion never sees what the previous one left behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sdts/run/control_records.h"
#include "sdts/run/module_file_name.h"
#include "sdts/run/stat_counts.h"

namespace corvane::sdts {

class ProgressDialog;
class WorkFiles;

// Trace switches; Display sets them from CORVANE_TRACE (1 traces, 2 adds detail lines).
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

// The catalog path's parts.
extern SDTSFileObject g_file_object;

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
extern SDTSStat g_stat;

// Ground coordinates from stored integers: X = x * g_iref_sfax + g_iref_xorg, likewise Y.
// Scale 1 and origin 0 until an IREF module is read, so a transfer without one keeps its
// coordinates as stored.
extern double g_iref_sfax;
extern double g_iref_sfay;
extern double g_iref_xorg;
extern double g_iref_yorg;

inline double SDTS_Ground_X(std::int32_t x) {
  return static_cast<double>(x) * g_iref_sfax + g_iref_xorg;
}
inline double SDTS_Ground_Y(std::int32_t y) {
  return static_cast<double>(y) * g_iref_sfay + g_iref_yorg;
}

// 1 when the reference system's name begins with "GEO" (geographic coordinates).
extern int g_xref_geographic;

inline constexpr std::size_t kSfTagSize = 12;
inline constexpr std::size_t kSfValueSize = 10004;
inline constexpr std::size_t kSfTextSize = 100;

// The subfield just read by a routine-style reader (IREF, STAT, the attribute and line
// modules).
extern char g_sf_tag[kSfTagSize];
extern char g_sf_leader;
extern char g_sf_value[kSfValueSize];
extern int g_sf_length;
extern int g_sf_status;
extern char g_sf_descr[kSfTextSize];  // label
extern char g_sf_frmts[kSfTextSize];  // format
extern int g_sf_int;                  // last integer taken from a "B" or "I" subfield
extern int g_byte_order;

// Intermediate files on disk, deleted when the conversion's pipeline ends (IndexFiles).
extern std::vector<std::string> g_index_files;

// The table each attribute module (by its "MODN" value) was written to, all in `run_dir`.
struct WrittenTables {
  std::string run_dir;
  std::map<std::string, std::string> by_module;
};
extern WrittenTables g_written_tables;

// Puts every item above back to its initial value, ends the work files and empties the
// idle window's fields.
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

}  // namespace corvane::sdts
