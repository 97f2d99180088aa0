#include "sdts/iso8211/iso_text.h"

#include "sdts/iso8211/iso_limits.h"

namespace corvane::iso8211 {

namespace {

bool is_terminator(char c) { return c == ISO_UNIT_TERMINATOR || c == ISO_FIELD_TERMINATOR; }

}  // namespace

std::int32_t Iso_Decimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (v < 1000000000) v = v * 10 + (text[i] - '0');
  if (v > 1000000000) v = 1000000000;
  return static_cast<std::int32_t>(negative ? -v : v);
}

std::vector<std::optional<std::string>> Iso_Split_Elements(std::string_view text) {
  // The marker keeps an empty element from vanishing in a run of terminators.
  std::string marked;
  if (!text.empty() && is_terminator(text[0])) marked += ISO_EMPTY_MARKER;
  for (std::size_t i = 0; i < text.size(); ++i) {
    marked += text[i];
    if (text[i] == ISO_UNIT_TERMINATOR && i + 1 < text.size() && is_terminator(text[i + 1]))
      marked += ISO_EMPTY_MARKER;
  }
  std::vector<std::optional<std::string>> elements;
  for (const std::string& piece : Iso_Split_Values(marked)) {
    if (piece.size() == 1 && piece[0] == ISO_EMPTY_MARKER)
      elements.emplace_back(std::nullopt);
    else
      elements.emplace_back(piece);
  }
  return elements;
}

std::vector<std::string> Iso_Split_Values(std::string_view text) {
  std::vector<std::string> pieces;
  Iso_For_Each_Value(text, [&pieces](std::string_view piece) { pieces.emplace_back(piece); });
  return pieces;
}

}  // namespace corvane::iso8211
