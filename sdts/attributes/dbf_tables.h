// Join tables: for every pair of object module and attribute module met, one dBase
// table whose rows are an object's record id followed by a copy of the attribute
// record it refers to, read back from the attribute module's table.
//
// Calling order for a spatial writer:
//   SDTSDbfTables tables; tables.set_name(first MODN of the object module);
//   per attribute reference of a record: tables.insert_attr_id(object id, module, attr id);
//   at the end of every object record: write_records(); dump(); clear_joins();
//   after the last record: close_tables().
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvane::sdts {

struct JoinPair {
  std::int32_t object_id;
  std::int32_t attr_id;
};

// The references of one object record into one attribute module, in reference order.
class SDTSJoinRecords {
 public:
  void append(JoinPair pair) { m_pairs.push_back(pair); }
  void clear() { m_pairs.clear(); }
  const std::vector<JoinPair>& pairs() const { return m_pairs; }
  void dump() const;

 private:
  std::vector<JoinPair> m_pairs;
};

class SDTSDbfTable;

class SDTSDbfTables {
 public:
  // Places the tables in the current conversion's run directory, with the transfer
  // prefix of the current catalog.
  SDTSDbfTables();
  // Places the tables in `run_dir` with the transfer prefix `prefix` (first four
  // characters of the catalog's file name).
  SDTSDbfTables(std::string run_dir, std::string prefix);
  ~SDTSDbfTables();
  SDTSDbfTables(const SDTSDbfTables&) = delete;
  SDTSDbfTables& operator=(const SDTSDbfTables&) = delete;

  // The object module name (first "MODN" value of the module, e.g. LE01).
  void set_name(const std::string& name);
  const std::string& name() const { return m_name; }

  // Records one reference of object `object_id` to record `attr_id` of attribute
  // module `module_name` (e.g. AHPR); opens that module's join table on first use.
  // Returns 0, or 1 when the join table could not be created.
  int insert_attr_id(std::int32_t object_id, const std::string& module_name, std::int32_t attr_id);
  // Writes one joined row per pending reference. Returns 0, or 1 when a write failed.
  int write_records();
  void dump() const;
  void clear_joins();
  // Writes the final record counts and closes every table.
  void close_tables();

 private:
  std::string m_run_dir;
  std::string m_prefix;
  std::string m_name;
  std::vector<std::unique_ptr<SDTSDbfTable>> m_tables;
};

}  // namespace corvane::sdts
