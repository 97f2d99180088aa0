// One shapefile pair being written: placeholder headers first, then one record and index
// entry per shape, then the final headers with the lengths and the bounding box.
#pragma once

#include <cstdint>
#include <cstdio>

#include "formats/shp_records.h"

namespace corvane::dlgopt {

// Starts empty: Xmin = Ymin = 1e99, Xmax = Ymax = -1e99.
struct BoundingBox {
  double x_min = 1e99;
  double y_min = 1e99;
  double x_max = -1e99;
  double y_max = -1e99;

  void widen(double x, double y);
  void widen(const BoundingBox& other);
};

class ShapefilePair {
 public:
  // Both files open for writing, owned by the caller, kept open until finish().
  ShapefilePair(std::FILE* shp, std::FILE* shx, std::int32_t shape_type);

  void add_point(double x, double y);
  // The arc's box must be set; it widens the file's box.
  void add_arc(const formats::SHPArc& arc);
  // Writes the final headers.
  void finish();

  int records() const { return records_; }

 private:
  void begin_record(std::int32_t content_bytes);
  void end_record();

  std::FILE* shp_;
  std::FILE* shx_;
  formats::SHPHeader header_;
  std::int32_t next_offset_ = 100;
  BoundingBox box_;
  int records_ = 0;
};

}  // namespace corvane::dlgopt
