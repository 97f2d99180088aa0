// Coordinate reference objects built and looked up with PROJ, inside the PROJ plugin. Every
// CRS the plugin names comes from PROJ's registry or is assembled from PROJ's own building
// blocks, so the text in a projection file is always PROJ's rendering, never ours.
#pragma once

#include <proj.h>

#include <memory>
#include <string>

#include "formats/coordinate_reference.h"
#include "platform/unique_handle.h"

namespace corvane::formats {

using ProjContext = UniqueHandle<PJ_CONTEXT, proj_context_destroy>;
using ProjObject = UniqueHandle<PJ, proj_destroy>;

// A context that keeps PROJ's diagnostics off stderr: callers report failures themselves.
ProjContext make_proj_context();

// The registry's CRS for an EPSG code; null when there is none.
ProjObject crs_from_epsg(PJ_CONTEXT* context, int code);

// A coordinate operation of the registry (e.g. a State Plane zone's conversion); null when
// there is none.
ProjObject operation_from_epsg(PJ_CONTEXT* context, int code);

// A projected CRS on the geographic CRS `geographic_epsg` with easting/northing axes in the
// given linear unit; null when PROJ refuses it.
ProjObject projected_crs(PJ_CONTEXT* context, const std::string& name, int geographic_epsg,
                         PJ* conversion, const char* unit_name, double unit_to_metre);

// The projected CRS an Albers definition describes; null when PROJ refuses it.
ProjObject albers_crs(PJ_CONTEXT* context, const std::string& name, const AlbersDefinition& albers);

// The EPSG code of the registry's CRS equivalent to `crs`, or 0 when there is none.
int identify_epsg(PJ_CONTEXT* context, PJ* crs);

// The object's name, empty when it has none.
std::string object_name(PJ* object);

// Semi-major axis in metres of the ellipsoid of a geographic CRS; 0 when unknown.
double semi_major_axis(PJ_CONTEXT* context, int geographic_epsg);

}  // namespace corvane::formats
