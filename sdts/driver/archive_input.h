// A transfer handed to Display as an archive (.gz, .tar or _tar in its name): unpacked
// in-process into a private directory that goes away with this object. The archive
// itself is only read.
#pragma once

#include <string>

#include "platform/paths.h"

namespace corvane::sdts {

class ArchiveInput {
 public:
  static bool is_archive(const std::string& path);

  // Unpacks `archive_path` and finds the transfer's catalog (a file whose name ends in
  // "catd.ddf" in any letter case); ends the conversion when either fails.
  explicit ArchiveInput(const std::string& archive_path);

  // The catalog, in a directory named "unzipped" as the front end's unpack directory is,
  // so that the run directory is named after the catalog alone.
  const std::string& catalog_path() const { return m_catalog; }

 private:
  corvane::paths::WorkDirectory m_work;
  std::string m_catalog;
};

}  // namespace corvane::sdts
