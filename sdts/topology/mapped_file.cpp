#include "sdts/topology/mapped_file.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane::sdts {

namespace {
// What an empty file, which cannot be mapped, hands out for a read of nothing.
constexpr std::uint8_t kNothing[1] = {0};
}  // namespace

MappedFile::~MappedFile() {
  if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), static_cast<std::size_t>(size_));
}

bool MappedFile::open(int descriptor) {
  if (descriptor < 0) return false;
  struct stat info {};
  bool ok = ::fstat(descriptor, &info) == 0;
  if (ok && info.st_size > 0) {
    void* map = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE,
                       descriptor, 0);
    ok = map != MAP_FAILED;
    if (ok) {
      data_ = static_cast<const std::uint8_t*>(map);
      size_ = static_cast<long>(info.st_size);
    }
  }
  ::close(descriptor);  // the mapping stays valid without the descriptor
  return ok;
}

const std::uint8_t* MappedFile::at(long offset, long count) const {
  if (offset < 0 || count < 0 || offset > size_ || count > size_ - offset) return nullptr;
  return data_ != nullptr ? data_ + offset : kNothing;
}

}  // namespace corvane::sdts
