// An input judged before anything of its conversion is made: a regular file whose first
// records make a plausible DLG-3 optional header in one of the record forms.
#pragma once

#include <optional>
#include <string>

#include "dlgopt/dlg_record_reader.h"
#include "dlgopt/run_state.h"
#include "formats/c_file.h"

namespace corvane::dlgopt {

class DlgInput {
 public:
  // Opens `path` and reads its header; the answer is empty when it is a DLG-3 optional file,
  // else the reason it is not one. The reader then stands on the header's last record.
  std::string open(const std::string& path);

  DlgRecordReader& reader() { return *reader_; }
  const DlgHeader& header() const { return header_; }

 private:
  formats::CFile file_;
  std::optional<DlgRecordReader> reader_;
  DlgHeader header_;
};

}  // namespace corvane::dlgopt
