// The columns of one attribute module's table, and its field-name table.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "formats/dbf_writer.h"

namespace corvane::sdts {

// One column: the record-number column (named module "_RCID") or one attribute.
struct SDTSAttrField {
  std::int32_t position = 0;  // column index, in order of discovery
  std::string name;           // full name; the table's descriptor holds a 10-character form
  std::string format;         // as the ISO 8211 reader describes the subfield, e.g. "A(7)"
  std::int32_t width = 0;     // characters of the longest value
  std::int32_t decimals = 0;  // digits after the point of real values

  // 'N' for integer, real and 32-bit binary subfields, 'C' for everything else.
  char type() const;
  // 32-bit binary subfields, written as decimal text.
  bool is_binary_int() const;
};

class SDTSAttrTable {
 public:
  // A dBase field is at most this wide; longer values are cut to it.
  static constexpr std::int32_t kMaxWidth = 255;
  // Decimal text of any 32-bit value: "-2147483648".
  static constexpr std::int32_t kBinaryIntWidth = 11;

  explicit SDTSAttrTable(std::string base_path);

  // Adds `field`. A name already present gets a numeric suffix ("ELEVATION_2"), so every
  // column keeps a place in the table. Returns the name the field was given.
  std::string insert_field(SDTSAttrField field);
  // Widens the column at `position` to hold `width` characters with `decimals` digits
  // after the point.
  void widen(std::int32_t position, std::int32_t width, std::int32_t decimals);
  // Builds the field table in column order, with descriptor names cut to 10 characters
  // and made unique. 0, or 1 (traced) when the positions leave a hole.
  int make_dbf_structure();
  // Writes the table "<table path up to the first '.' of its name>(Name).dbf" that lists
  // each column's full name beside its descriptor name. 0, or 1 when it cannot be written.
  int make_field_name_look_up_table(const std::string& table_path);

  // Ends with an entry whose name is null; valid after make_dbf_structure.
  const corvane::formats::DBFFieldDef* dbf_fields() const { return m_dbf_fields.data(); }

 private:
  std::string m_base_path;
  std::map<std::string, SDTSAttrField> m_fields;  // by full name
  std::vector<const SDTSAttrField*> m_columns;
  std::vector<std::string> m_dbf_names;
  std::vector<corvane::formats::DBFFieldDef> m_dbf_fields;
};

// The dBase descriptor name of each column: the first 10 characters of its full name,
// with a numeric suffix where that would repeat an earlier column's.
std::vector<std::string> SDTS_Unique_DBF_Names(const std::vector<std::string>& full_names);

}  // namespace corvane::sdts
