#include "sdts/topology/polygon_module.h"

#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"
#include "sdts/topology/object_joins.h"

namespace corvane::sdts {

SDTSPcFile::SDTSPcFile(const char* file) : SDTSFile(file) {}

int SDTSPcFile::write_dbf_file() {
  static constexpr const char* kRoutine = "SDTSPcFile::write_dbf_file()";
  TRACE_BEGIN(kRoutine);
  g_progress->set_range(0, static_cast<int>(g_stat.count_records(path())));
  g_progress->set_status(SDTS_Message("Building %s shape", path().c_str()));
  ObjectJoins joins;
  int passes = 0;
  const int result = read_module(
      [&] {
        g_progress->set_position(passes++);
        joins.take("POLY", tag(), label(), value_text().c_str());
      },
      [&] { joins.end_record(); });
  TRACE_EXIT(kRoutine, result);
  joins.close();
  return result;
}

}  // namespace corvane::sdts
