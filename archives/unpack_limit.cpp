#include "archives/unpack_limit.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cstdlib>

namespace corvane::archives {

std::uint64_t unpacked_size_limit(const std::string& directory) {
  std::uint64_t limit = kMaxUnpackedBytes;
  struct statvfs fs {};
  if (::statvfs(directory.c_str(), &fs) == 0) {
    limit = std::min<std::uint64_t>(limit, static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize);
  }
  if (const char* text = std::getenv("CORVANE_UNPACK_LIMIT"); text != nullptr && *text != '\0') {
    char* end = nullptr;
    const unsigned long long requested = std::strtoull(text, &end, 10);
    if (end != text && *end == '\0') limit = std::min<std::uint64_t>(limit, requested);
  }
  return limit;
}

}  // namespace corvane::archives
