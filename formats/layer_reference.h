// The coordinate reference of the layers the running conversion writes, and where the lines
// about their projection files go. formats/ is built into each converter, so each keeps its
// own. A converter chooses the reference once per conversion, before its first shapefile,
// and every place that finishes a shapefile calls PRJ_Finish_Layer.
#pragma once

#include <string>
#include <string_view>

#include "formats/coordinate_reference.h"

namespace corvane::formats {

// Receives one log line, without a line end.
using LayerLog = void (*)(std::string_view line);

// "Coordinate reference: EPSG:26718 NAD27 / UTM zone 18N", or
// "Coordinate reference: none (<reason>)".
std::string PRJ_Reference_Line(const ReferenceChoice& choice);

// Holds the conversion's reference while it lives; afterwards (also when the conversion
// ends early) no reference is set, so no later writer inherits this conversion's.
class LayerReferenceScope {
 public:
  LayerReferenceScope(const ReferenceChoice& choice, LayerLog log);
  ~LayerReferenceScope();
  LayerReferenceScope(const LayerReferenceScope&) = delete;
  LayerReferenceScope& operator=(const LayerReferenceScope&) = delete;
};

// Writes the projection file of the finished shapefile `shp_path` and logs the line. Does
// nothing while no reference is set (a writer used outside a conversion).
void PRJ_Finish_Layer(std::string_view shp_path);

}  // namespace corvane::formats
