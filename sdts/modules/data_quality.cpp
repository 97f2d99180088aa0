#include "sdts/modules/data_quality.h"

#include "sdts/run/trace.h"

namespace corvane::sdts {

SDTSDqFile::SDTSDqFile(std::string path, const char* module, const char* routine)
    : SDTSFile(std::move(path)), m_module(module), m_routine(routine) {}

const std::vector<DqRecord>& SDTSDqFile::return_records() {
  TRACE_BEGIN(m_routine);
  DqRecord work;
  const int result = read_module(
      [&] {
        if (tag() != m_module) return;
        if (label() == "MODN") work.MODN = value_text();
        else if (label() == "RCID") work.RCID = static_cast<int>(value_long());
        else if (label() == "COMT") work.COMT = value_text();
      },
      [&] { m_records.push_back(work); });
  TRACE_EXIT(m_routine, result);
  return m_records;
}

int SDTSDqFile::write_document() const {
  if (m_records.empty()) return 0;
  DOC_LINE("COMMENT:            " + m_records.front().COMT);
  return 0;
}

}  // namespace corvane::sdts
