#include "dlgopt/dlg_field.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace corvane::dlgopt {

namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The field's text after leading white space and a '+' sign (from_chars accepts neither); a
// lone sign stays, so that it does not read as a blank field.
std::string_view number_text(std::string_view record, int offset, int width) {
  if (offset < 0 || width <= 0 || static_cast<std::size_t>(offset) >= record.size()) return {};
  std::string_view field =
      record.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(width));
  // A NUL ends the field as it would end the C string it was copied into.
  field = field.substr(0, field.find('\0'));
  std::size_t start = 0;
  while (start < field.size() && is_space(field[start])) ++start;
  if (start + 1 < field.size() && field[start] == '+') ++start;
  return field.substr(start);
}

// Whether nothing but white space follows the number ending at `end`.
bool ends_clean(std::string_view text, const char* end) {
  for (; end != text.data() + text.size(); ++end) {
    if (!is_space(*end)) return false;
  }
  return true;
}

// Skips a Fortran exponent ("D-01") at `end`, when there is one.
const char* past_fortran_exponent(std::string_view text, const char* end) {
  const char* const last = text.data() + text.size();
  if (end == last || (*end != 'D' && *end != 'd')) return end;
  const char* digits = end + 1;
  if (digits != last && (*digits == '+' || *digits == '-')) ++digits;
  const char* p = digits;
  while (p != last && *p >= '0' && *p <= '9') ++p;
  return p == digits ? end : p;
}

}  // namespace

bool ParseField(std::string_view record, int offset, int width, int& target) {
  const std::string_view text = number_text(record, offset, width);
  std::int64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  const bool clean = text.empty() || (result.ec == std::errc() && ends_clean(text, result.ptr) &&
                                      value >= std::numeric_limits<int>::min() &&
                                      value <= std::numeric_limits<int>::max());
  if (result.ec == std::errc::result_out_of_range) {
    value =
        text.starts_with('-') ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
  } else if (result.ec != std::errc()) {
    value = 0;
  }
  if (value > std::numeric_limits<int>::max()) value = std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) value = std::numeric_limits<int>::min();
  target = static_cast<int>(value);
  return clean;
}

bool ParseField(std::string_view record, int offset, int width, double& target) {
  const std::string_view text = number_text(record, offset, width);
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc()) value = 0.0;
  target = value;
  return text.empty() || (result.ec == std::errc() && std::isfinite(value) &&
                          ends_clean(text, past_fortran_exponent(text, result.ptr)));
}

std::string CopyField(std::string_view record, int offset, int width) {
  if (width <= 0) return {};
  std::string field(static_cast<std::size_t>(width), ' ');
  if (offset >= 0 && static_cast<std::size_t>(offset) < record.size()) {
    const std::string_view part = record.substr(static_cast<std::size_t>(offset), field.size());
    field.replace(0, part.size(), part);
  }
  return field;
}

std::string Quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= ' ' && byte <= '~') {
      out += c;
    } else {
      out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
    }
  }
  return out + "\"";
}

bool ParseField(std::string_view record, const NamedField& field, int& target) {
  const std::string blank(static_cast<std::size_t>(field.width), ' ');
  return ParseField(record, field.column - 1, field.width, target) &&
         !(field.required && CopyField(record, field.column - 1, field.width) == blank);
}

std::string DescribeField(std::string_view record, const NamedField& field) {
  return std::string(field.name) + " in columns " + std::to_string(field.column) + "-" +
         std::to_string(field.column + field.width - 1) + " reads " +
         Quoted(CopyField(record, field.column - 1, field.width));
}

}  // namespace corvane::dlgopt
