// The projection file (.prj) beside a shapefile: the ESRI flavour of WKT that desktop GIS
// programs read to place the layer, as PROJ renders the layer's coordinate reference (the
// built-in references carry PROJ's rendering with them).
#pragma once

#include <string>
#include <string_view>

#include "formats/coordinate_reference.h"

namespace corvane::formats {

struct ProjectionFileResult {
  bool written = false;
  std::string log_line;  // one line for the run's log, without a line end
};

// PROJ's ESRI WKT of the reference; empty when PROJ cannot render it or cannot be loaded.
std::string PRJ_Esri_Wkt(const CoordinateReference& reference);

// Writes <shapefile path without its extension>.prj for the shapefile `shp_path` when the
// choice holds a reference. The log line says which reference went into which file, or
//   "No projection file written for <shp_path>: <reason>"
// when there is none or the file cannot be written (no partial file is left behind).
ProjectionFileResult PRJ_Write_Projection_File(std::string_view shp_path,
                                               const ReferenceChoice& choice);

// The same with `wkt` already rendered by PRJ_Esri_Wkt for the choice's reference, for a
// conversion that writes many layers in one reference (a render may have to query PROJ).
ProjectionFileResult PRJ_Write_Rendered_Projection_File(std::string_view shp_path,
                                                        const ReferenceChoice& choice,
                                                        const std::string& wkt);

}  // namespace corvane::formats
