// An owned C stream, closed when it goes away.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

// The closer owns the stream's buffer when it was given one, so the buffer outlives the
// final flush: unique_ptr calls the closer before destroying it.
struct CFileCloser {
  std::unique_ptr<char[]> buffer;
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

// Streams that carry a whole table or shapefile want buffers far larger than stdio's
// default of one disk block: a system call per 4 KiB dominated their writing.
inline constexpr std::size_t kBulkStreamBuffer = std::size_t{1} << 16;

// `buffer_size` 0 keeps stdio's own buffer. glibc ignores a size passed to setvbuf without
// a buffer, so a larger one must be supplied.
inline CFile buffered_c_file(std::FILE* stream, std::size_t buffer_size) {
  CFile file(stream);
  if (file && buffer_size > 0) {
    file.get_deleter().buffer = std::make_unique_for_overwrite<char[]>(buffer_size);
    std::setvbuf(file.get(), file.get_deleter().buffer.get(), _IOFBF, buffer_size);
  }
  return file;
}

inline CFile open_c_file(const std::string& path, const char* mode, std::size_t buffer_size = 0) {
  return buffered_c_file(std::fopen(path.c_str(), mode), buffer_size);
}
