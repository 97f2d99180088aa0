// The coordinate reference of the layers one conversion writes, worked out from what the
// input says about itself: the SDTS external spatial reference (system, datum, zone) or the
// DLG-3 header (records 4 to 10). A reference is only ever named when the input states both
// the system and the datum; anything we cannot pin down yields no reference and a reason,
// because a wrong datum silently shifts every feature by tens of metres.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvane::formats {

// A horizontal datum as the registry names it, with its geographic CRS.
struct Datum {
  const char* name;
  int geographic_epsg;
};

// An Albers equal-area projection given by its parameters rather than by a registry code.
// Angles in degrees (east and north positive), offsets in metres.
struct AlbersDefinition {
  int geographic_epsg = 0;  // the datum, named by its geographic CRS
  double first_parallel = 0.0;
  double second_parallel = 0.0;
  double origin_latitude = 0.0;
  double central_meridian = 0.0;
  double false_easting = 0.0;
  double false_northing = 0.0;
  bool operator==(const AlbersDefinition&) const = default;
};

struct CoordinateReference {
  int epsg = 0;                            // 0 when the registry holds no equivalent
  std::optional<AlbersDefinition> albers;  // set when the reference came as parameters
  std::string name;                        // the registry's name, e.g. "NAD27 / UTM zone 18N"

  // How the log and document name it: "EPSG:26718 NAD27 / UTM zone 18N", or the name
  // followed by "(custom definition)" when there is no code.
  std::string label() const;
};

// A reference, or the reason why there is none.
struct ReferenceChoice {
  std::optional<CoordinateReference> reference;
  std::string reason;
};

// From the first XREF record: reference system name (RSNM: "UTM", "GEO", "SPCS"), horizontal
// datum (HDAT: "NAS", "NAX", "WGB", "WGC", "WGE") and zone. SDTS fixes the ground units by the
// system: metres for UTM and SPCS, decimal degrees for GEO.
ReferenceChoice SDTS_Coordinate_Reference(std::string_view rsnm, std::string_view hdat,
                                          std::string_view zone);

// From the raw DLG-3 header records, record 1 first (at least records 1 to 4; records 5 to 10
// are needed for an Albers projection). Record 4 gives the system (0 geographic, 1 UTM, 2 State
// Plane, 3 Albers), zone, units and horizontal datum; records 5 to 9 the projection parameters.
ReferenceChoice DLG_Coordinate_Reference(std::span<const std::string> header_records);

}  // namespace corvane::formats
