// The data quality modules (DQAA attribute accuracy, DQHL lineage, DQLC logical
// consistency, DQPA positional accuracy) and their comment line in the document file.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sdts/modules/sdts_file.h"
#include "sdts/run/control_records.h"

namespace corvane::sdts {

// The four readers differ only in their module name and trace name.
class SDTSDqFile : public SDTSFile {
 public:
  const std::vector<DqRecord>& return_records();
  // "COMMENT:" and the first record's comment to the document file; nothing without one.
  int write_document() const;

 protected:
  SDTSDqFile(std::string path, const char* module, const char* routine);

 private:
  const char* m_module;
  const char* m_routine;
  std::vector<DqRecord> m_records;
};

class SDTSDqaaFile : public SDTSDqFile {
 public:
  explicit SDTSDqaaFile(std::string path)
      : SDTSDqFile(std::move(path), "DQAA", "SDTSDqaaFile::return_records()") {}
};

class SDTSDqhlFile : public SDTSDqFile {
 public:
  explicit SDTSDqhlFile(std::string path)
      : SDTSDqFile(std::move(path), "DQHL", "SDTSDqhlFile::return_records()") {}
};

class SDTSDqlcFile : public SDTSDqFile {
 public:
  explicit SDTSDqlcFile(std::string path)
      : SDTSDqFile(std::move(path), "DQLC", "SDTSDqlcFile::return_records()") {}
};

class SDTSDqpaFile : public SDTSDqFile {
 public:
  explicit SDTSDqpaFile(std::string path)
      : SDTSDqFile(std::move(path), "DQPA", "SDTSDqpaFile::return_records()") {}
};

}  // namespace corvane::sdts
