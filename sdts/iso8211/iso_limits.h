// Limits of the reader and the bytes with a fixed meaning in ISO 8211 files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::iso8211 {

inline constexpr char ISO_FIELD_TERMINATOR = 0x1E;
inline constexpr char ISO_UNIT_TERMINATOR = 0x1F;
inline constexpr char ISO_EMPTY_MARKER = static_cast<char>(0xFF);

// The longest delimited value or array field the reader takes; longer ones are refused.
inline constexpr std::size_t ISO_SCRATCH_SIZE = 128000;
// Nested "n(" groups in format controls; deeper nesting is refused rather than recursed into.
inline constexpr int ISO_MAX_FORMAT_DEPTH = 32;
// Widths and repeat counts above this are refused (no real format comes near it).
inline constexpr std::int32_t ISO_MAX_FORMAT_NUMBER = 100000000;

}  // namespace corvane::iso8211
