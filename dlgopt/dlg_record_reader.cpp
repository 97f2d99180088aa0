#include "dlgopt/dlg_record_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <limits>

namespace corvane::dlgopt {

namespace {
// The first line is looked at over this many characters: a newline within them means
// the file has line ends.
constexpr std::size_t kFormProbe = 99;

// What may follow the last line without being a record: a DOS end-of-file mark.
bool is_filler(char c) { return c == '\r' || c == '\0' || c == '\x1a'; }
}  // namespace

DlgRecordReader::DlgRecordReader(std::FILE* file) : file_(file) {
  struct stat info {};
  size_ = (::fstat(::fileno(file_), &info) == 0 && S_ISREG(info.st_mode))
              ? static_cast<std::uint64_t>(info.st_size)
              : std::numeric_limits<std::uint64_t>::max();
}

bool DlgRecordReader::detect_form() {
  char probe[kFormProbe];
  const std::size_t got = std::fread(probe, 1, sizeof probe, file_);
  line_ends_ = std::find(probe, probe + got, '\n') != probe + got;
  std::rewind(file_);
  consumed_ = 0;
  return got > 0;
}

bool DlgRecordReader::read(std::string& record) {
  return line_ends_ ? read_line(record) : read_fixed(record);
}

bool DlgRecordReader::skip(long count) {
  for (long i = 0; i < count; ++i) {
    if (!read(scratch_)) return false;
  }
  return true;
}

bool DlgRecordReader::read_fixed(std::string& record) {
  record.assign(kDlgRecordWidth, ' ');
  const std::size_t got = std::fread(record.data(), 1, kDlgRecordWidth, file_);
  consumed_ += got;
  // A part of a record (a file cut short, or a line end after the last record) is no record.
  return got == kDlgRecordWidth;
}

bool DlgRecordReader::read_line(std::string& record) {
  record.clear();
  int c = 0;
  bool any = false;
  while ((c = ::getc_unlocked(file_)) != EOF) {
    any = true;
    ++consumed_;
    if (c == '\n') break;
    if (record.size() < kDlgRecordWidth) record.push_back(static_cast<char>(c));
  }
  if (!any) return false;
  if (c == EOF && std::all_of(record.begin(), record.end(), is_filler)) return false;
  if (!record.empty() && record.back() == '\r') record.pop_back();
  record.resize(kDlgRecordWidth, ' ');
  return true;
}

}  // namespace corvane::dlgopt
