// The polygon module ("PC…"): joins the polygons' attribute references. Its shapes are
// built from the lines that bound them (see polygon_files.h).
#pragma once

#include <string>

class SDTSPcFile {
 public:
  explicit SDTSPcFile(const char* file);
  // Returns 0 when the module was read to its end.
  int write_dbf_file();

 private:
  std::string path_;
};
