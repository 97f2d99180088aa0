// Reading the next data record of a file whole and cutting its fields into values.
#pragma once

#include "sdts/iso8211/iso_file_state.h"

namespace corvane::iso8211 {

// Replaces the file's current record with the next one. False when it cannot be read; the
// caller tells the end of the file (Iso_At_End) from damage.
bool Iso_Read_Data_Record(IsoFileState& file);

}  // namespace corvane::iso8211
