// The conversion's own intermediate files, which no other program reads. A file expected to
// stay small is an anonymous memory file; the others go to a private work directory, made
// when the first of them comes. Creating and deleting files is among the dearest things a
// conversion of a typical transfer does: a file system that has lately deleted many files
// walks past each of them when it allocates a new one, and every deletion adds to them.
// Memory files go with the process however it ends; the work directory is removed with
// everything in it when the store goes away.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "formats/c_file.h"
#include "platform/paths.h"

namespace corvane::sdts {

class WorkFiles {
 public:
  // Memory files of one conversion together stay within this many bytes, as estimated by
  // their creators: a few times the largest real transfer's intermediate files.
  static constexpr std::int64_t kMemoryBudget = std::int64_t{64} << 20;

  explicit WorkFiles(std::int64_t memory_budget = kMemoryBudget) : memory_left_(memory_budget) {}
  ~WorkFiles();
  WorkFiles(const WorkFiles&) = delete;
  WorkFiles& operator=(const WorkFiles&) = delete;

  struct Created {
    corvane::formats::CFile
        stream;        // open for writing and reading; null when the file could not be made
    std::string path;  // where it is on disk; empty for a memory file
  };
  // Makes work file `name` afresh. In memory when `expected_bytes` fits what is left of the
  // budget, else in the work directory.
  Created create(const std::string& name, std::int64_t expected_bytes);
  // A descriptor of work file `name` to map it with, owned by the caller; -1 when there
  // is no such file.
  int open(const std::string& name);
  // Ends work file `name`: its memory is given back, or the file is deleted.
  void remove(const std::string& name);

  // The size of input file `path`, by which the work files made from it are estimated;
  // more than any budget when it cannot be told.
  static std::int64_t input_bytes(const std::string& path);

  // The work directory, created on first use; throws FatalError when it cannot be.
  const std::string& directory();

 private:
  struct MemoryFile {
    int descriptor;
    std::int64_t reserved;
  };
  std::map<std::string, MemoryFile> memory_;
  std::int64_t memory_left_;
  std::unique_ptr<corvane::paths::WorkDirectory> directory_;
};

}  // namespace corvane::sdts
