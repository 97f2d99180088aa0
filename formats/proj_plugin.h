// The coordinate references the built-in table does not answer (State Plane, Albers, other
// datums) are worked out by PROJ, which lives in the plugin libcorvane_proj.so together with
// everything it loads. The plugin is loaded on the first question only.
#pragma once

#include <string>

#include "formats/coordinate_reference.h"

namespace corvane::formats {

inline constexpr const char* kProjPluginLibrary = "libcorvane_proj.so";
inline constexpr const char* kProjPluginEntry = "corvane_proj_plugin";

// What the plugin answers. Each reference it names comes from PROJ's registry or is
// assembled from PROJ's own building blocks, and every WKT is PROJ's rendering.
struct ProjPlugin {
  ReferenceChoice (*geographic)(const Datum& datum);
  // Zones 1 to 60; negative for the southern half.
  ReferenceChoice (*utm)(const Datum& datum, int zone);
  // A zone code of 1 to 9999, on NAD27 or NAD83, with the coordinates' linear unit.
  ReferenceChoice (*state_plane)(const Datum& datum, int zone, const char* unit_name,
                                 double unit_to_metre);
  ReferenceChoice (*albers)(const AlbersDefinition& definition, const Datum& datum);
  // Semi-major axis in metres of the datum's ellipsoid; 0 when unknown.
  double (*semi_major_axis)(int geographic_epsg);
  // The ESRI WKT; empty when PROJ cannot render it.
  std::string (*esri_wkt)(const CoordinateReference& reference);
};

// The type of the plugin's entry, its one exported symbol.
using ProjPluginEntry = const ProjPlugin*();

// The plugin, loaded on first use; null with `reason` set when it cannot be loaded.
const ProjPlugin* proj_plugin(std::string& reason);

}  // namespace corvane::formats
