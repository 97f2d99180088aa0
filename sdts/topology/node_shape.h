// Node and point modules ("NE", "NP", "NA", "NO") to a Point shapefile with a one-column
// table of point ids, and the points' attribute joins.
#pragma once

#include <string>

#include "sdts/modules/sdts_file.h"

namespace corvane::sdts {

class SDTSNoFile : public SDTSFile {
 public:
  explicit SDTSNoFile(const char* file);
  // Writes "<theme_name>.shp/.shx/.dbf" in the run directory. Returns 0 when the module was
  // read to its end, 1 when an output file cannot be opened, else the reader's failure.
  int write_node_shape(const std::string& theme_name);
};

}  // namespace corvane::sdts
