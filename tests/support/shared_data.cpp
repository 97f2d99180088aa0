#include "tests/support/shared_data.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace corvane::test {

std::string shared_data_dir() {
  const char* override_dir = std::getenv("CORVANE_SHARED_DATA");
  const std::string dir = override_dir ? override_dir : CORVANE_SHARED_DATA;
  return std::filesystem::is_directory(dir) ? dir : std::string();
}

std::filesystem::path fresh_directory(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr)
    throw std::filesystem::filesystem_error("cannot create a test directory", pattern,
                                            std::error_code(errno, std::generic_category()));
  return pattern;
}

}  // namespace corvane::test
