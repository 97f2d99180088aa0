// The lookup by key used for lines, airports and places: a halving search over entries
// sorted by key. With unique keys it finds what any binary search finds; among repeated
// keys it returns the first it meets, looking at both ends of the range before its middle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane::dlgopt {

// Index of an entry whose key equals `id`, or -1. `key` gives an entry's key.
template <typename T, typename KeyOf>
long halving_search(std::span<const T> entries, std::int64_t id, KeyOf key) {
  if (entries.empty()) return -1;
  long lo = 0;
  long hi = static_cast<long>(entries.size()) - 1;
  if (lo == hi) return key(entries[0]) == id ? 0 : -1;
  while (hi > lo) {
    if (key(entries[lo]) == id) return lo;
    if (key(entries[hi]) == id) return hi;
    const long mid = (lo + hi) / 2;
    if (key(entries[mid]) == id) return mid;
    if (hi - lo == 1) break;
    if (id < key(entries[mid])) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  return -1;
}

}  // namespace corvane::dlgopt
