#include "sdts/iso8211/iso_directory.h"

#include <algorithm>

#include "sdts/iso8211/iso_limits.h"
#include "sdts/iso8211/iso_stream_io.h"
#include "sdts/iso8211/iso_text.h"

namespace corvane::iso8211 {

namespace {

// The directory's bytes: whole entries up to the base address, then its terminator.
bool view_directory(IsoFileState& file, const IsoLeader& leader, std::string_view& bytes) {
  const std::int32_t entry_size =
      leader.size_of_field_tag + leader.size_of_field_length + leader.size_of_field_position;
  const std::int64_t listed = std::max<std::int64_t>(0, std::int64_t{leader.base_address} - 25);
  const std::int64_t count = (listed + entry_size - 1) / entry_size;
  return Iso_View_Exact(file, count * entry_size + 1, bytes);
}

bool parse_entries(std::string_view bytes, const IsoLeader& leader,
                   std::vector<IsoDirectoryEntry>& entries) {
  const std::int32_t tag_size = leader.size_of_field_tag;
  const std::int32_t length_size = leader.size_of_field_length;
  const std::size_t entry_size =
      static_cast<std::size_t>(tag_size + length_size + leader.size_of_field_position);
  entries.resize((bytes.size() - 1) / entry_size);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string_view entry = bytes.substr(i * entry_size, entry_size);
    if (entry.find(ISO_FIELD_TERMINATOR) != std::string_view::npos) return false;
    IsoDirectoryEntry& e = entries[i];
    e.tag.assign(entry.substr(0, tag_size));
    e.description = nullptr;
    e.field_length = Iso_Decimal(entry.substr(tag_size, length_size));
    e.field_position = Iso_Decimal(entry.substr(tag_size + length_size));
    if (e.field_length < 0 || e.field_position < 0) return false;
  }
  return true;
}

}  // namespace

bool Iso_Read_Directory(IsoFileState& file, const IsoLeader& leader,
                        std::vector<IsoDirectoryEntry>& entries) {
  entries.clear();
  std::string_view bytes;
  return view_directory(file, leader, bytes) && parse_entries(bytes, leader, entries);
}

IsoDirectoryRead Iso_Read_Record_Directory(IsoFileState& file, const IsoLeader& leader,
                                           std::vector<IsoDirectoryEntry>& entries,
                                           std::string& last_bytes) {
  std::string_view bytes;
  if (!view_directory(file, leader, bytes)) {
    last_bytes.clear();
    return IsoDirectoryRead::failed;
  }
  if (!last_bytes.empty() && bytes == last_bytes) return IsoDirectoryRead::unchanged;
  last_bytes.clear();
  if (!parse_entries(bytes, leader, entries)) return IsoDirectoryRead::failed;
  last_bytes.assign(bytes);
  return IsoDirectoryRead::anew;
}

bool Iso_Is_Numeric_Tag(const std::string& tag) {
  return !tag.empty() && tag[0] >= '0' && tag[0] <= '9';
}

}  // namespace corvane::iso8211
