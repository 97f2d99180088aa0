#include "dlgopt/dlg_field.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace corvane::dlgopt {

namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The field's text after leading white space and a '+' sign (from_chars accepts neither).
std::string_view number_text(std::string_view record, int offset, int width) {
  if (offset < 0 || width <= 0 || static_cast<std::size_t>(offset) >= record.size()) return {};
  std::string_view field =
      record.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(width));
  // A NUL ends the field as it would end the C string it was copied into.
  field = field.substr(0, field.find('\0'));
  std::size_t start = 0;
  while (start < field.size() && is_space(field[start])) ++start;
  if (start < field.size() && field[start] == '+') ++start;
  return field.substr(start);
}

}  // namespace

void ParseField(std::string_view record, int offset, int width, int& target) {
  const std::string_view text = number_text(record, offset, width);
  std::int64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    value =
        text.starts_with('-') ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
  } else if (result.ec != std::errc()) {
    value = 0;
  }
  if (value > std::numeric_limits<int>::max()) value = std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) value = std::numeric_limits<int>::min();
  target = static_cast<int>(value);
}

void ParseField(std::string_view record, int offset, int width, double& target) {
  const std::string_view text = number_text(record, offset, width);
  double value = 0.0;
  if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) value = 0.0;
  target = value;
}

void ParseField(std::string_view record, int offset, int width, char& target) {
  const std::string field = CopyField(record, offset, width);
  target = (field.empty() || field[0] == ' ') ? '0' : field[0];
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

}  // namespace corvane::dlgopt
