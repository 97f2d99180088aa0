#include "sdts/iso8211/iso_labels.h"

namespace {

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
  for (std::string_view group_text : split(descriptor, '*')) {
    IsoLabelGroup group;
    for (std::string_view label : split(group_text, '!'))
      group.push_back(label.empty() ? IsoLabelNode{} : IsoLabelNode{std::string(label)});
    labels.groups.push_back(std::move(group));
  }
  return labels;
}
