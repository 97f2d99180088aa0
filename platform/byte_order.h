// Byte-order encoding for every on-disk layout we read or write.
// Values are composed with shifts, so the bytes produced do not depend on the host's order.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace corvane::bytes {

inline void put_le32(std::uint8_t* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void put_be32(std::uint8_t* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[3 - i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void put_le16(std::uint8_t* out, std::uint16_t v) {
  out[0] = static_cast<std::uint8_t>(v);
  out[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put_le64(std::uint8_t* out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void put_le_double(std::uint8_t* out, double d) { put_le64(out, std::bit_cast<std::uint64_t>(d)); }

inline std::uint32_t get_le32(const std::uint8_t* in) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(in[i]) << (8 * i);
  return v;
}
inline std::uint32_t get_be32(const std::uint8_t* in) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(in[i]) << (8 * (3 - i));
  return v;
}
inline std::uint16_t get_le16(const std::uint8_t* in) {
  return static_cast<std::uint16_t>(in[0] | (in[1] << 8));
}
inline std::uint64_t get_le64(const std::uint8_t* in) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(in[i]) << (8 * i);
  return v;
}
inline double get_le_double(const std::uint8_t* in) { return std::bit_cast<double>(get_le64(in)); }

inline void put_le32s(std::uint8_t* out, std::int32_t v) { put_le32(out, static_cast<std::uint32_t>(v)); }
inline void put_be32s(std::uint8_t* out, std::int32_t v) { put_be32(out, static_cast<std::uint32_t>(v)); }
inline std::int32_t get_le32s(const std::uint8_t* in) { return static_cast<std::int32_t>(get_le32(in)); }
inline std::int32_t get_be32s(const std::uint8_t* in) { return static_cast<std::int32_t>(get_be32(in)); }

}  // namespace corvane::bytes
