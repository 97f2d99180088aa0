// Small text helpers shared by the DDR and data record parsers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sdts/iso8211/iso_limits.h"

namespace corvane::iso8211 {

// The C library's decimal conversion (leading blanks, a sign, digits up to the first other
// character), clamped so that it cannot overflow.
std::int32_t Iso_Decimal(std::string_view text);

// The text as a C string holds it: up to its first zero byte. Labels and format texts are
// handed out as C strings, so a damaged DDR's zero byte must end them for every reader alike.
inline std::string_view Iso_C_Text(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// Splits a DDR field's text at unit and field terminators into elements; an empty element
// between two terminators, or before a leading one, is absent.
std::vector<std::optional<std::string>> Iso_Split_Elements(std::string_view text);

// Splits at unit and field terminators, dropping empty pieces.
std::vector<std::string> Iso_Split_Values(std::string_view text);

// The same pieces handed to `take` one by one, without copying them.
template <typename Take>
void Iso_For_Each_Value(std::string_view text, Take&& take) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != ISO_UNIT_TERMINATOR && text[i] != ISO_FIELD_TERMINATOR)
      continue;
    if (i > start) take(text.substr(start, i - start));
    start = i + 1;
  }
}

}  // namespace corvane::iso8211
