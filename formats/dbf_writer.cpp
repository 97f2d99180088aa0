#include "formats/dbf_writer.h"

#include <string>

#include "formats/dbf_layout.h"
#include "platform/message_sink.h"

namespace corvane::formats {

namespace {

constexpr long kMaxHeaderField = 0xFFFF;

int write_image(std::FILE* stream, const DBFImage& image) {
  return std::fwrite(image.data(), image.size(), 1, stream) == 1 ? 0 : 1;
}

}  // namespace

int DBF_Write_Header(std::FILE* stream, std::uint32_t num_records, const DBFFieldDef* fields) {
  long num_fields = 0;
  long record_length = 1;
  for (const DBFFieldDef* field = fields; field->name != nullptr; ++field) {
    ++num_fields;
    record_length += field->length;
  }
  const long header_length = dbf_header_length(num_fields);
  // Both lengths are 16-bit in the header; a wider table cannot be described.
  if (header_length > kMaxHeaderField || record_length > kMaxHeaderField) {
    show_message("ERROR: table of " + std::to_string(num_fields) + " fields and record length " +
                 std::to_string(record_length) + " is too wide for dBase");
    return 1;
  }
  const DBFImage image = dbf_main_header(num_records, static_cast<std::uint16_t>(header_length),
                                         static_cast<std::uint16_t>(record_length));
  // The final header is written after a rewind, the last chance to see that the disk
  // refused anything buffered before the caller closes the table.
  if (write_image(stream, image) != 0 || std::fflush(stream) != 0) return 1;
  return 0;
}

int DBF_Write_Field_Headers(std::FILE* stream, const DBFFieldDef* fields) {
  int failed = 0;
  for (const DBFFieldDef* field = fields; field->name != nullptr; ++field)
    failed |= write_image(
        stream, dbf_field_descriptor(field->name, field->type, field->length, field->decimals));
  if (std::fputc(kDbfTerminator, stream) == EOF) failed = 1;
  return failed;
}

int DBF_Write_End_Mark(std::FILE* stream) { return std::fputc(kDbfEndMark, stream) == EOF ? 1 : 0; }

}  // namespace corvane::formats
