// Turning an archive input into a file a converter can read. The front end unpacks what the
// user picks; the SDTS converter unpacks an archive handed to it instead of a catalog.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/paths.h"

namespace corvane::archives {

// True for inputs we unpack before converting: a name ending in ".gz", ".tar" or "_tar"
// (any letter case).
bool is_archive(std::string_view path);

// An archive unpacked into a fresh private directory whose last component is "unzipped", so
// that the SDTS converter leaves the folder name out of the run directory. The directory and
// everything in it (subdirectories included) go away with the object. The archive itself is
// only read; nothing of the user's and not the current directory is touched.
class UnpackedArchive {
 public:
  // Decompresses a name ending in ".gz" into the directory (keeping the name's case, without
  // ".gz"), then extracts the result when its name holds ".tar" or "_tar"; a tar that is not
  // compressed is extracted from where it lies. A failure is kept in failure(); only a
  // directory that cannot be created throws FatalError.
  explicit UnpackedArchive(const std::string& archive_path);

  // "Cannot unpack <archive>: <reason>" when unpacking failed; empty otherwise.
  const std::string& failure() const { return failure_; }
  // The members extracted, as the tar library lists them (also when extraction failed).
  const std::string& listing() const { return listing_; }

  // The transfer's catalog, a file whose name ends in "catd.ddf": the one nearest the top of
  // the unpacked tree; at one depth the lower-case ending first, then any case, then by name.
  std::optional<std::string> catalog() const;
  // The catalog as above; ends the conversion (FatalError) when unpacking failed or the
  // archive holds none.
  std::string required_catalog() const;
  // The file to convert: the catalog, else, after decompressing a gzip member lying at the
  // top, a "*.opt" there (lower case first, then any case), else the first other file there
  // by name. Nothing when the archive held no file.
  std::optional<std::string> file_to_convert();
  // "No file to convert in <archive>".
  std::string nothing_to_convert() const;

 private:
  // Empty when the archive was unpacked, else why not.
  std::string unpack();

  std::string archive_;
  paths::WorkDirectory work_;
  std::string directory_;
  std::string failure_;
  std::string listing_;
};

}  // namespace corvane::archives
