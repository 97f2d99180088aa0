#include "platform/message_sink.h"
#include "sdts/modules/sdts_file.h"
#include "sdts/run/run_state.h"
#include "sdts/run/stat_counts.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

int SDTSStat::read(const std::string& path) {
  TRACE_BEGIN("SDTSStat::read()");
  TRACE_PRINT("SDTSStat::read()", SDTS_Message("Read %s Stat file", path.c_str()));
  SDTSFile module(path);
  std::string name;
  long count = 0;
  // A record that cannot be read ends the module; the counts so far stay.
  const int result = module.read_module(
      [&] {
        if (module.tag() != "STAT") return;
        if (module.label() == "MNRF")
          name = module.value_text();
        else if (module.label() == "NREC")
          count = module.value_long();
      },
      [&] {
        m_counts.insert({name, count});
      });
  if (result != 0)
    corvane::show_message(SDTS_Message("\n*** ERROR READING STAT MODULE %s ***", path.c_str()));
  TRACE_EXIT("SDTSStat::read()", result);
  return result;
}

}  // namespace corvane::sdts
