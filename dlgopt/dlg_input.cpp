#include "dlgopt/dlg_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "dlgopt/dlg_header.h"

namespace corvane::dlgopt {

namespace {

// Why `path` cannot be a DLG-3 file whatever it holds; empty when it may be one. Looked at
// before opening, so that a FIFO is never waited on.
std::string file_kind_fault(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    return std::string("it cannot be read (") + std::strerror(errno) + ")";
  if (S_ISDIR(info.st_mode)) return "it is a directory";
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  if (info.st_size == 0) return "it is empty";
  return {};
}

}  // namespace

std::string DlgInput::open(const std::string& path) {
  if (std::string fault = file_kind_fault(path); !fault.empty()) return fault;
  file_ = formats::open_c_file(path, "rb");
  if (!file_) return std::string("it cannot be opened (") + std::strerror(errno) + ")";
  reader_.emplace(file_.get());
  const DlgForm first = reader_->likely_form();
  std::string fault;
  int furthest = -1;
  for (const DlgForm form : {first, first == DlgForm::kLines ? DlgForm::kFixed : DlgForm::kLines}) {
    reader_->restart(form);
    int plausible = 0;
    std::string reading = ReadDlgHeader(*reader_, header_, plausible);
    if (reading.empty()) return {};
    if (plausible > furthest) {
      furthest = plausible;
      fault = std::move(reading);
    }
  }
  return fault;
}

}  // namespace corvane::dlgopt
