// The directory of the DDR or of a data record: one entry per field.
#pragma once

#include <vector>

#include "sdts/iso8211/iso_file_state.h"
#include "sdts/iso8211/iso_leader.h"

namespace corvane::iso8211 {

// Reads the entries that follow `leader` and the directory's terminator byte.
bool Iso_Read_Directory(IsoFileState& file, const IsoLeader& leader,
                        std::vector<IsoDirectoryEntry>& entries);

// The same for a data record, where records of fixed layout repeat the previous record's
// directory byte for byte: then `entries` (and the descriptions found for them) are left as
// they are. `last_bytes` holds the directory's bytes as last read anew, empty after a failure.
enum class IsoDirectoryRead { failed, anew, unchanged };
IsoDirectoryRead Iso_Read_Record_Directory(IsoFileState& file, const IsoLeader& leader,
                                           std::vector<IsoDirectoryEntry>& entries,
                                           std::string& last_bytes);

// A numeric tag starts with a decimal digit; its value is that number ("0001" is 1).
bool Iso_Is_Numeric_Tag(const std::string& tag);

}  // namespace corvane::iso8211
