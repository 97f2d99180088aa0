// Subfield labels as the reader describes them: a label of a repeating field carries a
// leading "!" (or "*" on the first), so "X", "!X" and "*X" all name the subfield X.
#pragma once

#include <string_view>

namespace corvane::sdts {

inline bool Label_Is(std::string_view label, std::string_view name) {
  while (!label.empty() && (label.front() == '!' || label.front() == '*')) label.remove_prefix(1);
  return label == name;
}

}  // namespace corvane::sdts
