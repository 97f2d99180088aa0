// How much an archive may unpack to. A damaged or hostile archive can expand without
// bound; we stop well before the disk is full instead of filling it.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::archives {

inline constexpr std::uint64_t kMaxUnpackedBytes = 20ull << 30;  // 20 GiB

struct UnpackLimit {
  std::uint64_t bytes = kMaxUnpackedBytes;
  std::string what;  // the limit in force, as a refusal names it: "1000 bytes, set by ..."
};

// The smallest of 20 GiB, the space free for us in `directory` and, when set, the
// environment variable CORVANE_UNPACK_LIMIT (bytes), which lets a user or a test lower it.
UnpackLimit unpack_limit(const std::string& directory);

}  // namespace corvane::archives
