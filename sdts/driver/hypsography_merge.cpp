#include "sdts/driver/hypsography_merge.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "formats/c_file.h"
#include "formats/dbf_writer.h"
#include "platform/byte_order.h"
#include "platform/message_sink.h"
#include "platform/paths.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

using corvane::formats::CFile;
using corvane::formats::kBulkStreamBuffer;
using corvane::formats::open_c_file;

namespace {

constexpr const char* kRoutine = "Merge_Hypsography_Tables";
constexpr const char* kUnreadable = "cannot reader db header";

// A dBase table read whole: its field descriptors and its records.
struct DbfImage {
  struct Field {
    std::string name;
    char type;
    std::uint8_t length;
    std::uint8_t decimals;
  };
  std::vector<Field> fields;
  std::uint32_t count = 0;
  std::size_t record_length = 0;
  std::vector<char> records;

  const char* record(std::size_t i) const { return records.data() + i * record_length; }
  // The integer at the start of the record's first field, read as "%d" would.
  std::optional<long> key(std::size_t i) const {
    char text[256];  // a field is at most 255 characters
    const std::size_t length = fields.front().length;
    std::memcpy(text, record(i) + 1, length);
    text[length] = '\0';
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text) return std::nullopt;
    return value;
  }
};

// Reads `path` whole after checking every size its header claims against the file's
// real size, so a damaged table is refused before anything is allocated for it.
std::optional<DbfImage> read_table(const std::string& path) {
  CFile file = open_c_file(path, "rb");
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  std::array<std::uint8_t, 32> header{};
  if (!file || error || std::fread(header.data(), 1, 32, file.get()) != 32) return std::nullopt;

  DbfImage image;
  image.count = corvane::bytes::get_le32(header.data() + 4);
  const std::size_t header_length = corvane::bytes::get_le16(header.data() + 8);
  image.record_length = corvane::bytes::get_le16(header.data() + 10);
  if (header_length < 65 || header_length > size || image.record_length < 2) return std::nullopt;
  const std::size_t num_fields = (header_length - 1) / 32 - 1;
  const std::size_t data_bytes = static_cast<std::size_t>(size) - header_length;
  if (image.count > data_bytes / image.record_length) return std::nullopt;

  std::size_t record_length = 1;
  for (std::size_t i = 0; i < num_fields; ++i) {
    std::array<std::uint8_t, 32> descriptor{};
    if (std::fread(descriptor.data(), 1, 32, file.get()) != 32) return std::nullopt;
    const auto* name = reinterpret_cast<const char*>(descriptor.data());
    image.fields.push_back({std::string(name, strnlen(name, 11)), static_cast<char>(descriptor[11]),
                            descriptor[16], descriptor[17]});
    record_length += descriptor[16];
  }
  if (record_length != image.record_length || image.fields.front().length == 0) return std::nullopt;

  image.records.resize(image.count * image.record_length);
  if (std::fseek(file.get(), static_cast<long>(header_length), SEEK_SET) != 0 ||
      std::fread(image.records.data(), 1, image.records.size(), file.get()) != image.records.size())
    return std::nullopt;
  return image;
}

std::vector<corvane::formats::DBFFieldDef> merged_fields(const DbfImage& g, const DbfImage& a) {
  std::vector<corvane::formats::DBFFieldDef> fields;
  for (const auto& f : g.fields) fields.push_back({f.name.c_str(), f.type, f.length, f.decimals});
  for (auto f = a.fields.begin() + 1; f != a.fields.end(); ++f)
    fields.push_back({f->name.c_str(), f->type, f->length, f->decimals});
  fields.push_back({nullptr, 0, 0, 0});
  return fields;
}

