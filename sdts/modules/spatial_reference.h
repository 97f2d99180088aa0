// Spatial reference modules: external (XREF: reference system, datum, zone), internal
// (IREF: the ground-coordinate transform) and the spatial domain (SPDM: the extent).
#pragma once

#include <string>
#include <vector>

#include "sdts/modules/sdts_file.h"
#include "sdts/run/control_records.h"

namespace corvane::sdts {

class SDTSXrefFile : public SDTSFile {
 public:
  using SDTSFile::SDTSFile;
  // Also shows reference system, zone and datum in the progress window and logs them.
  const std::vector<XrefRecord>& return_records();
  int write_document() const;

 private:
  std::vector<XrefRecord> m_records;
};

// Sets g_xref_geographic from the first record ("GEO…" reference systems).
void SDTS_Set_Xref_Geographic(const std::vector<XrefRecord>& records);

class SDTSSpdmFile : public SDTSFile {
 public:
  using SDTSFile::SDTSFile;
  const std::vector<SpdmRecord>& return_records();
  int write_document() const;

 private:
  std::vector<SpdmRecord> m_records;
};

// Reads the IREF module at `path` into g_iref_sfax/sfay/xorg/yorg. 0 read, 1 failed.
int SDTS_Get_IREF_Attributes(const std::string& path);

}  // namespace corvane::sdts
