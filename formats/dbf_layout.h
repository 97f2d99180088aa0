// The 32-byte images that both dBase writers share, so the plain routines and DBaseFile
// cannot drift apart.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace corvane::formats {

using DBFImage = std::array<std::uint8_t, 32>;

inline constexpr std::uint8_t kDbfTerminator = 0x0D;
inline constexpr std::uint8_t kDbfEndMark = 0x1A;
inline constexpr std::size_t kDbfMaxNameLength = 10;

// Version 3, today's local date, the counts; reserved bytes zero.
DBFImage dbf_main_header(std::uint32_t num_records, std::uint16_t header_length,
                         std::uint16_t record_length);
// The name's first 10 characters, zero bytes through byte 10, type, length, decimals.
DBFImage dbf_field_descriptor(std::string_view name, char type, std::uint8_t length,
                              std::uint8_t decimals);
// 32 bytes per field plus the main header and terminator: 32 x fields + 33.
constexpr long dbf_header_length(long num_fields) { return 32 * num_fields + 33; }

}  // namespace corvane::formats
