// The parts of module file paths and of the conversion's catalog path: plain data of the
// run state, below the module readers that name their files with it.
#pragma once

#include <string>

namespace corvane::sdts {

// The parts of a module file's path. Split at the last '/' or '\'; no letter case changes.
struct SDTSFileName {
  std::string path;         // as given
  std::string file_name;    // after the last separator
  std::string directory;    // up to and including the last separator; empty without one
  std::string extension;    // after the file name's last "."
  std::string prefix;       // first 4 characters of the file name (the transfer's id)
  std::string base_name;    // file name up to its last "."
  std::string module_part;  // base name from its fifth character on ("CATD")

  void parse();
};

// The catalog path's parts, for the whole conversion.
class SDTSFileObject {
 public:
  void set_file_name(const std::string& catalog_path);
  const SDTSFileName& catalog() const { return m_catalog; }

 private:
  SDTSFileName m_catalog;
};

}  // namespace corvane::sdts
