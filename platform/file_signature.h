// What a file holds, judged by its first bytes rather than by its name: users rename files,
// and unpackers and downloads name them as they please.
#pragma once

#include <string>

#include "platform/message_sink.h"

namespace corvane {

enum class FileSignature {
  Gzip,     // 1f 8b
  Tar,      // "ustar" at offset 257
  Zip,      // "PK\3\4" (or the "PK\5\6" of an empty zip)
  Iso8211,  // a leader: five digits of record length, then 'L' as the leader identifier
  Other,    // anything else, an empty file and a file that cannot be read included
};

CORVANE_PLATFORM_API FileSignature file_signature(const std::string& path);

}  // namespace corvane
