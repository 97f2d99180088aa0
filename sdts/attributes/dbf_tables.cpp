#include "sdts/attributes/dbf_tables.h"

#include "platform/paths.h"
#include "sdts/attributes/dbf_table.h"
#include "sdts/attributes/written_tables.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

void SDTSJoinRecords::dump() const {
  for (const JoinPair& pair : m_pairs)
    TRACE_PRINT("SDTSJoinRecords::dump",
                SDTS_Message("record id = %ld attr id = %ld", static_cast<long>(pair.object_id),
                             static_cast<long>(pair.attr_id)));
}

SDTSDbfTables::SDTSDbfTables() : SDTSDbfTables(g_run_dir, g_file_object.catalog().prefix) {}

SDTSDbfTables::SDTSDbfTables(std::string run_dir, std::string prefix)
    : m_run_dir(std::move(run_dir)), m_prefix(std::move(prefix)) {}

// A conversion that ends early still leaves every join table with its true record count.
SDTSDbfTables::~SDTSDbfTables() {
  try {
    for (const auto& table : m_tables) table->close();
  } catch (...) {
    // Already ending the conversion: the first error is the one reported.
  }
}

void SDTSDbfTables::set_name(const std::string& name) { m_name = name; }

int SDTSDbfTables::insert_attr_id(std::int32_t object_id, const std::string& module_name,
                                  std::int32_t attr_id) {
  for (const auto& table : m_tables) {
    if (table->name() == module_name) {
      table->append({object_id, attr_id});
      return 0;
    }
  }
  constexpr const char* kRoutine = "SDTSDbfTables::insert_attr_id";
  const std::string attr_path = SDTS_Find_Attribute_Table(m_run_dir, m_prefix, module_name);
  // Names come from the module files: only their last part may name a file of the run.
  const std::string joined_name = m_name + "_" + m_prefix + module_name + ".dbf";
  const std::string joined_path =
      corvane::paths::join(m_run_dir, corvane::paths::name_part(joined_name));
  TRACE_PRINT(kRoutine, attr_path);
  TRACE_PRINT(kRoutine, joined_path);
  LOG_LINE(SDTS_Message("Writing attribute records to table %s_%s%s.dbf\n", m_name.c_str(),
                        m_prefix.c_str(), module_name.c_str()));
  WORK_LINE(joined_path);

  auto table = std::make_unique<SDTSDbfTable>(module_name);
  const int result = table->open(attr_path, joined_path, m_name + "_id");
  table->append({object_id, attr_id});
  m_tables.push_back(std::move(table));
  return result;
}

int SDTSDbfTables::write_records() {
  int result = 0;
  for (const auto& table : m_tables) result |= table->write_records();
  return result;
}

void SDTSDbfTables::dump() const {
  // Called for every object record: without a trace, composing its lines would be wasted work.
  if (g_trace_on == 0) return;
  TRACE_BEGIN("SDTSTables::dump");
  for (const auto& table : m_tables) table->dump();
  TRACE_EXIT("SDTSTables::dump", 0);
}

void SDTSDbfTables::clear_joins() {
  for (const auto& table : m_tables) table->clear_joins();
}

void SDTSDbfTables::close_tables() {
  TRACE_BEGIN("SDTSTables::dump");
  for (const auto& table : m_tables) table->close();
  TRACE_EXIT("SDTSTables::dump", 0);
}

}  // namespace corvane::sdts
