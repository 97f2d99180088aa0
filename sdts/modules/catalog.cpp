#include "sdts/modules/catalog.h"

#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

const CatdRecords& SDTSCatdFile::return_catd() {
  TRACE_BEGIN("SDTSFile::return_catd()");
  CatdRecord work;
  const int result = read_module(
      [&] {
        if (tag() != "CATD") return;
        const std::string_view name = label();
        if (name == "MODN") work.MODN = value_text();
        else if (name == "RCID") work.RCID = static_cast<int>(value_long());
        else if (name == "NAME") work.NAME = value_text();
        else if (name == "TYPE") work.TYPE = value_text();
        else if (name == "FILE") work.FILE = m_name.directory + value_text();
        else if (name == "EXTR") work.EXTR = value_text();
        else if (name == "MVER") work.MVER = value_text();
      },
      [&] { m_records.push_back(work); });
  TRACE_EXIT("SDTSFile::return_catd()", result);
  return m_records;
}

const CatsRecords& SDTSCatsFile::return_records() {
  TRACE_BEGIN("SDTSFile::return_records()");
  CatsRecord work;
  const int result = read_module(
      [&] {
        if (tag() != "CATS") return;
        const std::string_view name = label();
        if (name == "MODN") work.MODN = value_text();
        else if (name == "RCID") work.RCID = static_cast<int>(value_long());
        else if (name == "NAME") work.NAME = value_text();
        else if (name == "TYPE") work.TYPE = value_text();
        else if (name == "MAP") work.MAP = value_text();
        else if (name == "THEM") work.THEM = value_text();
        else if (name == "AGOB") work.AGOB = value_text();
        else if (name == "AGTP") work.AGTP = value_text();
      },
      [&] { m_records.push_back(work); });
  TRACE_EXIT("SDTSFile::return_records()", result);
  return m_records;
}

const CatxRecords& SDTXFile::return_records() {
  TRACE_BEGIN("SDTXFile::return_records()");
  CatxRecord work;
  const int result = read_module(
      [&] {
        if (tag() != "CATX") return;
        const std::string_view name = label();
        if (name == "MODN") work.MODN = value_text();
        else if (name == "RCID") work.RCID = static_cast<int>(value_long());
        else if (name == "NAM1") work.NAM1 = value_text();
        else if (name == "TYP1") work.TYP1 = value_text();
        else if (name == "NAM2") work.NAM2 = value_text();
        else if (name == "TYP2") work.TYP2 = value_text();
        else if (name == "COMT") work.COMT = value_text();
      },
      [&] { m_records.push_back(work); });
  TRACE_EXIT("SDTXFile::return_records()", result);
  return m_records;
}

}  // namespace corvane::sdts
