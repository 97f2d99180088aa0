// A dBase table written row by row whose row count is known only at its end. A table that
// ends with no rows is removed and its "none" line logged; a table dropped unfinished (the
// writer gave up, or the conversion ended) is removed too.
#pragma once

#include <cstdint>
#include <string>

#include "dlgopt/dbf_row.h"
#include "formats/c_file.h"
#include "formats/dbf_writer.h"

namespace corvane::dlgopt {

class RowTable {
 public:
  RowTable(const char* suffix, const formats::DBFFieldDef* fields);
  ~RowTable();
  RowTable(const RowTable&) = delete;
  RowTable& operator=(const RowTable&) = delete;

  // Creates the file with its header; a failure is logged and sets g_opt_status to -1.
  bool open();
  void add(const DbfRow& row);
  // Completes the table; logs `none` when it has no rows (and removes it), else records it
  // in the work file and logs `wrote` with the row count.
  void finish(const char* none, const char* wrote);

  const std::string& path() const { return path_; }

 private:
  [[noreturn]] void write_failed();

  std::string path_;
  const formats::DBFFieldDef* fields_;
  formats::CFile file_;
  std::uint32_t rows_ = 0;
};

}  // namespace corvane::dlgopt
