#include "dlgopt/section_account.h"

#include "dlgopt/run_state.h"

namespace corvane::dlgopt {

namespace {
// Skipped elements named in the shown line; the log names every one.
constexpr std::size_t kNamedInLine = 3;
}  // namespace

void SectionAccount::skipped(int number, const std::string& what) {
  skipped_.push_back(std::string(element_) + " " + std::to_string(number) + " " + what);
}

void SectionAccount::report() const {
  if (skipped_.empty() && end_.empty() && converted_ >= stated_) {
    if (converted_ > stated_) {
      g_opt_log.printf("%s: %d %s converted, %d more than the header states\n", section_,
                       converted_, section_, converted_ - stated_);
    }
    return;
  }
  std::string line = std::string(section_) +
                     (converted_ == 0 && stated_ > 0 ? ": missing: " : ": converted in part: ") +
                     std::to_string(converted_) + " of the header's " + std::to_string(stated_) +
                     " " + section_ + " converted";
  if (!end_.empty()) line += "; " + end_;
  for (std::size_t k = 0; k < skipped_.size() && k < kNamedInLine; ++k) line += "; " + skipped_[k];
  if (skipped_.size() > kNamedInLine) {
    line += "; " + std::to_string(skipped_.size() - kNamedInLine) + " more " + section_ +
            " were skipped (see the log)";
  }
  report_incomplete(line);
  for (std::size_t k = kNamedInLine; k < skipped_.size(); ++k)
    g_opt_log.printf("%s: %s\n", section_, skipped_[k].c_str());
}

}  // namespace corvane::dlgopt
