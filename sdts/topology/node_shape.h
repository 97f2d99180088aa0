// Node and point modules ("NE", "NP", "NA", "NO") to a Point shapefile.
#pragma once

#include <string>

class SDTSNoFile {
 public:
  explicit SDTSNoFile(const char* file);
  // Writes "<theme_name>.shp/.shx/.dbf" in the run directory. Returns 0 on success.
  int write_node_shape(const std::string& theme_name);

 private:
  std::string path_;
};
