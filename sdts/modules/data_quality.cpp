#include "sdts/modules/data_quality.h"

#include <algorithm>

#include "platform/text.h"
#include "sdts/modules/control_file.h"

namespace corvane::sdts {

namespace {

constexpr RecordField<DqRecord> kDqFields[] = {
    {"MODN", &DqRecord::MODN}, {"RCID", nullptr, &DqRecord::RCID}, {"COMT", &DqRecord::COMT}};

}  // namespace

SDTSDqFile::SDTSDqFile(std::string path, const std::string& module)
    : SDTSFile(std::move(path)),
      m_module(module),
      m_routine("SDTSDq" + corvane::lower(module.substr(std::min<std::size_t>(2, module.size()))) +
                "File::return_records()") {}

const std::vector<DqRecord>& SDTSDqFile::return_records() {
  SDTS_Read_Records<DqRecord>(*this, m_routine.c_str(), m_module, kDqFields, m_records);
  return m_records;
}

int SDTSDqFile::write_document() const {
  if (m_records.empty()) return 0;
  DOC_LINE("COMMENT:            " + m_records.front().COMT);
  return 0;
}

}  // namespace corvane::sdts
