// The .shp/.shx pair of one shapefile being written, in the writer's calling order:
// placeholder headers, then record header, content and index entry per shape, then the
// final headers with the lengths and the box.
#pragma once

#include <cstdint>
#include <string>

#include "formats/shapefile_writer.h"
#include "sdts/run/c_file.h"
#include "sdts/topology/bounding_box.h"

namespace corvane::sdts {

class ShapePair {
 public:
  // Each opens its file "wb"; false when it cannot. The .shp path goes to the work file.
  bool open_shp(const std::string& path);
  bool open_shx(const std::string& path);

  // Writes both placeholder headers.
  void begin(std::int32_t shape_type);
  // Record `number` (from 1): its header, its content and its index entry.
  void write_point(std::int32_t number, const corvane::formats::SHPPoint& point);
  void write_arc(std::int32_t number, const corvane::formats::SHPArc& arc);
  void write_poly(std::int32_t number, const corvane::formats::SHPArc& arc);
  // Final headers with the file lengths and `box`; closes both files and puts the
  // conversion's projection file beside them.
  void finish(const BoundingBox& box);

 private:
  void write_index();

  CFile shp_, shx_;
  std::string shp_path_;
  corvane::formats::SHPHeader header_{};
  std::int32_t next_offset_ = 100;
};

}  // namespace corvane::sdts
