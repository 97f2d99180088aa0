#include "frontend/batch/file_selection.h"

#include <algorithm>

namespace corvane::batch {

std::vector<std::string> selected_paths(std::string_view directory,
                                        const std::vector<std::string>& names) {
  std::vector<std::string> paths;
  for (const std::string& name : names) {
    std::string path(directory);
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    paths.push_back(path + name);
  }
  return paths;
}

std::vector<std::string> parse_file_open_buffer(std::string_view buffer) {
  std::vector<std::string> strings;
  std::size_t start = 0;
  while (start < buffer.size()) {
    const std::size_t end = std::min(buffer.find('\0', start), buffer.size());
    if (end == start) break;
    strings.emplace_back(buffer.substr(start, end - start));
    start = end + 1;
  }
  if (strings.size() <= 1) return strings;
  return selected_paths(strings.front(),
                        std::vector<std::string>(strings.begin() + 1, strings.end()));
}

}  // namespace corvane::batch
