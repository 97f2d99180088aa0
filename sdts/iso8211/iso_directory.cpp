#include "sdts/iso8211/iso_directory.h"

#include "sdts/iso8211/iso_limits.h"
#include "sdts/iso8211/iso_stream_io.h"
#include "sdts/iso8211/iso_text.h"

bool Iso_Read_Directory(IsoFileState& file, const IsoLeader& leader,
                        std::vector<IsoDirectoryEntry>& entries) {
  entries.clear();
  const std::int32_t tag_size = leader.size_of_field_tag;
  const std::int32_t length_size = leader.size_of_field_length;
  const std::int32_t entry_size = tag_size + length_size + leader.size_of_field_position;
  std::string entry;
  for (std::int32_t read = 0; read < leader.base_address - 25; read += entry_size) {
    if (!Iso_Read_Exact(file, entry_size, entry)) return false;
    if (entry.find(ISO_FIELD_TERMINATOR) != std::string::npos) return false;
    IsoDirectoryEntry e;
    e.tag = entry.substr(0, tag_size);
    e.field_length = Iso_Decimal(std::string_view(entry).substr(tag_size, length_size));
    e.field_position = Iso_Decimal(std::string_view(entry).substr(tag_size + length_size));
    if (e.field_length < 0 || e.field_position < 0) return false;
    entries.push_back(std::move(e));
  }
  std::string terminator;
  return Iso_Read_Exact(file, 1, terminator);
}

bool Iso_Is_Numeric_Tag(const std::string& tag) { return !tag.empty() && tag[0] >= '0' && tag[0] <= '9'; }
