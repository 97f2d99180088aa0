// The records of the catalog, identification, spatial reference and data quality modules:
// plain data the run state keeps for the whole conversion, read by sdts/modules.
#pragma once

#include <string>
#include <vector>

namespace corvane::sdts {

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

struct IdenRecord {
  int RCID = 0;
  std::string MODN, STID, STVS, DOCU, PRID, PRVS, PDOC, TITL, DAST, MPDT, DCDT;
  long SCAL = 0;
  std::string COMT;
  std::string FFYN, VGYN, GTYN, RCYN;
  int EXSP = 0, FTLV = 0;
};

struct XrefRecord {
  std::string MODN;
  int RCID = 0;
  std::string RSNM, HDAT, ZONE;
};

struct SpdmRecord {
  std::string MODN;
  int RCID = 0;
  std::string DTYP, DSTP;
  double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;  // stored coordinates, not transformed
};

// A record of any of the data quality modules (DQAA, DQHL, DQLC, DQPA).
struct DqRecord {
  std::string MODN;
  int RCID = 0;
  std::string COMT;
};

}  // namespace corvane::sdts
