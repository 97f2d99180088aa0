#include "formats/coordinate_reference.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "formats/builtin_reference.h"
#include "formats/proj_plugin.h"

namespace corvane::formats {

namespace {

constexpr Datum kNad27{"NAD27", 4267};
constexpr Datum kNad83{"NAD83", 4269};
constexpr Datum kWgs66{"WGS 66", 4760};
constexpr Datum kWgs72{"WGS 72", 4322};
constexpr Datum kWgs84{"WGS 84", 4326};
constexpr Datum kPuertoRico{"Puerto Rico", 4139};
constexpr Datum kOldHawaiian{"Old Hawaiian", 4135};

constexpr double kUsSurveyFootInMetres = 1200.0 / 3937.0;

// An ellipsoid given in the projection parameters must be the datum's own; a difference
// larger than this is a different ellipsoid, not rounding.
constexpr double kSemiMajorTolerance = 0.5;

ReferenceChoice none(std::string reason) { return {std::nullopt, std::move(reason)}; }

std::string_view trim(std::string_view text) {
  const auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
  };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// A whole-field integer; nothing for a blank field or one that is not entirely a number.
std::optional<int> parse_int(std::string_view text) {
  text = trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A whole-field real in Fortran notation ("-1.19024D+08" as well as "E").
std::optional<double> parse_real(std::string_view text) {
  std::string value(trim(text));
  if (!value.empty() && value.front() == '+') value.erase(0, 1);
  std::replace(value.begin(), value.end(), 'D', 'E');
  std::replace(value.begin(), value.end(), 'd', 'e');
  double result = 0.0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
  if (value.empty() || error != std::errc() || end != value.data() + value.size())
    return std::nullopt;
  return result;
}

// Columns `first` (1-based) to first + width - 1; columns past the record's end are blank.
std::string_view columns(std::string_view record, std::size_t first, std::size_t width) {
  if (first - 1 >= record.size()) return {};
  return record.substr(first - 1, width);
}

// DDDMMMSSS.SS, the packed angles of the projection parameters.
std::optional<double> packed_dms_degrees(double packed) {
  const double magnitude = std::fabs(packed);
  const double degrees = std::floor(magnitude / 1e6);
  const double minutes = std::floor((magnitude - degrees * 1e6) / 1e3);
  const double seconds = magnitude - degrees * 1e6 - minutes * 1e3;
  if (minutes >= 60.0 || seconds >= 60.0) return std::nullopt;
  const double value = degrees + minutes / 60.0 + seconds / 3600.0;
  return packed < 0 ? -value : value;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// PROJ answers what the built-in table does not; without the plugin there is no answer.
template <class Question>
ReferenceChoice ask_proj(Question question) {
  std::string reason;
  const ProjPlugin* plugin = proj_plugin(reason);
  if (plugin == nullptr) return none(reason);
  return question(*plugin);
}

ReferenceChoice geographic(const Datum& datum) {
  if (auto reference = builtin_geographic(datum.geographic_epsg)) return {reference, {}};
  return ask_proj([&](const ProjPlugin& proj) { return proj.geographic(datum); });
}

// Zones count from 1 to 60; a negative zone is the southern half of its zone.
ReferenceChoice utm(const Datum& datum, int zone) {
  if (zone == 0 || zone < -60 || zone > 60)
    return none("UTM zone " + std::to_string(zone) + " does not exist");
  if (auto reference = builtin_utm(datum.geographic_epsg, zone)) return {reference, {}};
  return ask_proj([&](const ProjPlugin& proj) { return proj.utm(datum, zone); });
}

ReferenceChoice state_plane(const Datum& datum, int zone, const char* unit_name,
                            double unit_to_metre) {
  const bool nad27 = datum.geographic_epsg == kNad27.geographic_epsg;
  const bool nad83 = datum.geographic_epsg == kNad83.geographic_epsg;
  if (!nad27 && !nad83)
    return none("State Plane zones are defined on NAD27 and NAD83 only, not on " +
                std::string(datum.name));
  if (zone <= 0 || zone > 9999)
    return none("State Plane zone " + std::to_string(zone) + " does not exist");
  return ask_proj([&](const ProjPlugin& proj) {
    return proj.state_plane(datum, zone, unit_name, unit_to_metre);
  });
}

std::optional<Datum> sdts_datum(std::string_view code) {
  if (code == "NAS") return kNad27;
  if (code == "NAX") return kNad83;
  if (code == "WGB") return kWgs66;
  if (code == "WGC") return kWgs72;
  if (code == "WGE") return kWgs84;
  return std::nullopt;
}

std::optional<Datum> dlg_datum(int code) {
  switch (code) {
    case 0:
      return kNad27;
    case 1:
      return kNad83;
    case 2:
      return kPuertoRico;
    case 3:
      return kOldHawaiian;
    default:
      return std::nullopt;
  }
}

// GCTP units codes of record 4.
constexpr int kUnitsFeet = 1;
constexpr int kUnitsMetres = 2;
constexpr int kUnitsDegrees = 4;

// Fifteen parameters, three per record in records 5 to 9, 24 columns each. For Albers:
// semi-major axis (0: the datum's own), semi-minor axis or eccentricity, the two standard
// parallels, central meridian, latitude of origin (angles packed DDDMMMSSS.SS), false
// easting and false northing.
ReferenceChoice dlg_albers(std::span<const std::string> records, const Datum& datum) {
  constexpr std::size_t kParameters = 8;
  constexpr std::size_t kFirstParameterRecord = 4;  // index of record 5
  if (records.size() < kFirstParameterRecord + (kParameters + 2) / 3)
    return none("the header lacks the projection parameter records");
  double values[kParameters];
  for (std::size_t i = 0; i < kParameters; ++i) {
    const auto value =
        parse_real(columns(records[kFirstParameterRecord + i / 3], 1 + 24 * (i % 3), 24));
    if (!value) return none("projection parameter " + std::to_string(i + 1) + " is not a number");
    values[i] = *value;
  }
  return ask_proj([&](const ProjPlugin& proj) {
    if (values[0] != 0.0 &&
        std::fabs(values[0] - proj.semi_major_axis(datum.geographic_epsg)) > kSemiMajorTolerance)
      return none("the projection parameters' ellipsoid does not belong to the datum " +
                  std::string(datum.name));
    double angles[4];
    for (std::size_t i = 0; i < 4; ++i) {
      const auto angle = packed_dms_degrees(values[2 + i]);
      if (!angle || std::fabs(*angle) > (i == 2 ? 180.0 : 90.0))
        return none("projection parameter " + std::to_string(i + 3) + " is not a valid angle");
      angles[i] = *angle;
    }
    return proj.albers(AlbersDefinition{datum.geographic_epsg, angles[0], angles[1], angles[3],
                                        angles[2], values[6], values[7]},
                       datum);
  });
}

}  // namespace

std::string CoordinateReference::label() const {
  if (epsg != 0) return "EPSG:" + std::to_string(epsg) + " " + name;
  return name + " (custom definition)";
}

ReferenceChoice SDTS_Coordinate_Reference(std::string_view rsnm, std::string_view hdat,
                                          std::string_view zone) {
  const std::string_view system = trim(rsnm);
  if (system != "UTM" && system != "GEO" && system != "SPCS")
    return none("reference system " + quoted(system) + " is not supported");
  const std::string_view datum_code = trim(hdat);
  const std::optional<Datum> datum = sdts_datum(datum_code);
  if (!datum) return none("horizontal datum " + quoted(datum_code) + " is unknown");
  if (system == "GEO") return geographic(*datum);
  const std::optional<int> zone_number = parse_int(zone);
  if (!zone_number || *zone_number <= 0)
    return none("zone " + quoted(trim(zone)) + " is not a zone number");
  if (system == "UTM") return utm(*datum, *zone_number);
  return state_plane(*datum, *zone_number, "metre", 1.0);
}

ReferenceChoice DLG_Coordinate_Reference(std::span<const std::string> header_records) {
  if (header_records.size() < 4) return none("the header has no record 4");
  const std::string_view record4 = header_records[3];
  const std::optional<int> system = parse_int(columns(record4, 7, 6));
  const std::optional<int> zone = parse_int(columns(record4, 13, 6));
  const std::optional<int> units = parse_int(columns(record4, 19, 6));
  const std::optional<int> datum_code = parse_int(columns(record4, 67, 3));
  if (!system) return none("record 4 gives no reference system");
  if (!datum_code) return none("record 4 gives no horizontal datum");
  const std::optional<Datum> datum = dlg_datum(*datum_code);
  if (!datum)
    return none("horizontal datum code " + std::to_string(*datum_code) +
                " has no registered definition");
  const int unit = units.value_or(-1);
  const auto wrong_units = [&](const char* system_name) {
    return none(std::string(system_name) + " coordinates in units code " +
                (units ? std::to_string(*units) : std::string("(blank)")) + " are not supported");
  };
  switch (*system) {
    case 0:
      if (unit != kUnitsDegrees) return wrong_units("geographic");
      return geographic(*datum);
    case 1:
      if (unit != kUnitsMetres) return wrong_units("UTM");
      if (!zone) return none("record 4 gives no UTM zone");
      return utm(*datum, *zone);
    case 2:
      if (!zone) return none("record 4 gives no State Plane zone");
      if (unit == kUnitsMetres) return state_plane(*datum, *zone, "metre", 1.0);
      if (unit == kUnitsFeet)
        return state_plane(*datum, *zone, "US survey foot", kUsSurveyFootInMetres);
      return wrong_units("State Plane");
    case 3:
      if (unit != kUnitsMetres) return wrong_units("Albers");
      return dlg_albers(header_records, *datum);
    default:
      return none("reference system code " + std::to_string(*system) + " is not supported");
  }
}

}  // namespace corvane::formats
