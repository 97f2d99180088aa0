// Temporary files of a conversion, deleted when its pipeline ends. The list is g_index_files
// of the run state.
#pragma once

#include <string>
#include <vector>

namespace corvane::sdts {

class IndexFiles {
 public:
  static void add_file(const std::string& path);
  // Deletes every listed file (tracing each outcome) and empties the list.
  static void delete_files();
  static const std::vector<std::string>& files();
};

}  // namespace corvane::sdts