// Writes G's records, each followed by the values of the A record with the same key (A's
// first column left out), or by blanks when A has none. Both tables are in ascending order
// of their first column, so one forward walk over A serves all of G.
bool write_merged(std::FILE* out, const DbfImage& g, const DbfImage& a) {
  const std::size_t skip = 1 + a.fields.front().length;
  const std::size_t a_width = a.record_length - skip;
  const std::string blanks(a_width, ' ');
  std::size_t cursor = 0;
  std::optional<long> a_key = a.count > 0 ? a.key(0) : std::nullopt;
  const auto advance = [&] {
    ++cursor;
    a_key = cursor < a.count ? a.key(cursor) : std::nullopt;
  };
  for (std::size_t i = 0; i < g.count; ++i) {
    if (std::fwrite(g.record(i), 1, g.record_length, out) != g.record_length) return false;
    const char* values = blanks.data();
    if (const auto key = g.key(i)) {
      while (cursor < a.count && (!a_key || *a_key < *key)) advance();
      if (cursor < a.count && *a_key == *key) {
        values = a.record(cursor) + skip;
        advance();
      }
    }
    if (std::fwrite(values, 1, a_width, out) != a_width) return false;
  }
  return corvane::formats::DBF_Write_End_Mark(out) == 0;
}

// Rewrites G with A's columns appended. The new table is written beside G and then put in
// its place, so a failed write leaves G as it was.
bool merge_into(const std::string& g_path, const std::string& a_path) {
  const auto g = read_table(g_path);
  const auto a = read_table(a_path);
  if (!g || !a) {
    corvane::show_message(kUnreadable);
    TRACE_ERROR(kRoutine, kUnreadable, g ? a_path : g_path);
    return false;
  }
  const auto fields = merged_fields(*g, *a);
  const std::string temp_path = g_path + ".merge";
  bool written = false;
  {
    CFile out = open_c_file(temp_path, "wb", kBulkStreamBuffer);
    written = out && corvane::formats::DBF_Write_Header(out.get(), g->count, fields.data()) == 0 &&
              corvane::formats::DBF_Write_Field_Headers(out.get(), fields.data()) == 0 &&
              write_merged(out.get(), *g, *a) && std::fflush(out.get()) == 0;
  }
  std::error_code error;
  if (written) std::filesystem::rename(temp_path, g_path, error);
  if (!written || error) {
    std::filesystem::remove(temp_path, error);
    TRACE_ERROR(kRoutine, "*** Merge failed ***", g_path);
    return false;
  }
  return true;
}

bool ends_with_ci(const std::string& name, const std::string& tail) {
  return name.size() >= tail.size() &&
         corvane::paths::iequals(std::string_view(name).substr(name.size() - tail.size()), tail);
}

std::vector<std::string> names_ending_with(const std::vector<std::string>& names,
                                           const std::string& tail) {
  std::vector<std::string> found;
  for (const std::string& name : names)
    if (ends_with_ci(name, tail)) found.push_back(name);
  return found;
}

}  // namespace

int Merge_Hypsography_Tables(const std::string& run_dir) {
  TRACE_BEGIN(kRoutine);
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(run_dir, error), end; !error && it != end;
       it.increment(error))
    if (it->is_regular_file(error)) names.push_back(it->path().filename().string());
  if (error) {
    TRACE_ERROR(kRoutine, "*** Cannot list directory ***", run_dir);
    TRACE_EXIT(kRoutine, 1);
    return 1;
  }
  std::sort(names.begin(), names.end());

  std::vector<std::string> hypsography = names_ending_with(names, "AHPR.dbf");
  if (hypsography.empty()) hypsography = names_ending_with(names, "AHPT.dbf");
  int result = 0;
  for (const std::string& a_name : hypsography) {
    const auto underscore = a_name.find('_');
    if (underscore == std::string::npos) continue;
    const std::string object_module = a_name.substr(0, underscore);
    for (const std::string& g_name : names_ending_with(names, "_" + object_module + "_.dbf")) {
      TRACE_PRINT(kRoutine, SDTS_Message("merge %s into %s", a_name.c_str(), g_name.c_str()));
      if (!merge_into(corvane::paths::join(run_dir, g_name), corvane::paths::join(run_dir, a_name)))
        result = 1;
    }
  }
  TRACE_EXIT(kRoutine, result);
  return result;
}

}  // namespace corvane::sdts
