// Record ids, node ids and counts are read from their text as the C library's atol reads
// it. Nearly all are a few digits, often blank-padded to their field width, which are worth
// reading without the library's general, locale-aware parse; anything else still goes
// through atol itself.
#pragma once

#include <cstdlib>

namespace corvane::sdts {

inline long SDTS_Decimal_Value(const char* text) {
  const char* at = text;
  while (*at == ' ') ++at;
  const bool negative = *at == '-';
  if (negative || *at == '+') ++at;
  long value = 0;
  int digits = 0;
  for (; digits < 18; ++digits) {
    const unsigned digit = static_cast<unsigned>(at[digits]) - '0';
    if (digit > 9) break;
    value = value * 10 + static_cast<long>(digit);
  }
  // Up to 17 digits cannot overflow; other blanks, trailing text or more digits take the
  // general way.
  if (digits > 0 && digits < 18 && at[digits] == '\0') return negative ? -value : value;
  return std::atol(text);
}

}  // namespace corvane::sdts
