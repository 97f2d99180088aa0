// How much an archive may unpack to. A damaged or hostile archive can expand without
// bound; we stop well before the disk is full instead of filling it.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::archives {

inline constexpr std::uint64_t kMaxUnpackedBytes = 20ull << 30;  // 20 GiB

// The smaller of 20 GiB and the space free for us in `directory`. The environment
// variable CORVANE_UNPACK_LIMIT (bytes) may lower it further, so that the refusal can
// be exercised without filling a disk.
std::uint64_t unpacked_size_limit(const std::string& directory);

}  // namespace corvane::archives
