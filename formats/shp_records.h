// The in-memory records handed to the shapefile writer. The caller owns them; the writer
// reads them and, while preparing, turns their byte counts into 16-bit word counts in place
// (a record written twice needs its byte counts set afresh before the second write).
#pragma once

#include <cstdint>
#include <vector>

namespace corvane::formats {

inline constexpr std::int32_t SHP_POINT = 1;
inline constexpr std::int32_t SHP_POLYLINE = 3;
inline constexpr std::int32_t SHP_POLYGON = 5;

// One per shapefile pair; the .shp and .shx headers differ only in the file length.
struct SHPHeader {
  std::int32_t file_code = 0;
  std::int32_t unused[5] = {0, 0, 0, 0, 0};
  std::int32_t file_length = 0;  // bytes; words once written
  std::int32_t version = 0;
  std::int32_t shape_type = 0;
  // Kept in this order here; the file orders them Xmin, Ymin, Xmax, Ymax.
  double x_min = 0.0;
  double x_max = 0.0;
  double y_min = 0.0;
  double y_max = 0.0;
  // Z and M ranges: always zero and never written.
  double z_min = 0.0;
  double z_max = 0.0;
  double m_min = 0.0;
  double m_max = 0.0;
};

struct SHPRecordHeader {
  std::int32_t record_number = 0;   // the first record is 1
  std::int32_t content_length = 0;  // bytes; words once written
};

struct SHPIndexEntry {
  std::int32_t offset = 0;          // bytes of the record header in the .shp; words once written
  std::int32_t content_length = 0;  // bytes; words once written
};

struct SHPPoint {
  std::int32_t shape_type = SHP_POINT;
  double x = 0.0;
  double y = 0.0;
};

struct SHPVertex {
  double x = 0.0;
  double y = 0.0;
};

// A PolyLine (type 3) or Polygon (type 5) shape. The counts written are the sizes of the
// two arrays, so they can never disagree with what is there.
struct SHPArc {
  std::int32_t shape_type = SHP_POLYLINE;
  // In the file's order.
  double x_min = 0.0;
  double y_min = 0.0;
  double x_max = 0.0;
  double y_max = 0.0;
  std::vector<std::int32_t> parts;  // index of each part's first point in `points`
  std::vector<SHPVertex> points;

  std::int32_t num_parts() const { return static_cast<std::int32_t>(parts.size()); }
  std::int32_t num_points() const { return static_cast<std::int32_t>(points.size()); }
};

}  // namespace corvane::formats
