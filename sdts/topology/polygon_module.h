// The polygon module ("PC…"): joins the polygons' attribute references. Its shapes are
// built from the lines that bound them (polygon_files.h).
#pragma once

#include <string>

#include "sdts/modules/sdts_file.h"

namespace corvane::sdts {

class SDTSPcFile : public SDTSFile {
 public:
  explicit SDTSPcFile(const char* file);
  // Returns 0 when the module was read to its end, else the reader's failure.
  int write_dbf_file();
};

}  // namespace corvane::sdts
