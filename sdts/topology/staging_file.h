// A scratch file of the polygon build in the conversion's work directory, opened "wb+"
// and removed when it goes away, also when the build ends early.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "sdts/topology/c_file.h"

class StagingFile {
 public:
  // is_open() tells whether the file could be created.
  explicit StagingFile(const std::string& name);
  ~StagingFile();
  StagingFile(const StagingFile&) = delete;
  StagingFile& operator=(const StagingFile&) = delete;

  bool is_open() const { return file_ != nullptr; }
  const std::string& path() const { return path_; }
  std::FILE* get() const { return file_.get(); }

  bool write(std::span<const std::uint8_t> data);
  void rewind() { std::rewind(file_.get()); }
  // Reads exactly `size` bytes into `out` (resized); false at the end of the data.
  bool read(std::vector<std::uint8_t>& out, std::size_t size);

 private:
  std::string path_;
  CFile file_;
};
