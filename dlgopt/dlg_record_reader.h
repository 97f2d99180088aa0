// Reads the records of a DLG-3 optional-format file in any of the forms found in the wild:
// 80-character records without line ends, 80-character lines, and lines of varying length
// whose trailing blanks were stripped. Every record comes back exactly 80 characters long,
// columns missing from a short line being blanks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace corvane::dlgopt {

inline constexpr std::size_t kDlgRecordWidth = 80;

class DlgRecordReader {
 public:
  // `file` stays owned by the caller and must be positioned at its start.
  explicit DlgRecordReader(std::FILE* file);

  // Looks at the first line to tell the form; false when the file holds nothing to read.
  // Afterwards has_line_ends() tells the form and reading starts again from the top.
  bool detect_form();
  bool has_line_ends() const { return line_ends_; }

  // The next record; false at the end of the file, or when the file ends inside a record
  // of the form without line ends (a cut-off file).
  bool read(std::string& record);
  // Skips `count` records; false when the file ends first.
  bool skip(long count);

  // Bytes not read yet: an upper bound for anything the file can still hold.
  std::uint64_t remaining_bytes() const { return size_ > consumed_ ? size_ - consumed_ : 0; }

 private:
  bool read_fixed(std::string& record);
  bool read_line(std::string& record);

  std::FILE* file_;
  bool line_ends_ = false;
  std::uint64_t size_ = 0;
  std::uint64_t consumed_ = 0;
  std::string scratch_;
};

}  // namespace corvane::dlgopt
