// Scratch directories, files and archives for the tests of the unpacking code and its callers.
#pragma once

#include <string>
#include <vector>

#include "tests/support/output_files.h"

namespace corvane::test {

// A fresh directory removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

bool exists(const std::string& path);
// Names in `dir`, sorted.
std::vector<std::string> list_dir(const std::string& dir);
void copy_tree(const std::string& from, const std::string& to);

void write_gzip(const std::string& path, const std::string& content);

struct TarMember {
  enum class Kind { File, Directory, Symlink, Hardlink, Fifo, CharDevice } kind = Kind::File;
  std::string name;
  std::string content;  // File
  std::string target;   // Symlink, Hardlink
};
void write_tar(const std::string& path, const std::vector<TarMember>& members);
// The bytes of a gzip stream of `content`, and of a tar of `members`.
std::string gzip_bytes(const std::string& content);
std::string tar_bytes(const std::vector<TarMember>& members);

}  // namespace corvane::test
