#include "dlgopt/dbf_row.h"

#include <charconv>

namespace corvane::dlgopt {

DbfRow& DbfRow::integer(long long value, std::size_t width, Align align) {
  char digits[32];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return field(std::string_view(digits, static_cast<std::size_t>(end - digits)), width, align);
}

DbfRow& DbfRow::real(double value, std::size_t width, int decimals, Align align) {
  char digits[400];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return field(std::string(width, '*'), width, align);
  return field(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)), width,
               align);
}

DbfRow& DbfRow::text(std::string_view value, std::size_t width) {
  return field(value.substr(0, width), width, kLeft);
}

DbfRow& DbfRow::field(std::string_view value, std::size_t width, Align align) {
  if (value.size() > width) {
    text_.append(width, '*');
    return *this;
  }
  const std::size_t pad = width - value.size();
  if (align == kRight) text_.append(pad, ' ');
  text_.append(value);
  if (align == kLeft) text_.append(pad, ' ');
  return *this;
}

bool DbfRow::write(std::FILE* file) const {
  return std::fwrite(text_.data(), 1, text_.size(), file) == text_.size();
}

}  // namespace corvane::dlgopt
