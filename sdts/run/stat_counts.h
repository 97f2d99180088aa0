// The transfer statistics (STAT): how many records each module holds, so the writers can
// size their work. The counts are run state; read() is the STAT module reader, so it is
// defined with the other readers in sdts/modules/statistics.cpp.
#pragma once

#include <map>
#include <string>

namespace corvane::sdts {

class SDTSStat {
 public:
  // Adds the counts of the STAT module at `path`. 0 when read, 1 on failure (shown).
  int read(const std::string& path);
  // The count of the module whose file is `path`: its file name without extension, from
  // the fifth character on (…/1234LE01.DDF counts under "LE01"); 0 when none is known.
  long count_records(const std::string& path) const;
  void clear() { m_counts.clear(); }

 private:
  std::map<std::string, long> m_counts;
};

}  // namespace corvane::sdts
