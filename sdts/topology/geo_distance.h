// Length of a segment between two geographic points (x longitude, y latitude, degrees).
#pragma once

#include "formats/shp_records.h"

namespace corvane::sdts {

// Haversine distance in statute miles on a sphere of radius 6,367,650 m.
double Geo_Distance_Miles(const corvane::formats::SHPVertex& a,
                          const corvane::formats::SHPVertex& b);

}  // namespace corvane::sdts
