// Spatial reference modules: external (XREF: reference system, datum, zone), internal
// (IREF: the ground-coordinate transform) and the spatial domain (SPDM: the extent).
#pragma once

#include <string>
#include <vector>

#include "sdts/modules/control_file.h"

namespace corvane::sdts {

// Reading XREF also shows reference system, zone and datum in the progress window and logs
// them.
using SDTSXrefFile = SDTSControlFile<XrefRecord>;

// Sets g_xref_geographic from the first record ("GEO…" reference systems).
void SDTS_Set_Xref_Geographic(const std::vector<XrefRecord>& records);

using SDTSSpdmFile = SDTSControlFile<SpdmRecord>;

// Reads the IREF module at `path` into g_iref_sfax/sfay/xorg/yorg. 0 read, 1 failed.
int SDTS_Get_IREF_Attributes(const std::string& path);

}  // namespace corvane::sdts
