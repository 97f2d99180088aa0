// Output directories we must not write into. The original refused CD-ROM drives; on
// Linux the equivalent is a read-only mount or an optical filesystem.
#pragma once

#include <string>

namespace corvane::batch {

inline constexpr const char* kCdRomRefusal = "The Output Directory cannot be a CD-ROM";

// True when `directory` lies on a read-only filesystem or on iso9660/udf.
// A directory that does not exist (yet) is not refused here.
bool is_read_only_media(const std::string& directory);

}  // namespace corvane::batch
