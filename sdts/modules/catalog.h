// The catalog modules: CATD (where every module file lies), CATS (the theme of each
// module) and CATX (cross references).
#pragma once

#include "sdts/modules/sdts_file.h"
#include "sdts/run/control_records.h"

namespace corvane::sdts {

class SDTSCatdFile : public SDTSFile {
 public:
  using SDTSFile::SDTSFile;
  const CatdRecords& return_catd();

 private:
  CatdRecords m_records;
};

class SDTSCatsFile : public SDTSFile {
 public:
  using SDTSFile::SDTSFile;
  const CatsRecords& return_records();

 private:
  CatsRecords m_records;
};

class SDTXFile : public SDTSFile {
 public:
  using SDTSFile::SDTSFile;
  const CatxRecords& return_records();

 private:
  CatxRecords m_records;
};

}  // namespace corvane::sdts
