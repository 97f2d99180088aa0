#include "sdts/modules/identification.h"

#include <algorithm>

#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

const std::vector<IdenRecord>& SDTSIdenFile::return_records() {
  TRACE_BEGIN("SDTSIdenFile::return_records()");
  IdenRecord work;
  const int result = read_module(
      [&] {
        const std::string_view name = label();
        if (tag() == "IDEN") {
          if (name == "MODN") work.MODN = value_text();
          else if (name == "RCID") work.RCID = static_cast<int>(value_long());
          else if (name == "STID") work.STID = value_text();
          else if (name == "STVS") work.STVS = value_text();
          else if (name == "DOCU") work.DOCU = value_text();
          else if (name == "PRID") work.PRID = value_text();
          else if (name == "PRVS") work.PRVS = value_text();
          else if (name == "PDOC") work.PDOC = value_text();
          else if (name == "DAST") work.DAST = value_text();
          else if (name == "MPDT") work.MPDT = value_text();
          else if (name == "DCDT") work.DCDT = value_text();
          else if (name == "COMT") work.COMT = value_text();
          else if (name == "TITL") {
            work.TITL = value_text();
            g_progress->set_title(work.TITL);
            LOG_LINE(SDTS_Message("Map Title: %s\n", work.TITL.c_str()));
          } else if (name == "SCAL") {
            const std::string scale = value_text();
            work.SCAL = value_long();
            g_progress->set_scale(scale.substr(std::min(scale.find_first_not_of(' '), scale.size())));
            LOG_LINE(SDTS_Message("Map Scale: 1 to %s\n", scale.c_str()));
          }
        } else if (tag() == "CONF") {
          if (name == "FFYN") work.FFYN = value_text();
          else if (name == "VGYN") work.VGYN = value_text();
          else if (name == "GTYN") work.GTYN = value_text();
          else if (name == "RCYN") work.RCYN = value_text();
          else if (name == "EXSP") work.EXSP = static_cast<int>(value_long());
          else if (name == "FTLV") work.FTLV = static_cast<int>(value_long());
        }
      },
      [&] { m_records.push_back(work); });
  TRACE_EXIT("SDTSIdenFile::return_records()", result);
  return m_records;
}

int SDTSIdenFile::write_document() const {
  if (m_records.empty()) return 0;
  const IdenRecord& r = m_records.front();
  DOC_LINE("TITLE:           " + r.TITL);
  DOC_LINE(SDTS_Message("SCALE:           %ld", r.SCAL));
  DOC_LINE("STID:            " + r.STID);
  DOC_LINE("VERSION:         " + r.STVS);
  DOC_LINE("PROFILE:         " + r.PRID);
  DOC_LINE("PROFILE VERSION: " + r.PRVS);
  DOC_LINE("DOCUMENT:        " + r.DOCU);
  DOC_LINE("COMMENT:         " + r.COMT);
  return 0;
}

}  // namespace corvane::sdts
