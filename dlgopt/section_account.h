// What became of one element section of a DLG-3 file against the count its header states:
// converted in full, in part (elements skipped, or the section ended early), or missing.
#pragma once

#include <string>
#include <vector>

namespace corvane::dlgopt {

class SectionAccount {
 public:
  // `section` names it ("lines"), `element` one of its elements ("line").
  SectionAccount(const char* section, const char* element, int stated)
      : section_(section), element_(element), stated_(stated) {}

  const char* element() const { return element_; }
  int stated() const { return stated_; }

  // Element `number` (from 1, in the order of the file) was not converted; `what` says so and
  // why ("is damaged (...) and was skipped").
  void skipped(int number, const std::string& what);
  // Why the section ended before the header's count was reached.
  void ended(std::string why) { end_ = std::move(why); }
  void converted(int count) { converted_ = count; }

  // Unless the section was converted in full: one line naming it with its counts and reasons,
  // logged and shown (every skipped element beyond the first few is logged on a line of its
  // own). More elements than the header states are only logged.
  void report() const;

 private:
  const char* section_;
  const char* element_;
  int stated_;
  int converted_ = 0;
  std::string end_;
  std::vector<std::string> skipped_;
};

}  // namespace corvane::dlgopt
