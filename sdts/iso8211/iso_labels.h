// The labels of a field's array descriptor: groups split at "*", labels split at "!".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct IsoLabelNode {
  std::optional<std::string> text;  // absent for an empty label
};

// An empty group holds one absent label.
using IsoLabelGroup = std::vector<IsoLabelNode>;

struct IsoLabels {
  std::vector<IsoLabelGroup> groups;
};

IsoLabels Iso_Parse_Labels(std::string_view descriptor);
