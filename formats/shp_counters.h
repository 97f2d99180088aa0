// The shapefile writer's counters, shared with its callers. They live for the whole process
// (one copy in each converter library, as each links its own formats/), so only one
// shapefile pair may be written at a time.
#pragma once

#include <cstdint>

namespace corvane::formats {

// Content length in bytes of the last Point, PolyLine or Polygon record prepared.
extern std::int32_t SHP_Record_Bytes;
// The .shp file's position after the last header, record header or record content written.
// Callers set it to 100 after the two placeholder headers.
extern std::int32_t SHP_Shp_Offset;
// The .shx file's position after the last index entry written.
extern std::int32_t SHP_Shx_Offset;

}  // namespace corvane::formats
