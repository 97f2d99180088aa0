// The catalog modules: CATD (where every module file lies), CATS (the theme of each
// module) and CATX (cross references).
#pragma once

#include <string>
#include <vector>

#include "sdts/modules/sdts_file.h"

struct CatdRecord {
  std::string MODN;
  int RCID = 0;
  std::string NAME, TYPE;
  std::string FILE;  // full path: the catalog's directory and the file name it gives
  std::string EXTR, MVER;
  int FLAG = 0;
};

struct CatdRecords : std::vector<CatdRecord> {
  int dump() const;
};

struct CatsRecord {
  std::string MODN;
  int RCID = 0;
  std::string NAME, TYPE, MAP, THEM, AGOB, AGTP;
};

struct CatsRecords : std::vector<CatsRecord> {
  int dump() const;
};

struct CatxRecord {
  std::string MODN;
  int RCID = 0;
  std::string NAM1, TYP1, NAM2, TYP2, COMT;
};

using CatxRecords = std::vector<CatxRecord>;

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
