#include "sdts/modules/spatial_reference.h"

#include <cstdlib>
#include <string_view>

#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

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

// The subfield just read as a number by its format text; false for text formats and for
// binary values shorter than an integer.
bool subfield_number(const SDTSFile& module, double& number) {
  const std::string_view format = module.format();
  if (format.find('B') != std::string_view::npos) {
    if (module.value_bytes().size() < 4) return false;
    number = module.value_int();
  } else if (format.find('R') != std::string_view::npos) {
    number = std::atof(module.value_text().c_str());
  } else if (format.find('I') != std::string_view::npos) {
    number = static_cast<int>(module.value_long());
  } else {
    return false;
  }
  return true;
}

}  // namespace

int SDTS_Get_IREF_Attributes(const std::string& path) {
  TRACE_BEGIN("SDTS_Get_IREF_Attributes");
  SDTSFile module(path);
  const int result = module.read_module(
      [&] {
        if (module.tag() != "IREF") return;
        const std::string_view label = module.label();
        double number = 0;
        if (label == "RCID" || !subfield_number(module, number)) return;
        if (label == "SFAX") g_iref_sfax = number;
        else if (label == "SFAY") g_iref_sfay = number;
        else if (label == "XORG") g_iref_xorg = number;
        else if (label == "YORG") g_iref_yorg = number;
      },
      [] {});
  TRACE_EXIT("SDTS_Get_IREF_Attributes", result);
  return result;
}

}  // namespace corvane::sdts
