#include "sdts/attributes/dbf_table.h"

#include <charconv>
#include <cstring>

#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

namespace {

constexpr std::uint8_t kIdWidth = 10;

// " %10ld" of the id, without printf, whose format parsing costs more than the rest of a row.
void put_object_id(std::string& row, std::int64_t id) {
  char digits[24];
  const char* const end = std::to_chars(digits, digits + sizeof digits, id).ptr;
  const auto length = static_cast<std::size_t>(end - digits);
  row.assign(1 + (length < kIdWidth ? kIdWidth - length : 0), ' ');
  row.append(digits, length);
}

}  // namespace

SDTSDbfTable::SDTSDbfTable(std::string name) : m_name(std::move(name)) {}

int SDTSDbfTable::open(const std::string& attr_path, const std::string& joined_path,
                       const std::string& id_field) {
  m_attr_table.set_file_name(attr_path);
  m_attr_readable = m_attr_table.open_for_read() == 0 && m_attr_table.read_db_header() == 0;

  m_joined_table.set_file_name(joined_path);
  if (m_joined_table.open_for_write() != 0) return 1;
  m_joined_table.add_field(id_field, 'N', kIdWidth, 0);
  if (m_attr_readable) m_joined_table.add_fields(m_attr_table.get_fields());
  m_joined_writable = m_joined_table.write_db_header() == 0;
  return m_joined_writable ? 0 : 1;
}

int SDTSDbfTable::write_records() {
  if (!m_joined_writable) return m_joins.pairs().empty() ? 0 : 1;
  const std::size_t length = static_cast<std::size_t>(m_joined_table.record_length());
  int result = 0;
  for (const JoinPair& pair : m_joins.pairs()) {
    std::string& row = m_row;
    put_object_id(row, pair.object_id);
    if (m_attr_readable) row += m_attr_table.read_record(pair.attr_id);
    if (row.size() < length) row.resize(length, ' ');
    m_joined_table.set_record(row);
    result |= m_joined_table.write_record();
  }
  return result;
}

void SDTSDbfTable::dump() const {
  TRACE_PRINT("SDTSTable::SDTSDbfTable", SDTS_Message("Table name = %s", m_name.c_str()));
  m_joins.dump();
}

void SDTSDbfTable::close() {
  if (m_attr_readable) m_attr_table.close();
  if (m_joined_writable) m_joined_table.close();
  m_attr_readable = false;
  m_joined_writable = false;
}

}  // namespace corvane::sdts
