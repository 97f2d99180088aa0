#include "formats/shp_counters.h"

namespace corvane::formats {

std::int32_t SHP_Record_Bytes = 0;
std::int32_t SHP_Shp_Offset = 0;
std::int32_t SHP_Shx_Offset = 0;

}  // namespace corvane::formats
