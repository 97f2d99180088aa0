// Output directories we must not write into: CD-ROMs cannot take the outputs, and on Linux
// that is any read-only mount or optical filesystem.
#pragma once

#include <string>

namespace corvane::batch {

inline constexpr const char* kCdRomRefusal = "The Output Directory cannot be a CD-ROM";

// True when `directory` lies on a read-only filesystem or on iso9660/udf.
// A directory that does not exist (yet) is not refused here.
bool is_read_only_media(const std::string& directory);

}  // namespace corvane::batch
