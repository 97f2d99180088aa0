// What the rows of an attribute table need from each record of its module (the record
// number and the values' texts), kept in a work file of the conversion while the first
// pass settles the columns, so that the second pass writes the rows from it instead of
// reading and cutting the whole module again. A large module's records go to disk, so
// memory stays flat however many records the module holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/c_file.h"
#include "sdts/attributes/attr_module_reader.h"

namespace corvane::sdts {

class AttrRecordStaging {
 public:
  // Creates work file `name`, expected to grow to about `expected_bytes`; is_open() tells
  // whether it could be.
  AttrRecordStaging(const std::string& name, std::int64_t expected_bytes);
  // Removes the file.
  ~AttrRecordStaging();
  AttrRecordStaging(const AttrRecordStaging&) = delete;
  AttrRecordStaging& operator=(const AttrRecordStaging&) = delete;

  bool is_open() const { return file_ != nullptr; }
  // Keeps the record's number and the texts of its first `columns` values, and how many
  // values it has. False when the write failed.
  bool put(const AttrRecord& record, std::size_t columns);
  // After the last put: reading starts at the first record.
  bool rewind();
  // The next record as put: number, value count, and the texts kept (the others empty).
  // False after the last one, or when the file does not hold a whole record.
  bool get(AttrRecord& record);

 private:
  std::string name_;
  corvane::formats::CFile file_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace corvane::sdts
