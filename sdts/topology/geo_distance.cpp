#include "sdts/topology/geo_distance.h"

#include <cmath>

namespace corvane::sdts {

namespace {
double square(double v) { return v * v; }
}  // namespace

double Geo_Distance_Miles(const corvane::formats::SHPVertex& a,
                          const corvane::formats::SHPVertex& b) {
  // Slightly below pi/180: the lengths in the line tables are computed with this factor.
  constexpr double k = 0.017453292519444445;
  constexpr double kEarthDiameterMetres = 12735300.0;
  constexpr double kMilesPerMetre = 0.0006213711922373339;
  const double lat_a = a.y * k;
  const double lat_b = b.y * k;
  const double s1 = square(std::sin((a.x * k - b.x * k) * 0.5));
  const double s2 = square(std::sin((lat_a - lat_b) * 0.5));
  const double h = s1 * std::cos(lat_b) * std::cos(lat_a) + s2;
  return std::asin(std::sqrt(h)) * kEarthDiameterMetres * kMilesPerMetre;
}

}  // namespace corvane::sdts
