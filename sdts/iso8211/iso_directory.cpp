#include "sdts/iso8211/iso_directory.h"

#include <algorithm>

#include "sdts/iso8211/iso_limits.h"
#include "sdts/iso8211/iso_stream_io.h"
#include "sdts/iso8211/iso_text.h"

bool Iso_Read_Directory(IsoFileState& file, const IsoLeader& leader,
                        std::vector<IsoDirectoryEntry>& entries) {
  entries.clear();
  const std::int32_t tag_size = leader.size_of_field_tag;
  const std::int32_t length_size = leader.size_of_field_length;
  const std::int32_t entry_size = tag_size + length_size + leader.size_of_field_position;
  // Whole entries up to the base address, then the directory's terminator.
  const std::int64_t listed = std::max<std::int64_t>(0, std::int64_t{leader.base_address} - 25);
  const std::int64_t count = (listed + entry_size - 1) / entry_size;
  std::string_view bytes;
  if (!Iso_View_Exact(file, count * entry_size + 1, bytes)) return false;
  entries.resize(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) {
    const std::string_view entry = bytes.substr(static_cast<std::size_t>(i * entry_size), entry_size);
    if (entry.find(ISO_FIELD_TERMINATOR) != std::string_view::npos) return false;
    IsoDirectoryEntry& e = entries[static_cast<std::size_t>(i)];
    e.tag.assign(entry.substr(0, tag_size));
    e.field_length = Iso_Decimal(entry.substr(tag_size, length_size));
    e.field_position = Iso_Decimal(entry.substr(tag_size + length_size));
    if (e.field_length < 0 || e.field_position < 0) return false;
  }
  return true;
}

bool Iso_Is_Numeric_Tag(const std::string& tag) { return !tag.empty() && tag[0] >= '0' && tag[0] <= '9'; }
