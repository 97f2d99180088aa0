#include "frontend/batch/output_media.h"

#include <sys/statfs.h>
#include <sys/statvfs.h>

namespace corvane::batch {

namespace {
constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;
}  // namespace

bool is_read_only_media(const std::string& directory) {
  struct statvfs vfs {};
  if (::statvfs(directory.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0) return true;
  struct statfs fs {};
  if (::statfs(directory.c_str(), &fs) != 0) return false;
  return fs.f_type == kIso9660Magic || fs.f_type == kUdfMagic;
}

}  // namespace corvane::batch
