// The parsed format controls of a field, e.g. "(A,3(I(1),R(2)))", as a tree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::iso8211 {

struct IsoFormatNode {
  std::int32_t repeat_count = 0;  // 0 for a typed node
  char type = 0;                  // type letter; 0 for a group
  std::int32_t width = 0;         // characters, or bits for "B"; 0 when none
  char delimiter = 0;             // 0 when none
  bool parenthesised = false;     // a group written as "n(" ... ")"
  std::vector<IsoFormatNode> children;
  std::string description;  // describe()'s text, made once when the formats are parsed

  bool is_binary() const { return type == 'B'; }
  // Binary with a width: its length does not depend on the data.
  bool is_fixed_binary() const { return type == 'B' && width > 0; }
  // The text ISO_Check_Subfield shows: "A", "I(6)", "B(32)", "A(,)"; empty for a group.
  const std::string& describe() const { return description; }
};

// Parses format controls into a root node (repeat count 1) holding the top-level items.
// Returns false for text not enclosed in "(" ... ")" or otherwise malformed.
bool Iso_Parse_Formats(std::string_view text, IsoFormatNode& root);

}  // namespace corvane::iso8211
