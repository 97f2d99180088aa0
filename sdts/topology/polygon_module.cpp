#include "sdts/topology/polygon_module.h"

#include "sdts/attributes/dbf_tables.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"
#include "sdts/topology/subfield_label.h"

namespace corvane::sdts {

SDTSPcFile::SDTSPcFile(const char* file) : SDTSFile(file) {}

int SDTSPcFile::write_dbf_file() {
  static constexpr const char* kRoutine = "SDTSPcFile::write_dbf_file()";
  TRACE_BEGIN(kRoutine);
  g_progress->set_range(0, static_cast<int>(g_stat.count_records(path())));
  g_progress->set_status(SDTS_Message("Building %s shape", path().c_str()));
  SDTSDbfTables tables;
  bool first_record = true;
  std::int32_t polygon_id = 0;
  std::string attr_module;
  int passes = 0;
  const int result = read_module(
      [&] {
        g_progress->set_position(passes++);
        if (tag() == "POLY") {
          if (Label_Is(label(), "MODN") && first_record) {
            tables.set_name(value_text());
            first_record = false;
          } else if (Label_Is(label(), "RCID")) {
            polygon_id = static_cast<std::int32_t>(value_long());
          }
        } else if (tag() == "ATID") {
          if (Label_Is(label(), "MODN")) {
            attr_module = value_text();
          } else if (Label_Is(label(), "RCID")) {
            tables.insert_attr_id(polygon_id, attr_module, static_cast<std::int32_t>(value_long()));
          }
        }
      },
      [&] {
        tables.write_records();
        tables.dump();
        tables.clear_joins();
      });
  TRACE_EXIT(kRoutine, result);
  tables.close_tables();
  return result;
}

}  // namespace corvane::sdts
