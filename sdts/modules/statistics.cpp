#include "sdts/run/stat_counts.h"

#include <cstdlib>
#include <cstring>

#include "platform/message_sink.h"
#include "platform/paths.h"
#include "sdts/iso8211/iso8211.h"
#include "sdts/iso8211/iso_value_runs.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

using namespace corvane::iso8211;

namespace {

struct IsoFile {
  std::FILE* stream = nullptr;
  ~IsoFile() {
    if (stream != nullptr) ISO_End_File(&stream);
  }
};

}  // namespace

int SDTSStat::read(const std::string& path) {
  TRACE_BEGIN("SDTSStat::read()");
  TRACE_PRINT("SDTSStat::read()", SDTS_Message("Read %s Stat file", path.c_str()));
  ISO_Byte_Order(&g_byte_order);
  IsoFile file;
  int level = 0;
  char inline_code = 0;
  char ext_charset[4] = {};
  const std::string on_disk = corvane::paths::resolve_case_insensitive(path);
  if (ISO_Open_File(on_disk.c_str(), "R", &level, &inline_code, ext_charset, &file.stream) == 0) {
    TRACE_ERROR("SDTSStat::read()", "*** Open file failed ***", path);
    corvane::show_message("\n*** ERROR READING DDR ***");
    TRACE_EXIT("SDTSStat::read()", 1);
    return 1;
  }
  if (ISO_Read_DDR(file.stream, g_sf_value, static_cast<int>(kSfValueSize), &g_sf_status) == 0) {
    corvane::show_message("\n*** ERROR READING DDR ***");
    TRACE_EXIT("SDTSStat::read()", 1);
    return 1;
  }
  int result = 0;
  std::string module;
  long count = 0;
  while (g_sf_status != ISO_STATUS_END_OF_FILE) {
    if (ISO_Read_Subfield(file.stream, g_sf_tag, &g_sf_leader, g_sf_value,
                          static_cast<int>(kSfValueSize), &g_sf_length, &g_sf_status) == 0) {
      // The reader cannot move past a record it cannot read; the counts so far stay.
      corvane::show_message(SDTS_Message("ERROR READING DATA RECORD SUBFIELD %s, %d %s %d %d",
                                         g_sf_tag, g_sf_leader, "", g_sf_length, g_sf_status));
      result = 1;
      break;
    }
    if (ISO_Check_Subfield(file.stream, g_sf_tag, g_sf_descr, static_cast<int>(kSfTextSize),
                           g_sf_frmts, static_cast<int>(kSfTextSize)) == 0) {
      corvane::show_message("\nERROR CHECKING DATA RECORD SUBFIELD");
      result = 1;
      break;
    }
    if (std::strcmp(g_sf_tag, "STAT") == 0) {
      if (std::strcmp(g_sf_descr, "MNRF") == 0) module = g_sf_value;
      else if (std::strcmp(g_sf_descr, "NREC") == 0) count = std::atol(g_sf_value);
    }
    if (ISO_Ends_Record(g_sf_status))
      m_counts.insert({module, count});
  }
  TRACE_EXIT("SDTSStat::read()", result);
  return result;
}

}  // namespace corvane::sdts
