// Fixed-column fields of DLG records. Columns are given as a 0-based offset and a width;
// columns past the end of the record read as blanks, so short lines are safe to parse.
#pragma once

#include <string>
#include <string_view>

namespace corvane::dlgopt {

// A field that is blank or holds no number reads as 0; numbers are read as far as they go
// ("12AB" is 12), independently of the process locale. The answer tells whether the field was
// well formed: blank, or one number between white space (a real may carry a Fortran exponent,
// "6.35D-01", which is not applied).
bool ParseField(std::string_view record, int offset, int width, int& target);
bool ParseField(std::string_view record, int offset, int width, double& target);

// The columns verbatim, no trimming, padded with blanks to `width`.
std::string CopyField(std::string_view record, int offset, int width);

// A field as the format describes it: columns counted from 1, and its name for messages.
struct NamedField {
  int column;
  int width;
  const char* name;
  bool required = false;  // blank is not enough
};

// The integer in `field`: false when it is not well formed, or blank when it is required.
bool ParseField(std::string_view record, const NamedField& field, int& target);
// For messages: the field quoted as it stands, bytes that are not printable written as \xNN:
// number of coordinate pairs in columns 43-48 reads "  12AB".
std::string DescribeField(std::string_view record, const NamedField& field);
// The text in quotes as DescribeField writes it.
std::string Quoted(std::string_view text);

}  // namespace corvane::dlgopt
