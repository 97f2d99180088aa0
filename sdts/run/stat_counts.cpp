#include "sdts/run/stat_counts.h"

#include "platform/paths.h"

namespace corvane::sdts {

long SDTSStat::count_records(const std::string& path) const {
  const std::string name = corvane::paths::stem_to_first_dot(path);
  if (name.size() <= 4) return 0;
  const auto found = m_counts.find(name.substr(4));
  return found == m_counts.end() ? 0 : found->second;
}

}  // namespace corvane::sdts
