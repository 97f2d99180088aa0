#include "sdts/run/control_records.h"

#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

int CatdRecords::dump() const {
  TRACE_BEGIN("CatdRecords::dump()");
  for (const CatdRecord& r : *this) {
    SDTS_Message("MODN = %s RcID = %d NAME = %s TYPE = %s FILE = %s EXTR = %s MVER = %s FLAG = %d",
                 r.MODN.c_str(), r.RCID, r.NAME.c_str(), r.TYPE.c_str(), r.FILE.c_str(),
                 r.EXTR.c_str(), r.MVER.c_str(), r.FLAG);
    TRACE_PRINT("CatdRecords::dump()", g_message);
  }
  TRACE_EXIT("CatdRecords::dump()", 0);
  return 0;
}

int CatsRecords::dump() const {
  TRACE_BEGIN("CatsRecords::dump()");
  for (const CatsRecord& r : *this) {
    SDTS_Message("MODN = %s RcID = %d NAME = %s TYPE = %s MAP = %s THEM = %s AGOB = %s AGTP = %s\n",
                 r.MODN.c_str(), r.RCID, r.NAME.c_str(), r.TYPE.c_str(), r.MAP.c_str(),
                 r.THEM.c_str(), r.AGOB.c_str(), r.AGTP.c_str());
    TRACE_PRINT("CatsRecords::dump()", g_message);
  }
  TRACE_EXIT("CatsRecords::dump()", 0);
  return 0;
}

}  // namespace corvane::sdts
