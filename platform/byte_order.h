// Byte-order encoding for every on-disk layout we read or write. The bytes produced do not
// depend on the host's order: a value is copied as it is when the host's order is the one
// wanted, and its bytes reversed first otherwise (a copy of a known size compiles to one
// load or store, where composing bytes one by one cost a dozen instructions per value).
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace corvane::bytes {

namespace detail {

inline std::uint16_t swap(std::uint16_t v) { return __builtin_bswap16(v); }
inline std::uint32_t swap(std::uint32_t v) { return __builtin_bswap32(v); }
inline std::uint64_t swap(std::uint64_t v) { return __builtin_bswap64(v); }

template <std::endian Order, typename T>
inline void put(std::uint8_t* out, T v) {
  if constexpr (std::endian::native != Order) v = swap(v);
  std::memcpy(out, &v, sizeof v);
}

template <std::endian Order, typename T>
inline T get(const std::uint8_t* in) {
  T v;
  std::memcpy(&v, in, sizeof v);
  if constexpr (std::endian::native != Order) v = swap(v);
  return v;
}

}  // namespace detail

inline void put_le32(std::uint8_t* out, std::uint32_t v) {
  detail::put<std::endian::little>(out, v);
}
inline void put_be32(std::uint8_t* out, std::uint32_t v) { detail::put<std::endian::big>(out, v); }
inline void put_le16(std::uint8_t* out, std::uint16_t v) {
  detail::put<std::endian::little>(out, v);
}
inline void put_le64(std::uint8_t* out, std::uint64_t v) {
  detail::put<std::endian::little>(out, v);
}
inline void put_le_double(std::uint8_t* out, double d) {
  put_le64(out, std::bit_cast<std::uint64_t>(d));
}

inline std::uint32_t get_le32(const std::uint8_t* in) {
  return detail::get<std::endian::little, std::uint32_t>(in);
}
inline std::uint32_t get_be32(const std::uint8_t* in) {
  return detail::get<std::endian::big, std::uint32_t>(in);
}
inline std::uint16_t get_le16(const std::uint8_t* in) {
  return detail::get<std::endian::little, std::uint16_t>(in);
}
inline std::uint64_t get_le64(const std::uint8_t* in) {
  return detail::get<std::endian::little, std::uint64_t>(in);
}
inline double get_le_double(const std::uint8_t* in) { return std::bit_cast<double>(get_le64(in)); }

inline void put_le32s(std::uint8_t* out, std::int32_t v) {
  put_le32(out, static_cast<std::uint32_t>(v));
}
inline void put_be32s(std::uint8_t* out, std::int32_t v) {
  put_be32(out, static_cast<std::uint32_t>(v));
}
inline std::int32_t get_le32s(const std::uint8_t* in) {
  return static_cast<std::int32_t>(get_le32(in));
}
inline std::int32_t get_be32s(const std::uint8_t* in) {
  return static_cast<std::int32_t>(get_be32(in));
}

}  // namespace corvane::bytes
