// Writes a dBase III table from a static field table while the caller writes the records.
//
// Calling order: open "wb"; DBF_Write_Header(stream, 0, fields); DBF_Write_Field_Headers;
// per record fwrite the deletion flag ' ' and the values (record length bytes), counting them;
// optionally DBF_Write_End_Mark; rewind; DBF_Write_Header(stream, count, fields); close.
// A caller that knows the count beforehand passes it to the first call and need not rewind.
#pragma once

#include <cstdint>
#include <cstdio>

namespace corvane::formats {

// One entry of a field table; a table ends with an entry whose name is null.
// Names longer than 10 characters are cut to 10.
struct DBFFieldDef {
  const char* name;
  char type;  // 'C' or 'N'
  std::uint8_t length;
  std::uint8_t decimals;
};

// The 32-byte main header with today's date, at the stream's current position.
// 0, or 1 when the table is too wide for the format (reported) or the write failed.
int DBF_Write_Header(std::FILE* stream, std::uint32_t num_records, const DBFFieldDef* fields);
// One 32-byte descriptor per field, then the 0x0D terminator. 0, or 1 when a write failed.
int DBF_Write_Field_Headers(std::FILE* stream, const DBFFieldDef* fields);
// The end-of-file byte 0x1A. 0, or 1 when the write failed.
int DBF_Write_End_Mark(std::FILE* stream);

}  // namespace corvane::formats
