// The rest of a record taken in runs: the loop every module reader that walks whole records
// shares around ISO_Read_Record_Values.
#pragma once

#include <cstdio>

#include "sdts/iso8211/iso8211.h"

namespace corvane::iso8211 {

inline bool ISO_Ends_Record(int status) {
  return status == ISO_STATUS_END_OF_RECORD || status == ISO_STATUS_END_OF_FILE;
}

// Hands the subfields that follow a single read in its record to `take`, one by one, as
// ISO_Read_Record_Values delivers them in runs; values longer than `max_length` and fields
// the runs leave alone are left for single reads. Returns false as soon as `take` does.
template <typename Take>
bool ISO_Take_Record_Values(std::FILE* stream, int max_length, Take&& take) {
  constexpr int kRunLength = 256;
  IsoValueRef run[kRunLength];
  int count = 0;
  int status = ISO_STATUS_OK;
  do {
    ISO_Read_Record_Values(stream, run, kRunLength, max_length, &count, &status);
    for (int i = 0; i < count; ++i)
      if (!take(run[i])) return false;
  } while (count == kRunLength && !ISO_Ends_Record(status));
  return true;
}

}  // namespace corvane::iso8211
