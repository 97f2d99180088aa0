// The .shp/.shx pair of one shapefile being written, in the writer's calling order:
// placeholder headers, then record header, content and index entry per shape, then the
// final headers with the lengths and the box. Pairs keep nothing in common, so several may
// be written at once.
#pragma once

#include <cstdint>
#include <string>

#include "formats/bounding_box.h"
#include "formats/c_file.h"
#include "formats/shapefile_writer.h"

namespace corvane::formats {

class ShapefilePair {
 public:
  // Each opens its file "wb"; false when it cannot.
  bool open_shp(const std::string& path);
  bool open_shx(const std::string& path);

  // Writes both placeholder headers; the records that follow are numbered from 1.
  void begin(std::int32_t shape_type);
  void add_point(const SHPPoint& point);
  // A PolyLine or Polygon record, as the arc's type says. The arc's box must be set.
  void add_arc(const SHPArc& arc);
  // Final headers with the file lengths and the box of the records added, or `box`; closes
  // both files and puts the conversion's projection file beside them (PRJ_Finish_Layer).
  void finish();
  void finish(const BoundingBox& box);

  std::int32_t records() const { return records_; }

 private:
  void begin_record(std::int32_t content_bytes);
  void end_record();

  SHPWriter writer_;
  CFile shp_, shx_;
  std::string shp_path_;
  SHPHeader header_{};
  std::int32_t next_offset_ = 100;
  BoundingBox box_;
  std::int32_t records_ = 0;
};

}  // namespace corvane::formats
