#include "tests/support/shared_data.h"

#include <cstdlib>
#include <filesystem>

namespace corvane::test {

std::string shared_data_dir() {
  const char* override_dir = std::getenv("CORVANE_SHARED_DATA");
  const std::string dir = override_dir ? override_dir : CORVANE_SHARED_DATA;
  return std::filesystem::is_directory(dir) ? dir : std::string();
}

}  // namespace corvane::test
