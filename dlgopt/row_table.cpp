#include "dlgopt/row_table.h"

#include <cstdio>

#include "dlgopt/run_state.h"

namespace corvane::dlgopt {

RowTable::RowTable(const char* suffix, const formats::DBFFieldDef* fields)
    : path_(output_path(suffix)), fields_(fields) {}

RowTable::~RowTable() {
  if (file_) {
    file_.reset();
    std::remove(path_.c_str());
  }
}

bool RowTable::open() {
  file_ = formats::open_c_file(path_, "wb");
  if (!file_) {
    report_output_failure(path_);
    return false;
  }
  if (formats::DBF_Write_Header(file_.get(), 0, fields_) != 0 ||
      formats::DBF_Write_Field_Headers(file_.get(), fields_) != 0) {
    write_failed();
  }
  return true;
}

void RowTable::add(const DbfRow& row) {
  if (!row.write(file_.get())) write_failed();
  ++rows_;
}

void RowTable::finish(const char* none, const char* wrote) {
  if (formats::DBF_Write_End_Mark(file_.get()) != 0) write_failed();
  std::rewind(file_.get());
  if (formats::DBF_Write_Header(file_.get(), rows_, fields_) != 0) write_failed();
  if (!formats::close_c_file(file_)) write_failed();
  if (rows_ == 0) {
    std::remove(path_.c_str());
    g_opt_log.printf("%s", none);
  } else {
    g_opt_work_file.record(path_);
    g_opt_log.printf(wrote, static_cast<int>(rows_));
  }
}

void RowTable::write_failed() { opt_fatal("Cannot write to " + path_); }

}  // namespace corvane::dlgopt
