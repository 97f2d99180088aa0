// Parsing of the data descriptive record into field descriptions.
#pragma once

#include <string_view>

#include "sdts/iso8211/iso_file_state.h"

namespace corvane::iso8211 {

// Parses the DDR from the start of the file (once per file) and leaves the stream at the first
// data record. False for a damaged or malformed DDR.
bool Iso_Parse_DDR(IsoFileState& file);

// The description of `tag`, searching from index `from`; null when there is none.
const IsoFieldDescription* Iso_Find_Description(const IsoFileState& file, std::string_view tag,
                                                std::size_t from = 0, std::size_t* index = nullptr);

}  // namespace corvane::iso8211
