#include "sdts/run/run_state.h"

#include <cstdarg>
#include <cstdio>

#include "sdts/run/index_files.h"
#include "sdts/run/module_state.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/work_files.h"

int g_trace_on = 0;
int g_trace_detail_on = 0;
int g_trace_level = -1;
std::string g_message;

std::string g_work_path;
std::string g_trace_path;
std::string g_doc_path;
std::string g_log_path;
std::string g_run_dir;

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

namespace {
ProgressDialog g_idle_progress;
std::unique_ptr<WorkFiles> g_work_files;
}  // namespace

ProgressDialog* g_progress = &g_idle_progress;

void SDTS_Reset_Conversion_State() {
  g_trace_level = -1;
  g_message.clear();
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
  IndexFiles::clear();
  SDTS_Reset_Module_State();
  for (auto set : {&ProgressDialog::set_title, &ProgressDialog::set_input_catalog,
                   &ProgressDialog::set_output_directory, &ProgressDialog::set_reference_system,
                   &ProgressDialog::set_zone, &ProgressDialog::set_horizontal_datum,
                   &ProgressDialog::set_scale, &ProgressDialog::set_status})
    (g_idle_progress.*set)(std::string());
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
