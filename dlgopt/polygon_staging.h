// Staging files for polygon assembly, in the conversion's private work directory:
// "pts.tmp" (every point, X and Y), "head.tmp" (points per ring), "parts.tmp" (rings per
// area) and "box.tmp" (each area's box). Values are little-endian 32-bit integers and doubles.
#pragma once

#include <cstdint>
#include <span>

#include "formats/bounding_box.h"
#include "formats/c_file.h"
#include "formats/shp_records.h"

namespace corvane::dlgopt {

class PolygonStaging {
 public:
  // Creates the four files; a file that cannot be opened is reported, sets g_opt_status to -1
  // and gives false.
  bool open();

  // Writing, area by area: an area starts with one empty ring.
  void begin_area(int area_id);
  void next_ring();
  // Appends the points, in reverse order when the line runs against the ring.
  void add_points(std::span<const formats::SHPVertex> points, bool reversed);
  void end_area();

  // Reading back, from the first area.
  void rewind();
  // The next area as a polygon with one part per ring; false after the last one.
  bool read_polygon(formats::SHPArc& polygon);

 private:
  void put_int(std::FILE* file, std::int32_t value);
  void put_double(std::FILE* file, double value);
  std::int32_t get_int(std::FILE* file);
  double get_double(std::FILE* file);
  [[noreturn]] void staging_failed();

  formats::CFile points_;
  formats::CFile heads_;
  formats::CFile boxes_;
  formats::CFile parts_;
  int area_id_ = 0;
  std::int32_t rings_ = 0;
  std::int64_t ring_points_ = 0;
  std::int64_t area_points_ = 0;
  formats::BoundingBox box_;
};

}  // namespace corvane::dlgopt
