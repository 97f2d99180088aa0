#include "frontend/cli/self_path.h"

#include <filesystem>
#include <system_error>

namespace corvane::cli {

std::string self_path() {
  std::error_code ec;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string("corvane") : path.string();
}

}  // namespace corvane::cli
