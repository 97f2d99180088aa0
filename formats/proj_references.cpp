// libcorvane_proj.so: the coordinate references worked out by PROJ, behind the plugin entry.
#include <proj_experimental.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "formats/proj_crs.h"
#include "formats/proj_plugin.h"

namespace corvane::formats {

namespace {

ReferenceChoice none(std::string reason) { return {std::nullopt, std::move(reason)}; }

// PROJ opens its database once per context; one context serves the whole process.
PJ_CONTEXT* context() {
  static const ProjContext shared = make_proj_context();
  return shared.get();
}

ReferenceChoice registered(int code) {
  ProjObject crs = crs_from_epsg(context(), code);
  if (!crs) return none("EPSG:" + std::to_string(code) + " is missing from PROJ's registry");
  return {CoordinateReference{code, std::nullopt, object_name(crs.get())}, {}};
}

ReferenceChoice geographic(const Datum& datum) { return registered(datum.geographic_epsg); }

// A projection built from its parts is named by the registry's code for the same CRS; we
// write no definition of our own for systems that have one. The CRS asked about is unnamed
// so that PROJ goes by its definition alone: a name of ours matches nothing in the registry,
// and the search for it costs PROJ some twenty times the identification itself.
ReferenceChoice registered_projection(const Datum& datum, PJ* conversion, const char* unit_name,
                                      double unit_to_metre, const std::string& what) {
  ProjObject crs = projected_crs(context(), "unknown", datum.geographic_epsg, conversion, unit_name,
                                 unit_to_metre);
  if (!crs) return none("PROJ cannot build " + what);
  const int code = identify_epsg(context(), crs.get());
  if (code == 0) return none("no EPSG definition for " + what);
  return registered(code);
}

ReferenceChoice utm(const Datum& datum, int zone) {
  const std::string what =
      "UTM zone " + std::to_string(std::abs(zone)) + (zone < 0 ? "S" : "N") + " on " + datum.name;
  ProjObject conversion(proj_create_conversion_utm(context(), std::abs(zone), zone > 0));
  return registered_projection(datum, conversion.get(), "metre", 1.0, what);
}

// The registry numbers each State Plane zone's conversion after the zone's code: 10000 + code
// for the 1927 zones, 10030 + code for the 1983 ones. The conversion's name must confirm it.
ReferenceChoice state_plane(const Datum& datum, int zone, const char* unit_name,
                            double unit_to_metre) {
  char zone_text[16];
  std::snprintf(zone_text, sizeof zone_text, "%04d", zone);
  const std::string what = std::string("State Plane zone ") + zone_text + " on " + datum.name;
  const bool nad27 = datum.geographic_epsg == 4267;
  ProjObject conversion = operation_from_epsg(context(), (nad27 ? 10000 : 10030) + zone);
  if (!conversion ||
      object_name(conversion.get()).find(nad27 ? "CS27" : "CS83") == std::string::npos)
    return none("no EPSG definition for " + what);
  return registered_projection(datum, conversion.get(), unit_name, unit_to_metre, what);
}

ReferenceChoice albers(const AlbersDefinition& definition, const Datum& datum) {
  char name[160];
  std::snprintf(name, sizeof name,
                "%s / Albers equal area (parallels %.6g and %.6g, origin %.6g, %.6g)", datum.name,
                definition.first_parallel, definition.second_parallel, definition.origin_latitude,
                definition.central_meridian);
  ProjObject crs = albers_crs(context(), name, definition);
  if (!crs) return none(std::string("PROJ cannot build ") + name);
  CoordinateReference reference{identify_epsg(context(), crs.get()), definition, name};
  if (reference.epsg != 0) {
    ProjObject registered_crs = crs_from_epsg(context(), reference.epsg);
    reference.name = object_name(registered_crs.get());
  }
  return {reference, {}};
}

double semi_major(int geographic_epsg) { return semi_major_axis(context(), geographic_epsg); }

std::string esri_wkt(const CoordinateReference& reference) {
  ProjObject crs;
  if (reference.epsg != 0)
    crs = crs_from_epsg(context(), reference.epsg);
  else if (reference.albers)
    crs = albers_crs(context(), reference.name, *reference.albers);
  if (!crs) return {};
  const char* wkt = proj_as_wkt(context(), crs.get(), PJ_WKT1_ESRI, nullptr);
  return wkt ? wkt : "";
}

constexpr ProjPlugin kPlugin{geographic, utm, state_plane, albers, semi_major, esri_wkt};

}  // namespace

}  // namespace corvane::formats

extern "C" __attribute__((visibility("default"))) const corvane::formats::ProjPlugin*
corvane_proj_plugin() {
  return &corvane::formats::kPlugin;
}
