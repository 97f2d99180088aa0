// The labels of a field's array descriptor: groups split at "*", labels split at "!".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::iso8211 {

struct IsoLabelNode {
  std::optional<std::string> text;  // absent for an empty label
};

// An empty group holds one absent label.
using IsoLabelGroup = std::vector<IsoLabelNode>;

struct IsoLabels {
  std::vector<IsoLabelGroup> groups;
  // The label text of the field's values in order, one full cycle ("MODN", "RCID", or "!X",
  // "!Y"): made once, as every subfield read asks for it. Empty when the cycle is long.
  std::vector<std::string> cycle;
};

// The label text of a field's `index`-th value: the current label of every group joined with
// "!", where the first group's label moves fastest and a group that runs out starts again
// and moves the next.
std::string Iso_Label_Text(const IsoLabels& labels, std::size_t index);

IsoLabels Iso_Parse_Labels(std::string_view descriptor);

}  // namespace corvane::iso8211
