// Turning a compressed input into a file a converter can read.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/paths.h"

namespace corvane::batch {

// True for inputs we unpack before converting: a name holding ".gz" (any case) or
// ending in ".tar".
bool is_archive_input(const std::string& path);

// A fresh private directory whose last component is "unzipped", so that the SDTS
// converter leaves the folder name out of the run directory. It and everything in it
// (subdirectories included) go away with the object; nothing of the user's is touched.
class UnpackDirectory {
 public:
  UnpackDirectory();
  const std::string& path() const { return path_; }

 private:
  paths::WorkDirectory work_;
  std::string path_;
};

struct UnpackResult {
  bool ok = false;
  std::string reason;   // why it failed
  std::string listing;  // the members extracted, as the tar library lists them
  bool wrote_files = false;  // false when the name asked for neither step
};

// Decompresses a ".gz" input into `directory` (keeping the name's case, without ".gz"),
// then extracts it when its inner name holds ".tar" or "_tar"; a plain ".tar" is
// extracted from where it lies. Full paths throughout; the current directory is left alone.
UnpackResult unpack(const std::string& input_path, const std::string& directory);

// The file to convert in an unpack directory: a catalog "*catd.ddf" (lower case first,
// then any case), else, after decompressing a gzip member, "*.opt" (likewise), else the
// first other regular file by name. Nothing when the directory holds no file.
std::optional<std::string> find_unpacked_input(const std::string& directory);

}  // namespace corvane::batch
