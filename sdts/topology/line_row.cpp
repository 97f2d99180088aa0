#include "sdts/topology/line_row.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace corvane::sdts {

namespace {

// Widest "%.4f" of a double: 309 integer digits, sign, point and 4 decimals.
constexpr std::size_t kTextCapacity = 1 + 5 * 11 + 320;

char* put_padded(char* at, char* end_of_text, std::size_t width) {
  std::fill(end_of_text, std::max(end_of_text, at + width), ' ');
  return std::max(end_of_text, at + width);
}

}  // namespace

// Composed without printf, whose format parsing costs more than the rest of a short line's
// work; std::to_chars rounds the length exactly as printf does (to nearest, ties to even).
LineRow Line_Row(std::int32_t line_id, std::int32_t start_node, std::int32_t end_node,
                 std::int32_t left, std::int32_t right, double length) {
  char text[kTextCapacity];
  char* const text_end = text + sizeof text;
  char* at = text;
  *at++ = ' ';
  for (const std::int32_t value : {line_id, start_node, end_node, left, right}) {
    at = put_padded(at, std::to_chars(at, text_end, value).ptr, 8);
  }
  if (std::isfinite(length)) {
    at = put_padded(at, std::to_chars(at, text_end, length, std::chars_format::fixed, 4).ptr, 12);
  } else {
    std::snprintf(at, static_cast<std::size_t>(text_end - at), "%-12.4lf", length);
  }
  LineRow row;
  std::memcpy(row.data(), text, row.size());
  return row;
}

IdRow Id_Row(std::int32_t id) {
  char text[1 + 11];  // the blank flag and the widest 32-bit integer
  text[0] = ' ';
  put_padded(text + 1, std::to_chars(text + 1, text + sizeof text, id).ptr, 8);
  IdRow row;
  std::memcpy(row.data(), text, row.size());
  return row;
}

}  // namespace corvane::sdts
