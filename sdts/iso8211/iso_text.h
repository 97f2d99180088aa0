// Small text helpers shared by the DDR and data record parsers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The C library's decimal conversion (leading blanks, a sign, digits up to the first other
// character), clamped so that it cannot overflow.
std::int32_t Iso_Decimal(std::string_view text);

// Splits a DDR field's text at unit and field terminators into elements; an empty element
// between two terminators, or before a leading one, is absent.
std::vector<std::optional<std::string>> Iso_Split_Elements(std::string_view text);

// Splits at unit and field terminators, dropping empty pieces.
std::vector<std::string> Iso_Split_Values(std::string_view text);
