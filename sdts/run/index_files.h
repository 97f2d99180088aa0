// Temporary files of a conversion, deleted when its pipeline ends.
#pragma once

#include <string>
#include <vector>

class IndexFiles {
 public:
  static void add_file(const std::string& path);
  // Deletes every listed file (tracing each outcome) and empties the list.
  static void delete_files();
  // Forgets the list without deleting, for a conversion that starts afresh.
  static void clear();
  static const std::vector<std::string>& files();
};
