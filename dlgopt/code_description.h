// Plain-language descriptions of DLG-3 attribute codes (major, minor), as the attribute
// tables show them in their DEF, CVALUE and IVALUE columns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane::dlgopt {

inline constexpr std::size_t kDefWidth = 91;
inline constexpr std::size_t kValueWidth = 4;

// One described code of a major code whose minor codes each have their own text.
struct CodeDescriptionRow {
  std::int32_t major;
  std::int32_t minor;
  const char* text;  // empty: no standard text gathered yet, described as an unknown minor code
};
// Sorted by (major, minor).
extern const CodeDescriptionRow kCodeDescriptionRows[];
extern const std::size_t kCodeDescriptionRowCount;

// The three table columns: DEF (91 characters), CVALUE (4) and IVALUE (4), blank-padded.
struct CodeDescription {
  std::string def;
  std::string cvalue;
  std::string ivalue;
};

// Describes the pair. Counts airport (197) and place name (207) identifiers in the run state,
// for the airport and place tables.
CodeDescription DescribeCode(std::int32_t major, std::int32_t minor);

// The text row of a described code, or nullptr when the code has none.
const CodeDescriptionRow* FindCodeDescriptionRow(std::int32_t major, std::int32_t minor);

}  // namespace corvane::dlgopt
