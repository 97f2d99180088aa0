// iso8211dump FILE: shows how the reader sees an ISO 8211 file, so that a user can see why a
// transfer does not convert. Layout (scripts rely on it): the DDR's field descriptions on lines
// starting with "#", then one line per subfield: tag, label, format, status, value, separated by
// tabs; binary values as hex digits. A record ends on the line whose status is 3 or 4.
#include <cstdio>
#include <string>
#include <vector>

#include "sdts/iso8211/iso8211.h"
#include "sdts/iso8211/iso_registry.h"

using namespace corvane::iso8211;

namespace {

// Large enough for any value the converters accept, and for the DDRs of real transfers.
constexpr int kValueSize = 10004;
constexpr int kDdrSize = 1 << 20;
constexpr int kTextSize = 100;

void print_ddr(std::FILE* stream, int level) {
  const IsoFileState* file = Iso_Find_File(stream);
  std::printf("# level %d, title %s\n", level, file->file_control.file_title.value_or("").c_str());
  for (const auto& d : file->field_descriptions)
    std::printf("# %s\t%s\t%s\t%s\t%s\n", d.tag.c_str(), d.field_controls.c_str(),
                d.field_name.c_str(), d.array_descriptor_text.c_str(),
                d.format_controls_text.c_str());
}

std::string hex(const char* bytes, int length) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (int i = 0; i < length; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

int fail(const char* path, const char* what, long records) {
  std::fprintf(stderr, "iso8211dump: %s: %s (after %ld data records)\n", path, what, records);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: iso8211dump FILE\n");
    return 2;
  }
  const char* path = argv[1];
  int level = 0, status = 0;
  char inline_code = 0, ext_charset[4] = {};
  std::FILE* stream = nullptr;
  if (!ISO_Open_File(path, "r", &level, &inline_code, ext_charset, &stream))
    return fail(path, "cannot open as an ISO 8211 file", 0);

  std::vector<char> ddr(kDdrSize);
  if (!ISO_Read_DDR(stream, ddr.data(), kDdrSize, &status)) {
    ISO_End_File(&stream);
    return fail(path, "cannot read the DDR", 0);
  }
  print_ddr(stream, level);

  long records = 0;
  std::vector<char> value(kValueSize);
  char tag[ISO_TAG_BUFFER_SIZE], label[kTextSize], format[kTextSize], leader_id = 0;
  int length = 0;
  while (status != ISO_STATUS_END_OF_FILE) {
    if (!ISO_Read_Subfield(stream, tag, &leader_id, value.data(), kValueSize, &length, &status)) {
      ISO_End_File(&stream);
      return fail(path, "cannot read a subfield", records);
    }
    if (!ISO_Check_Subfield(stream, tag, label, kTextSize, format, kTextSize)) {
      ISO_End_File(&stream);
      return fail(path, "cannot describe a subfield", records);
    }
    const std::string shown =
        format[0] == 'B' ? hex(value.data(), length) : std::string(value.data(), length);
    std::printf("%s\t%s\t%s\t%d\t%s\n", tag, label, format, status, shown.c_str());
    if (status == ISO_STATUS_END_OF_RECORD || status == ISO_STATUS_END_OF_FILE) ++records;
  }
  ISO_End_File(&stream);
  return 0;
}
