// Turning an archive input into a file a converter can read. The front end unpacks what the
// user picks; the SDTS converter unpacks an archive handed to it instead of a catalog.
#pragma once

#include <optional>
#include <string>

#include "platform/paths.h"

namespace corvane::archives {

inline constexpr const char* kZipRefusal = "unsupported archive: zip input is not supported yet";
inline constexpr const char* kNoCatalog = "no SDTS catalog in the archive";
inline constexpr const char* kNothingToConvert =
    "no SDTS catalog or DLG-3 optional file in the archive";

// True for inputs whose content is an archive: gzip data, a tar or a zip, whatever the name.
bool is_archive(const std::string& path);

// An archive unpacked into a fresh private directory whose last component is "unzipped", so
// that the SDTS converter leaves the folder name out of the run directory. The directory and
// everything in it (subdirectories included) go away with the object, or with the process
// when a signal ends it. The archive itself is only read; nothing of the user's and not the
// current directory is touched.
class UnpackedArchive {
 public:
  // Decompresses gzip data into the directory (named as the archive without ".gz", ".tgz"
  // made ".tar"), then extracts the result when it is a tar; a tar that is not compressed
  // is extracted from where it lies. A failure is kept in failure(); only a directory that
  // cannot be created throws FatalError.
  explicit UnpackedArchive(const std::string& archive_path);

  // Why unpacking failed ("cannot unpack the archive: REASON", or kZipRefusal); empty when
  // it did not.
  const std::string& failure() const { return failure_; }
  // The members extracted, as the tar library lists them (also when extraction failed).
  const std::string& listing() const { return listing_; }

  // The transfer's catalog, a file whose name ends in "catd.ddf": the one nearest the top of
  // the unpacked tree; at one depth the lower-case ending first, then any case, then by name.
  std::optional<std::string> catalog() const;
  // The catalog as above; ends the conversion (FatalError) when unpacking failed or the
  // archive holds none.
  std::string required_catalog() const;
  // The file to convert: what gzip data held when it was not a tar; else the catalog; else,
  // after decompressing gzip data lying at the top, a "*.opt" there (lower case first, then
  // any case), else the first other file there by name unless one there is an ISO 8211 module
  // (modules without their catalog are no optional file). Nothing when none qualifies.
  std::optional<std::string> file_to_convert();

 private:
  // Empty when the archive was unpacked, else the failure text.
  std::string unpack();
  // Empty when the gzip data was decompressed (and extracted, when it held a tar), else why not.
  std::string gunzip_archive();

  std::string archive_;
  paths::WorkDirectory work_;
  std::string directory_;
  std::string failure_;
  std::string listing_;
  std::string decompressed_;  // the file gzip data held, when it was not a tar
};

}  // namespace corvane::archives
