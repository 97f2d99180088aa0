// A file read in place through a read-only mapping. Polygon rings visit lines all over the
// intermediate files; mapped, each visit is a look at memory instead of a read into a
// buffer, and the pages stay the system's, so the process's own memory does not grow with
// the files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::sdts {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps the file open on `descriptor`, which it closes. False when the descriptor is
  // invalid (-1) or the file cannot be mapped.
  bool open(int descriptor);
  long size() const { return size_; }
  // The `count` bytes at `offset`; null when they are not all in the file.
  const std::uint8_t* at(long offset, long count) const;

 private:
  const std::uint8_t* data_ = nullptr;
  long size_ = 0;
};

}  // namespace corvane::sdts
