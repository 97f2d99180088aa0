// Fixed-column fields of DLG records. Columns are given as a 0-based offset and a width;
// columns past the end of the record read as blanks, so short lines are safe to parse.
#pragma once

#include <string>
#include <string_view>

namespace corvane::dlgopt {

// A field that is blank or holds no number reads as 0; numbers are read as far as they go
// ("12AB" is 12), independently of the process locale.
void ParseField(std::string_view record, int offset, int width, int& target);
void ParseField(std::string_view record, int offset, int width, double& target);
// The field's first character ('0' when it is blank or beyond the record).
void ParseField(std::string_view record, int offset, int width, char& target);

// The columns verbatim, no trimming, padded with blanks to `width`.
std::string CopyField(std::string_view record, int offset, int width);

}  // namespace corvane::dlgopt
