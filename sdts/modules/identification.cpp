#include "sdts/modules/identification.h"

#include <algorithm>

#include "sdts/modules/control_file.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"

namespace corvane::sdts {

namespace {

constexpr RecordField<IdenRecord> kIdenFields[] = {
    {"MODN", &IdenRecord::MODN},
    {"RCID", nullptr, &IdenRecord::RCID},
    {"STID", &IdenRecord::STID},
    {"STVS", &IdenRecord::STVS},
    {"DOCU", &IdenRecord::DOCU},
    {"PRID", &IdenRecord::PRID},
    {"PRVS", &IdenRecord::PRVS},
    {"PDOC", &IdenRecord::PDOC},
    {"DAST", &IdenRecord::DAST},
    {"MPDT", &IdenRecord::MPDT},
    {"DCDT", &IdenRecord::DCDT},
    {"COMT", &IdenRecord::COMT},
    {"TITL", &IdenRecord::TITL, nullptr, &ProgressDialog::set_title, "Map Title: "}};

constexpr RecordField<IdenRecord> kConformanceFields[] = {
    {"FFYN", &IdenRecord::FFYN},          {"VGYN", &IdenRecord::VGYN},
    {"GTYN", &IdenRecord::GTYN},          {"RCYN", &IdenRecord::RCYN},
    {"EXSP", nullptr, &IdenRecord::EXSP}, {"FTLV", nullptr, &IdenRecord::FTLV}};

constexpr DocumentLine<IdenRecord> kDocumentLines[] = {
    {"STID:            ", &IdenRecord::STID}, {"VERSION:         ", &IdenRecord::STVS},
    {"PROFILE:         ", &IdenRecord::PRID}, {"PROFILE VERSION: ", &IdenRecord::PRVS},
    {"DOCUMENT:        ", &IdenRecord::DOCU}, {"COMMENT:         ", &IdenRecord::COMT}};

}  // namespace

template <>
const std::vector<IdenRecord>& SDTSIdenFile::return_records() {
  SDTS_Read_Records<IdenRecord>(
      *this, "SDTSIdenFile::return_records()", "IDEN", kIdenFields, m_records,
      [this](IdenRecord& work) {
        if (tag() == "CONF") {
          SDTS_Take_Field<IdenRecord>(*this, kConformanceFields, work);
        } else if (tag() == "IDEN" && label() == "SCAL") {
          const std::string scale = value_text();
          work.SCAL = value_long();
          g_progress->set_scale(scale.substr(std::min(scale.find_first_not_of(' '), scale.size())));
          LOG_LINE(SDTS_Message("Map Scale: 1 to %s\n", scale.c_str()));
        }
      });
  return m_records;
}

template <>
int SDTSIdenFile::write_document() const {
  if (m_records.empty()) return 0;
  const IdenRecord& r = m_records.front();
  DOC_LINE("TITLE:           " + r.TITL);
  DOC_LINE(SDTS_Message("SCALE:           %ld", r.SCAL));
  SDTS_Write_Document_Lines<IdenRecord>(r, kDocumentLines);
  return 0;
}

}  // namespace corvane::sdts
