// Bounded reads from a file's stream: nothing is read or allocated beyond the bytes the file has.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sdts/iso8211/iso_file_state.h"

namespace corvane::iso8211 {

std::int64_t Iso_Position(IsoFileState& file);
bool Iso_Seek(IsoFileState& file, std::int64_t position);
// Reads exactly `count` bytes. When the file has fewer, the stream is left at its end (as a
// short read would leave it) and the read fails.
bool Iso_Read_Exact(IsoFileState& file, std::int64_t count, std::string& out);
// As Iso_Read_Exact, without a copy: `out` stays valid until the next read from the file.
bool Iso_View_Exact(IsoFileState& file, std::int64_t count, std::string_view& out);
// Reads up to `count` bytes (fewer at the end of the file); valid until the next read.
std::string_view Iso_View_Up_To(IsoFileState& file, std::int64_t count);
// The stream stands at the end of the file.
bool Iso_At_End(IsoFileState& file);
// Peeks at the next byte: true at the end of the file or at an end-of-file mark (0x1A or "^");
// otherwise the byte stays unread.
bool Iso_Peek_End(IsoFileState& file);

}  // namespace corvane::iso8211
