#include "sdts/modules/spatial_reference.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/paths.h"
#include "sdts/iso8211/iso8211.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

using namespace corvane::iso8211;

const std::vector<XrefRecord>& SDTSXrefFile::return_records() {
  TRACE_BEGIN("SDTSIdenFile::return_records()");
  XrefRecord work;
  const int result = read_module(
      [&] {
        if (tag() != "XREF") return;
        const std::string_view name = label();
        if (name == "MODN") {
          work.MODN = value_text();
        } else if (name == "RCID") {
          work.RCID = static_cast<int>(value_long());
        } else if (name == "RSNM") {
          work.RSNM = value_text();
          g_progress->set_reference_system(work.RSNM);
          LOG_LINE(SDTS_Message("Reference System: %s\n", work.RSNM.c_str()));
        } else if (name == "HDAT") {
          work.HDAT = value_text();
          g_progress->set_horizontal_datum(work.HDAT);
          LOG_LINE(SDTS_Message("Horizontal Datum: %s\n", work.HDAT.c_str()));
        } else if (name == "ZONE") {
          work.ZONE = value_text();
          g_progress->set_zone(work.ZONE);
          LOG_LINE(SDTS_Message("Zone: %s\n", work.ZONE.c_str()));
        }
      },
      [&] { m_records.push_back(work); });
  TRACE_EXIT("SDTSIdenFile::return_records()", result);
  return m_records;
}

int SDTSXrefFile::write_document() const {
  if (m_records.empty()) return 0;
  const XrefRecord& r = m_records.front();
  DOC_LINE("Reference System:           " + r.RSNM);
  DOC_LINE("Horizontal Datum:           " + r.HDAT);
  DOC_LINE("ZONE:\t\t\t\t\t   " + r.ZONE);
  return 0;
}

void SDTS_Set_Xref_Geographic(const std::vector<XrefRecord>& records) {
  g_xref_geographic = !records.empty() && records.front().RSNM.starts_with("GEO") ? 1 : 0;
}

const std::vector<SpdmRecord>& SDTSSpdmFile::return_records() {
  TRACE_BEGIN("SDTSSpdmFile::return_records()");
  SpdmRecord work;
  int point = 0;
  const int result = read_module(
      [&] {
        const std::string_view name = label();
        if (tag() == "SPDM") {
          if (name == "MODN") work.MODN = value_text();
          else if (name == "RCID") work.RCID = static_cast<int>(value_long());
          else if (name == "DTYP") work.DTYP = value_text();
          else if (name == "DSTP") work.DSTP = value_text();
        } else if (tag() == "DMSA") {
          // The record keeps the domain's first two points; further ones are counted past.
          if (name == "!X") {
            if (point == 0) work.X1 = value_int();
            if (point == 1) work.X2 = value_int();
          } else if (name == "!Y") {
            if (point == 0) work.Y1 = value_int();
            if (point == 1) work.Y2 = value_int();
            ++point;
          }
        }
      },
      [&] { m_records.push_back(work); });
  TRACE_EXIT("SDTSSpdmFile::return_records()", result);
  return m_records;
}

int SDTSSpdmFile::write_document() const {
  if (m_records.empty()) return 0;
  const SpdmRecord& r = m_records.front();
  DOC_LINE("DTYP:            " + r.DTYP);
  DOC_LINE("DSTP:            " + r.DSTP);
  DOC_LINE(SDTS_Message("x1:              %lf y1:               %lf", r.X1, r.Y1));
  DOC_LINE(SDTS_Message("x2:              %lf y2:               %lf", r.X2, r.Y2));
  return 0;
}

namespace {

struct IsoFile {
  std::FILE* stream = nullptr;
  ~IsoFile() {
    if (stream != nullptr) ISO_End_File(&stream);
  }
};

// The subfield in g_sf_value as a number by its format text; false for text formats.
bool subfield_number(double& number) {
  if (std::strchr(g_sf_frmts, 'B') != nullptr) {
    if (g_sf_length < 4) return false;
    std::int32_t value = 0;
    ISO_Bytes_To_Int(g_sf_value, &value, g_byte_order == 0);
    g_sf_int = value;
    number = value;
  } else if (std::strchr(g_sf_frmts, 'R') != nullptr) {
    number = std::atof(g_sf_value);
  } else if (std::strchr(g_sf_frmts, 'I') != nullptr) {
    g_sf_int = static_cast<int>(std::atol(g_sf_value));
    number = g_sf_int;
  } else {
    return false;
  }
  return true;
}

int read_iref(IsoFile& file) {
  int status = 0;
  if (ISO_Read_DDR(file.stream, g_sf_value, static_cast<int>(kSfValueSize), &status) == 0) {
    SDTS_Message("\n*** ERROR READING DDR ***");
    return 1;
  }
  g_sf_status = status;
  while (g_sf_status != ISO_STATUS_END_OF_FILE) {
    if (ISO_Read_Subfield(file.stream, g_sf_tag, &g_sf_leader, g_sf_value,
                          static_cast<int>(kSfValueSize), &g_sf_length, &g_sf_status) == 0) {
      SDTS_Message("\nERROR READING DATA RECORD SUBFIELD");
      return 1;
    }
    if (ISO_Check_Subfield(file.stream, g_sf_tag, g_sf_descr, static_cast<int>(kSfTextSize),
                           g_sf_frmts, static_cast<int>(kSfTextSize)) == 0) {
      SDTS_Message("\nERROR CHECKING DATA RECORD SUBFIELD");
      return 1;
    }
    if (std::strcmp(g_sf_tag, "IREF") != 0 || std::strcmp(g_sf_descr, "RCID") == 0) continue;
    double number = 0;
    if (!subfield_number(number)) continue;
    if (std::strcmp(g_sf_descr, "SFAX") == 0) g_iref_sfax = number;
    else if (std::strcmp(g_sf_descr, "SFAY") == 0) g_iref_sfay = number;
    else if (std::strcmp(g_sf_descr, "XORG") == 0) g_iref_xorg = number;
    else if (std::strcmp(g_sf_descr, "YORG") == 0) g_iref_yorg = number;
  }
  return 0;
}

}  // namespace

int SDTS_Get_IREF_Attributes(const std::string& path) {
  TRACE_BEGIN("SDTS_Get_IREF_Attributes");
  IsoFile file;
  int level = 0;
  char inline_code = 0;
  char ext_charset[4] = {};
  int result = 1;
  const std::string on_disk = corvane::paths::resolve_case_insensitive(path);
  if (ISO_Open_File(on_disk.c_str(), "R", &level, &inline_code, ext_charset, &file.stream) == 0)
    TRACE_ERROR("SDTS_Get_IREF_Attributes", "*** Open file failed ***", path);
  else
    result = read_iref(file);
  TRACE_EXIT("SDTS_Get_IREF_Attributes", result);
  return result;
}

}  // namespace corvane::sdts
