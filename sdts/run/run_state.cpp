#include "sdts/run/run_state.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "sdts/run/progress_dialog.h"
#include "sdts/run/work_files.h"

namespace corvane::sdts {

int g_trace_on = 0;
int g_trace_detail_on = 0;
int g_trace_level = -1;
std::string g_message;

std::string g_work_path;
std::string g_trace_path;
std::string g_doc_path;
std::string g_log_path;
std::string g_run_dir;

SDTSFileObject g_file_object;

CatdRecords g_catd_records;
CatsRecords g_cats_records;
CatxRecords g_catx_records;
std::vector<IdenRecord> g_iden_records;
std::vector<XrefRecord> g_xref_records;
std::vector<SpdmRecord> g_spdm_records;
std::vector<DqRecord> g_dqaa_records;
std::vector<DqRecord> g_dqhl_records;
std::vector<DqRecord> g_dqlc_records;
std::vector<DqRecord> g_dqpa_records;
SDTSStat g_stat;

double g_iref_sfax = 1.0;
double g_iref_sfay = 1.0;
double g_iref_xorg = 0.0;
double g_iref_yorg = 0.0;

int g_xref_geographic = 0;

char g_sf_tag[kSfTagSize];
char g_sf_leader;
char g_sf_value[kSfValueSize];
int g_sf_length;
int g_sf_status;
char g_sf_descr[kSfTextSize];
char g_sf_frmts[kSfTextSize];
int g_sf_int;
int g_byte_order;

std::vector<std::string> g_index_files;
WrittenTables g_written_tables;

namespace {
ProgressDialog g_idle_progress;
std::unique_ptr<WorkFiles> g_work_files;
}  // namespace

ProgressDialog* g_progress = &g_idle_progress;

void SDTS_Reset_Conversion_State() {
  g_trace_on = 0;
  g_trace_detail_on = 0;
  g_trace_level = -1;
  g_message.clear();

  g_work_path.clear();
  g_trace_path.clear();
  g_doc_path.clear();
  g_log_path.clear();
  g_run_dir.clear();

  g_progress = &g_idle_progress;
  for (auto set : {&ProgressDialog::set_title, &ProgressDialog::set_input_catalog,
                   &ProgressDialog::set_output_directory, &ProgressDialog::set_reference_system,
                   &ProgressDialog::set_zone, &ProgressDialog::set_horizontal_datum,
                   &ProgressDialog::set_scale, &ProgressDialog::set_status})
    (g_idle_progress.*set)(std::string());
  g_file_object = SDTSFileObject();

  g_catd_records.clear();
  g_cats_records.clear();
  g_catx_records.clear();
  g_iden_records.clear();
  g_xref_records.clear();
  g_spdm_records.clear();
  g_dqaa_records.clear();
  g_dqhl_records.clear();
  g_dqlc_records.clear();
  g_dqpa_records.clear();
  g_stat.clear();

  g_iref_sfax = 1.0;
  g_iref_sfay = 1.0;
  g_iref_xorg = 0.0;
  g_iref_yorg = 0.0;
  g_xref_geographic = 0;

  std::memset(g_sf_tag, 0, sizeof g_sf_tag);
  g_sf_leader = 0;
  std::memset(g_sf_value, 0, sizeof g_sf_value);
  g_sf_length = 0;
  g_sf_status = 0;
  std::memset(g_sf_descr, 0, sizeof g_sf_descr);
  std::memset(g_sf_frmts, 0, sizeof g_sf_frmts);
  g_sf_int = 0;
  g_byte_order = 0;

  g_index_files.clear();
  g_written_tables = WrittenTables();
  g_work_files.reset();
}

const std::string& SDTS_Message(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list sizing;
  va_copy(sizing, args);
  const int length = std::vsnprintf(nullptr, 0, format, sizing);
  va_end(sizing);
  if (length < 0) {
    g_message.clear();
  } else {
    g_message.assign(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(g_message.data(), g_message.size(), format, args);
    g_message.resize(static_cast<std::size_t>(length));
  }
  va_end(args);
  return g_message;
}

WorkFiles& SDTS_Work_Files() {
  if (!g_work_files) SDTS_Begin_Work_Files();
  return *g_work_files;
}

void SDTS_Begin_Work_Files() {
  g_work_files.reset();
  g_work_files = std::make_unique<WorkFiles>();
}

void SDTS_End_Work_Files() { g_work_files.reset(); }

ProgressDialog& SDTS_Idle_Progress() { return g_idle_progress; }

}  // namespace corvane::sdts
