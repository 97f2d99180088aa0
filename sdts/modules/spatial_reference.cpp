#include "sdts/modules/spatial_reference.h"

#include <cstdlib>
#include <string_view>

#include "sdts/modules/control_file.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

namespace {

constexpr RecordField<XrefRecord> kXrefFields[] = {
    {"MODN", &XrefRecord::MODN},
    {"RCID", nullptr, &XrefRecord::RCID},
    {"RSNM", &XrefRecord::RSNM, nullptr, &ProgressDialog::set_reference_system,
     "Reference System: "},
    {"HDAT", &XrefRecord::HDAT, nullptr, &ProgressDialog::set_horizontal_datum,
     "Horizontal Datum: "},
    {"ZONE", &XrefRecord::ZONE, nullptr, &ProgressDialog::set_zone, "Zone: "}};

constexpr DocumentLine<XrefRecord> kXrefDocumentLines[] = {
    {"Reference System:           ", &XrefRecord::RSNM},
    {"Horizontal Datum:           ", &XrefRecord::HDAT},
    {"ZONE:\t\t\t\t\t   ", &XrefRecord::ZONE}};

constexpr RecordField<SpdmRecord> kSpdmFields[] = {{"MODN", &SpdmRecord::MODN},
                                                   {"RCID", nullptr, &SpdmRecord::RCID},
                                                   {"DTYP", &SpdmRecord::DTYP},
                                                   {"DSTP", &SpdmRecord::DSTP}};

constexpr DocumentLine<SpdmRecord> kSpdmDocumentLines[] = {
    {"DTYP:            ", &SpdmRecord::DTYP}, {"DSTP:            ", &SpdmRecord::DSTP}};

}  // namespace

// Traced under the identification reader's name, as the trace files have always shown it.
template <>
const std::vector<XrefRecord>& SDTSXrefFile::return_records() {
  SDTS_Read_Records<XrefRecord>(*this, "SDTSIdenFile::return_records()", "XREF", kXrefFields,
                                m_records);
  return m_records;
}

template <>
int SDTSXrefFile::write_document() const {
  if (!m_records.empty())
    SDTS_Write_Document_Lines<XrefRecord>(m_records.front(), kXrefDocumentLines);
  return 0;
}

void SDTS_Set_Xref_Geographic(const std::vector<XrefRecord>& records) {
  g_xref_geographic = !records.empty() && records.front().RSNM.starts_with("GEO") ? 1 : 0;
}

template <>
const std::vector<SpdmRecord>& SDTSSpdmFile::return_records() {
  int point = 0;
  // The record keeps the domain's first two points; further ones are counted past.
  SDTS_Read_Records<SpdmRecord>(*this, "SDTSSpdmFile::return_records()", "SPDM", kSpdmFields,
                                m_records, [&](SpdmRecord& work) {
                                  if (tag() != "DMSA") return;
                                  if (label() == "!X") {
                                    if (point == 0) work.X1 = value_int();
                                    if (point == 1) work.X2 = value_int();
                                  } else if (label() == "!Y") {
                                    if (point == 0) work.Y1 = value_int();
                                    if (point == 1) work.Y2 = value_int();
                                    ++point;
                                  }
                                });
  return m_records;
}

template <>
int SDTSSpdmFile::write_document() const {
  if (m_records.empty()) return 0;
  const SpdmRecord& r = m_records.front();
  SDTS_Write_Document_Lines<SpdmRecord>(r, kSpdmDocumentLines);
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
        if (label == "SFAX")
          g_iref_sfax = number;
        else if (label == "SFAY")
          g_iref_sfay = number;
        else if (label == "XORG")
          g_iref_xorg = number;
        else if (label == "YORG")
          g_iref_yorg = number;
      },
      [] {});
  TRACE_EXIT("SDTS_Get_IREF_Attributes", result);
  return result;
}

}  // namespace corvane::sdts
