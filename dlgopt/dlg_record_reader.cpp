#include "dlgopt/dlg_record_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <limits>

namespace corvane::dlgopt {

namespace {
// The first bytes looked at for a line end: enough for a record padded well beyond 80
// characters.
constexpr std::size_t kFormProbe = 256;

// What may follow the last record without being a record: line ends, blanks and a DOS
// end-of-file mark.
bool is_filler(char c) { return c == '\r' || c == '\n' || c == ' ' || c == '\0' || c == '\x1a'; }
}  // namespace

DlgRecordReader::DlgRecordReader(std::FILE* file) : file_(file) {
  struct stat info {};
  size_ = (::fstat(::fileno(file_), &info) == 0 && S_ISREG(info.st_mode))
              ? static_cast<std::uint64_t>(info.st_size)
              : std::numeric_limits<std::uint64_t>::max();
}

DlgForm DlgRecordReader::likely_form() {
  char probe[kFormProbe];
  std::rewind(file_);
  const std::size_t got = std::fread(probe, 1, sizeof probe, file_);
  std::rewind(file_);
  return std::find(probe, probe + got, '\n') != probe + got ? DlgForm::kLines : DlgForm::kFixed;
}

void DlgRecordReader::restart(DlgForm form) {
  std::rewind(file_);
  form_ = form;
  consumed_ = 0;
  has_record_ = overlong_ = ended_inside_ = false;
}

bool DlgRecordReader::next() {
  overlong_ = false;
  has_record_ = form_ == DlgForm::kLines ? read_line() : read_fixed();
  return has_record_;
}

bool DlgRecordReader::read_fixed() {
  record_.assign(kDlgRecordWidth, ' ');
  const std::size_t got = std::fread(record_.data(), 1, kDlgRecordWidth, file_);
  consumed_ += got;
  if (got == kDlgRecordWidth) return true;
  // A line end after the last record is no record; anything more is a record cut short.
  ended_inside_ =
      !std::all_of(record_.begin(), record_.begin() + static_cast<long>(got), is_filler);
  return false;
}

bool DlgRecordReader::read_line() {
  record_.clear();
  int c = 0;
  bool any = false;
  while ((c = ::getc_unlocked(file_)) != EOF) {
    any = true;
    ++consumed_;
    if (c == '\n') break;
    if (record_.size() < kDlgRecordWidth) {
      record_.push_back(static_cast<char>(c));
    } else if (c != ' ' && c != '\r') {
      overlong_ = true;
    }
  }
  if (!any) return false;
  if (c == EOF && !overlong_ && std::all_of(record_.begin(), record_.end(), is_filler))
    return false;
  if (!record_.empty() && record_.back() == '\r') record_.pop_back();
  record_.resize(kDlgRecordWidth, ' ');
  return true;
}

}  // namespace corvane::dlgopt
