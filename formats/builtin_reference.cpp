#include "formats/builtin_reference.h"

#include <cctype>
#include <cstdlib>

namespace corvane::formats {

namespace {

struct BuiltinDatum {
  int geographic_epsg;
  const char* name;       // the registry's, e.g. "NAD27"
  const char* esri_name;  // as ESRI names projections on it, e.g. "NAD_1927"
  const char* geogcs;     // ESRI WKT of the geographic CRS
};

constexpr BuiltinDatum kDatums[] = {
    {4267, "NAD27", "NAD_1927",
     R"(GEOGCS["GCS_North_American_1927",DATUM["D_North_American_1927",)"
     R"(SPHEROID["Clarke_1866",6378206.4,294.978698213898]],PRIMEM["Greenwich",0.0],)"
     R"(UNIT["Degree",0.0174532925199433]])"},
    {4269, "NAD83", "NAD_1983",
     R"(GEOGCS["GCS_North_American_1983",DATUM["D_North_American_1983",)"
     R"(SPHEROID["GRS_1980",6378137.0,298.257222101]],PRIMEM["Greenwich",0.0],)"
     R"(UNIT["Degree",0.0174532925199433]])"},
    {4322, "WGS 72", "WGS_1972",
     R"(GEOGCS["GCS_WGS_1972",DATUM["D_WGS_1972",SPHEROID["WGS_1972",6378135.0,298.26]],)"
     R"(PRIMEM["Greenwich",0.0],UNIT["Degree",0.0174532925199433]])"},
    {4326, "WGS 84", "WGS_1984",
     R"(GEOGCS["GCS_WGS_1984",DATUM["D_WGS_1984",SPHEROID["WGS_1984",6378137.0,298.257223563]],)"
     R"(PRIMEM["Greenwich",0.0],UNIT["Degree",0.0174532925199433]])"},
};

// Consecutive zones of one hemisphere that the registry numbers consecutively.
struct UtmRun {
  int geographic_epsg;
  bool north;
  int first_zone;
  int last_zone;
  int first_code;
  // ESRI's own name; codes ESRI does not list are named after the registry's name.
  bool esri_named = true;
};

// The registry holds the North American datums only for the zones they are used in.
constexpr UtmRun kUtmRuns[] = {
    {4267, true, 1, 22, 26701},        {4267, true, 59, 60, 3370}, {4269, true, 1, 23, 26901},
    {4269, true, 24, 24, 9712, false}, {4269, true, 59, 60, 3372}, {4322, true, 1, 60, 32201},
    {4322, false, 1, 60, 32301},       {4326, true, 1, 60, 32601}, {4326, false, 1, 60, 32701},
};

const BuiltinDatum* find_datum(int geographic_epsg) {
  for (const BuiltinDatum& datum : kDatums)
    if (datum.geographic_epsg == geographic_epsg) return &datum;
  return nullptr;
}

struct UtmZone {
  const UtmRun* run;
  int zone;  // 1 to 60
};

std::optional<UtmZone> find_zone_by_code(int epsg) {
  for (const UtmRun& run : kUtmRuns) {
    if (epsg >= run.first_code && epsg <= run.first_code + (run.last_zone - run.first_zone))
      return UtmZone{&run, run.first_zone + (epsg - run.first_code)};
  }
  return std::nullopt;
}

std::string zone_label(int zone, bool north) { return std::to_string(zone) + (north ? "N" : "S"); }

std::string utm_name(const BuiltinDatum& datum, const UtmZone& utm) {
  return std::string(datum.name) + " / UTM zone " + zone_label(utm.zone, utm.run->north);
}

// "NAD83 / UTM zone 24N" becomes "NAD83_UTM_zone_24N".
std::string underscored(const std::string& name) {
  std::string result;
  for (const char c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      result += c;
    else if (!result.empty() && result.back() != '_')
      result += '_';
  }
  return result;
}

std::string utm_esri_wkt(const BuiltinDatum& datum, const UtmZone& utm) {
  const std::string projcs = utm.run->esri_named ? std::string(datum.esri_name) + "_UTM_Zone_" +
                                                       zone_label(utm.zone, utm.run->north)
                                                 : underscored(utm_name(datum, utm));
  const int central_meridian = 6 * utm.zone - 183;
  return "PROJCS[\"" + projcs + "\"," + datum.geogcs +
         ",PROJECTION[\"Transverse_Mercator\"],PARAMETER[\"False_Easting\",500000.0],"
         "PARAMETER[\"False_Northing\"," +
         (utm.run->north ? "0.0" : "10000000.0") + "],PARAMETER[\"Central_Meridian\"," +
         std::to_string(central_meridian) +
         ".0],PARAMETER[\"Scale_Factor\",0.9996],PARAMETER[\"Latitude_Of_Origin\",0.0],"
         "UNIT[\"Meter\",1.0]]";
}

}  // namespace

std::optional<CoordinateReference> builtin_geographic(int geographic_epsg) {
  const BuiltinDatum* datum = find_datum(geographic_epsg);
  if (datum == nullptr) return std::nullopt;
  return CoordinateReference{datum->geographic_epsg, std::nullopt, datum->name};
}

std::optional<CoordinateReference> builtin_utm(int geographic_epsg, int zone) {
  const BuiltinDatum* datum = find_datum(geographic_epsg);
  if (datum == nullptr || zone < -60 || zone > 60) return std::nullopt;
  const bool north = zone > 0;
  const int number = std::abs(zone);
  for (const UtmRun& run : kUtmRuns) {
    if (run.geographic_epsg != geographic_epsg || run.north != north || number < run.first_zone ||
        number > run.last_zone)
      continue;
    const UtmZone utm{&run, number};
    return CoordinateReference{run.first_code + number - run.first_zone, std::nullopt,
                               utm_name(*datum, utm)};
  }
  return std::nullopt;
}

std::optional<std::string> builtin_esri_wkt(int epsg) {
  if (const BuiltinDatum* datum = find_datum(epsg)) return std::string(datum->geogcs);
  const std::optional<UtmZone> utm = find_zone_by_code(epsg);
  if (!utm) return std::nullopt;
  return utm_esri_wkt(*find_datum(utm->run->geographic_epsg), *utm);
}

}  // namespace corvane::formats
