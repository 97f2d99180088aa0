// The join table of one object module and one attribute module.
#pragma once

#include <string>

#include "formats/dbase_file.h"
#include "sdts/attributes/dbf_tables.h"

namespace corvane::sdts {

class SDTSDbfTable {
 public:
  // `name` is the attribute module's name as the objects refer to it (e.g. AHPR).
  explicit SDTSDbfTable(std::string name);

  // Opens the attribute table `attr_path` for reading and creates `joined_path` with the
  // column `id_field` N(10) followed by copies of the attribute table's columns. An
  // attribute table that cannot be read gives a joined table of the id column alone.
  // 0, or 1 when the joined table cannot be created.
  int open(const std::string& attr_path, const std::string& joined_path,
           const std::string& id_field);
  void append(JoinPair pair) { m_joins.append(pair); }
  // One row per pending pair: " %10ld" with the object id, then the attribute record
  // (blanks when the attribute table has no such record).
  int write_records();
  void dump() const;
  void clear_joins() { m_joins.clear(); }
  // Writes the joined table's record count; closes both tables.
  void close();

  const std::string& name() const { return m_name; }

 private:
  std::string m_name;
  corvane::formats::DBaseFile m_attr_table;
  corvane::formats::DBaseFile m_joined_table;
  bool m_attr_readable = false;
  bool m_joined_writable = false;
  SDTSJoinRecords m_joins;
  std::string m_row;  // reused, so rows cost no allocation
};

}  // namespace corvane::sdts
