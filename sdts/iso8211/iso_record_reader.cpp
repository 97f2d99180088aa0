#include "sdts/iso8211/iso_record_reader.h"

#include <algorithm>

#include "sdts/iso8211/iso_ddr.h"
#include "sdts/iso8211/iso_directory.h"
#include "sdts/iso8211/iso_field_cutter.h"
#include "sdts/iso8211/iso_stream_io.h"
#include "sdts/iso8211/iso_text.h"

namespace corvane::iso8211 {

namespace {

// The first bytes read for a record that reuses an "R" leader; doubled while a field's end lies
// beyond them.
constexpr std::int64_t kMinimumReuseRead = 4096;

// Finds each field's description. At levels 1 and 2 a record starts with "0001" and its
// fields follow the DDR's order (a tag may repeat).
bool describe_directory(const IsoFileState& file, std::vector<IsoDirectoryEntry>& directory) {
  if (directory.empty()) return false;
  const bool ordered = file.ddr_leader.interchange_level != 3;
  if (ordered && (!Iso_Is_Numeric_Tag(directory[0].tag) || Iso_Decimal(directory[0].tag) != 1))
    return false;
  std::size_t at = 0;
  for (auto& entry : directory) {
    entry.description = Iso_Find_Description(file, entry.tag, ordered ? at : 0, &at);
    if (entry.description == nullptr) return false;
  }
  return true;
}

bool read_leader_and_directory(IsoFileState& file) {
  std::string_view bytes;
  if (!Iso_View_Exact(file, 24, bytes) ||
      !Iso_Parse_Data_Leader(bytes, file.ddr_leader.size_of_field_tag, file.record_leader))
    return false;
  const IsoDirectoryRead read = Iso_Read_Record_Directory(
      file, file.record_leader, file.record_directory, file.last_directory_bytes);
  if (read == IsoDirectoryRead::failed) return false;
  if (read == IsoDirectoryRead::anew && !describe_directory(file, file.record_directory)) {
    file.last_directory_bytes.clear();
    return false;
  }
  if (file.record_leader.record_length == 0) {
    const auto& last = file.record_directory.back();
    const std::int64_t length =
        std::int64_t{last.field_length} + last.field_position + file.record_leader.base_address;
    file.record_leader.record_length =
        static_cast<std::int32_t>(std::min<std::int64_t>(length, INT32_MAX));
  }
  return true;
}

void retire_fields(IsoFileState& file) {
  file.record_fields.clear();
  file.value_store.clear();
}

// Cuts fields laid out one after another in `area`; returns the bytes they took, or -1 when
// the record is malformed, or -2 when a field's end lies beyond `area`.
std::int64_t cut_fields(IsoFileState& file, std::string_view area, bool reusing) {
  std::size_t position = 0;
  for (const auto& entry : file.record_directory) {
    const IsoFieldDescription* d = entry.description;
    IsoDataField& field = file.record_fields.add();
    field.tag = entry.tag;
    field.description = d;
    field.field_length = entry.field_length;
    field.field_position = entry.field_position;
    // Records after an "R" leader keep its layout only for fields whose formats fix their
    // length; text fields vary from record to record and end at their terminator.
    const bool open = reusing && !d->has_fixed_length();
    const std::size_t available = area.size() - position;
    if (!open && static_cast<std::size_t>(entry.field_length) > available) return reusing ? -2 : -1;
    std::size_t consumed = 0;
    const IsoCutResult result = Iso_Cut_Field(
        *d, area.data() + position, open ? available : entry.field_length,
        open ? IsoFieldExtent::open : IsoFieldExtent::known, file.value_store, field, consumed);
    if (result == IsoCutResult::need_more) return -2;
    if (result == IsoCutResult::failed) return -1;
    position += consumed;
  }
  return static_cast<std::int64_t>(position);
}

bool read_reusing_record(IsoFileState& file) {
  const std::int64_t start = Iso_Position(file);
  const std::int64_t remaining = file.file_size - start;
  if (start < 0 || remaining <= 0) return false;
  std::int64_t want = std::max<std::int64_t>(
      kMinimumReuseRead,
      2 * (std::int64_t{file.record_leader.record_length} - file.record_leader.base_address));
  for (;;) {
    want = std::min(want, remaining);
    if (!Iso_Seek(file, start)) return false;
    const std::string_view area = Iso_View_Up_To(file, want);
    retire_fields(file);
    const std::int64_t used = cut_fields(file, area, true);
    if (used >= 0) return Iso_Seek(file, start + used);
    if (used == -1 || want == remaining) return false;
    want *= 2;
  }
}

}  // namespace

bool Iso_Read_Data_Record(IsoFileState& file) {
  retire_fields(file);
  file.have_record = false;
  if (file.reuse_leader) {
    if (!read_reusing_record(file)) return false;
  } else {
    if (!read_leader_and_directory(file)) return false;
    std::string_view area;
    const std::int64_t area_length =
        std::int64_t{file.record_leader.record_length} - file.record_leader.base_address;
    if (!Iso_View_Exact(file, area_length, area) || cut_fields(file, area, false) < 0) return false;
    file.reuse_leader = file.record_leader.leader_identifier == 'R';
  }
  file.have_record = true;
  return true;
}

}  // namespace corvane::iso8211
