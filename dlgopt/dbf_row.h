// Composes one dBase row field by field. Every field is exactly its width, so a value too
// wide for its field can never shift the fields after it: numbers that do not fit are
// written as asterisks, texts are cut. Numbers are written without regard to the locale.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace corvane::dlgopt {

class DbfRow {
 public:
  DbfRow() : text_(1, ' ') {}  // the deletion flag: not deleted

  enum Align { kRight, kLeft };

  DbfRow& integer(long long value, std::size_t width, Align align);
  DbfRow& real(double value, std::size_t width, int decimals, Align align);
  DbfRow& text(std::string_view value, std::size_t width);

  const std::string& bytes() const { return text_; }
  // Writes the row; false when the write fell short.
  bool write(std::FILE* file) const;

 private:
  DbfRow& field(std::string_view value, std::size_t width, Align align);
  std::string text_;
};

}  // namespace corvane::dlgopt
