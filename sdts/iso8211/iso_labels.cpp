#include "sdts/iso8211/iso_labels.h"

#include <algorithm>

#include "sdts/iso8211/iso_text.h"

namespace corvane::iso8211 {

namespace {

constexpr std::size_t kLongestCycle = 256;

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

IsoLabels Iso_Parse_Labels(std::string_view descriptor) {
  IsoLabels labels;
  std::size_t cycle_length = 1;
  for (std::string_view group_text : split(descriptor, '*')) {
    IsoLabelGroup group;
    for (std::string_view label : split(group_text, '!'))
      group.push_back(label.empty() ? IsoLabelNode{} : IsoLabelNode{std::string(label)});
    cycle_length = std::min(cycle_length * group.size(), kLongestCycle + 1);
    labels.groups.push_back(std::move(group));
  }
  if (cycle_length <= kLongestCycle)
    for (std::size_t i = 0; i < cycle_length; ++i)
      labels.cycle.emplace_back(Iso_C_Text(Iso_Label_Text(labels, i)));
  return labels;
}

std::string Iso_Label_Text(const IsoLabels& labels, std::size_t index) {
  std::string text;
  for (std::size_t g = 0; g < labels.groups.size(); ++g) {
    const IsoLabelGroup& group = labels.groups[g];
    if (g > 0) text += '!';
    if (const auto& label = group[index % group.size()].text) text += *label;
    index /= group.size();
  }
  return text;
}

}  // namespace corvane::iso8211
