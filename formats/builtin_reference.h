// The coordinate references nearly every DLG transfer uses (UTM and geographic on NAD27,
// NAD83, WGS 72 and WGS 84) answered without PROJ: the same registry code, name and ESRI
// WKT that PROJ gives for them, so that a conversion in one of them never loads PROJ and
// its database.
#pragma once

#include <optional>
#include <string>

#include "formats/coordinate_reference.h"

namespace corvane::formats {

// The geographic CRS of a datum (named by its EPSG code); nothing when it is not built in.
std::optional<CoordinateReference> builtin_geographic(int geographic_epsg);

// UTM zone |zone| of a datum, southern half for a negative zone; nothing when it is not
// built in, which includes every zone the registry has no code for on that datum.
std::optional<CoordinateReference> builtin_utm(int geographic_epsg, int zone);

// The ESRI WKT of a built-in reference; nothing for any other code.
std::optional<std::string> builtin_esri_wkt(int epsg);

}  // namespace corvane::formats
