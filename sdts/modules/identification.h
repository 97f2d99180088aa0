// The identification module (IDEN): title, scale, profile and conformance.
#pragma once

#include <string>
#include <vector>

#include "sdts/modules/sdts_file.h"

struct IdenRecord {
  int RCID = 0;
  std::string MODN, STID, STVS, DOCU, PRID, PRVS, PDOC, TITL, DAST, MPDT, DCDT;
  long SCAL = 0;
  std::string COMT;
  std::string FFYN, VGYN, GTYN, RCYN;
  int EXSP = 0, FTLV = 0;
};

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
