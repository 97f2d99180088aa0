// The identification module (IDEN): title, scale, profile and conformance.
#pragma once

#include <vector>

#include "sdts/modules/sdts_file.h"
#include "sdts/run/control_records.h"

namespace corvane::sdts {

class SDTSIdenFile : public SDTSFile {
 public:
  using SDTSFile::SDTSFile;
  // Also shows the title and scale in the progress window and logs them.
  const std::vector<IdenRecord>& return_records();
  // The identification lines of the first record to the document file.
  int write_document() const;

 private:
  std::vector<IdenRecord> m_records;
};

}  // namespace corvane::sdts
