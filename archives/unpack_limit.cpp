#include "archives/unpack_limit.h"

#include <sys/statvfs.h>

#include <cstdio>
#include <cstdlib>

namespace corvane::archives {

namespace {

std::string size_text(std::uint64_t bytes) {
  char text[64];
  if (bytes >= (1ull << 30))
    std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / (1ull << 30));
  else if (bytes >= (1ull << 20))
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1ull << 20));
  else
    std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
  return text;
}

}  // namespace

UnpackLimit unpack_limit(const std::string& directory) {
  UnpackLimit limit{kMaxUnpackedBytes, "the most corvane unpacks"};
  struct statvfs fs {};
  if (::statvfs(directory.c_str(), &fs) == 0) {
    const std::uint64_t free = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
    if (free < limit.bytes) limit = {free, "the space free in " + directory};
  }
  if (const char* text = std::getenv("CORVANE_UNPACK_LIMIT"); text != nullptr && *text != '\0') {
    char* end = nullptr;
    const unsigned long long requested = std::strtoull(text, &end, 10);
    if (end != text && *end == '\0' && requested < limit.bytes)
      limit = {requested, "set by CORVANE_UNPACK_LIMIT"};
  }
  limit.what = size_text(limit.bytes) + ", " + limit.what;
  return limit;
}

}  // namespace corvane::archives
