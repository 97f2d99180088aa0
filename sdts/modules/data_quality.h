// The data quality modules (DQAA attribute accuracy, DQHL lineage, DQLC logical
// consistency, DQPA positional accuracy) and their comment line in the document file.
#pragma once

#include <string>
#include <vector>

#include "sdts/modules/sdts_file.h"
#include "sdts/run/control_records.h"

namespace corvane::sdts {

// One reader serves the four modules; `module` is the module's name ("DQAA", ...).
class SDTSDqFile : public SDTSFile {
 public:
  SDTSDqFile(std::string path, const std::string& module);

  const std::vector<DqRecord>& return_records();
  // "COMMENT:" and the first record's comment to the document file; nothing without one.
  int write_document() const;

 private:
  std::string m_module;
  std::string m_routine;  // "SDTSDqaaFile::return_records()" for DQAA
  std::vector<DqRecord> m_records;
};

}  // namespace corvane::sdts
