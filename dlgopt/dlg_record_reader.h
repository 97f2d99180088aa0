// Reads the records of a DLG-3 optional-format file in any of the forms found in the wild:
// 80-character records without line ends, 80-character lines, and lines of varying length
// whose trailing blanks were stripped or which blanks pad beyond 80 characters. Every record
// comes back exactly 80 characters long, columns missing from a short line being blanks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace corvane::dlgopt {

inline constexpr std::size_t kDlgRecordWidth = 80;

enum class DlgForm {
  kFixed,  // 80-character records without line ends
  kLines,  // records ended by line ends
};

class DlgRecordReader {
 public:
  // `file` stays owned by the caller.
  explicit DlgRecordReader(std::FILE* file);

  // The form to try first: lines when the first bytes hold a line end. Read with restart().
  DlgForm likely_form();
  // Reads from the top of the file again, in `form`.
  void restart(DlgForm form);
  DlgForm form() const { return form_; }

  // Moves to the next record; false at the end of the file, or when the file ends inside a
  // record of the form without line ends.
  bool next();
  // The record next() moved to, valid while next() answered true.
  const std::string& record() const { return record_; }
  bool has_record() const { return has_record_; }
  // Whether that record is a line holding more than blanks beyond column 80.
  bool overlong() const { return overlong_; }
  // After next() answered false: whether the file ended inside a record rather than after one.
  bool ended_inside_record() const { return ended_inside_; }

  // Bytes not read yet: an upper bound for anything the file can still hold.
  std::uint64_t remaining_bytes() const { return size_ > consumed_ ? size_ - consumed_ : 0; }

 private:
  bool read_fixed();
  bool read_line();

  std::FILE* file_;
  DlgForm form_ = DlgForm::kFixed;
  std::uint64_t size_ = 0;
  std::uint64_t consumed_ = 0;
  std::string record_;
  bool has_record_ = false;
  bool overlong_ = false;
  bool ended_inside_ = false;
};

}  // namespace corvane::dlgopt
