#include "formats/proj_crs.h"

#include <proj_experimental.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace corvane::formats {

namespace {

// PROJ rates an equivalent definition under another name at 70; anything lower is only
// similar, and a merely similar CRS must not lend us its code.
constexpr int kEquivalentConfidence = 70;

constexpr double kDegreeInRadians = 0.0174532925199433;

}  // namespace

ProjContext make_proj_context() {
  ProjContext context(proj_context_create());
  if (context) proj_log_level(context.get(), PJ_LOG_NONE);
  return context;
}

ProjObject crs_from_epsg(PJ_CONTEXT* context, int code) {
  const std::string text = std::to_string(code);
  ProjObject crs(
      proj_create_from_database(context, "EPSG", text.c_str(), PJ_CATEGORY_CRS, 0, nullptr));
  return crs;
}

ProjObject operation_from_epsg(PJ_CONTEXT* context, int code) {
  const std::string text = std::to_string(code);
  return ProjObject(proj_create_from_database(context, "EPSG", text.c_str(),
                                              PJ_CATEGORY_COORDINATE_OPERATION, 0, nullptr));
}

ProjObject projected_crs(PJ_CONTEXT* context, const std::string& name, int geographic_epsg,
                         PJ* conversion, const char* unit_name, double unit_to_metre) {
  ProjObject base = crs_from_epsg(context, geographic_epsg);
  if (!base || !conversion) return nullptr;
  ProjObject axes(
      proj_create_cartesian_2D_cs(context, PJ_CART2D_EASTING_NORTHING, unit_name, unit_to_metre));
  if (!axes) return nullptr;
  return ProjObject(
      proj_create_projected_crs(context, name.c_str(), base.get(), conversion, axes.get()));
}

ProjObject albers_crs(PJ_CONTEXT* context, const std::string& name,
                      const AlbersDefinition& albers) {
  ProjObject conversion(proj_create_conversion_albers_equal_area(
      context, albers.origin_latitude, albers.central_meridian, albers.first_parallel,
      albers.second_parallel, albers.false_easting, albers.false_northing, "Degree",
      kDegreeInRadians, "metre", 1.0));
  return projected_crs(context, name, albers.geographic_epsg, conversion.get(), "metre", 1.0);
}

int identify_epsg(PJ_CONTEXT* context, PJ* crs) {
  int* raw_confidence = nullptr;
  UniqueHandle<PJ_OBJ_LIST, proj_list_destroy> candidates(
      proj_identify(context, crs, "EPSG", nullptr, &raw_confidence));
  UniqueHandle<int, proj_int_list_destroy> confidence(raw_confidence);
  if (!candidates || !confidence) return 0;
  // Candidates come best first.
  const int count = proj_list_get_count(candidates.get());
  for (int i = 0; i < count; ++i) {
    if (confidence.get()[i] < kEquivalentConfidence) break;
    ProjObject candidate(proj_list_get(context, candidates.get(), i));
    const char* authority = candidate ? proj_get_id_auth_name(candidate.get(), 0) : nullptr;
    const char* code = candidate ? proj_get_id_code(candidate.get(), 0) : nullptr;
    if (authority && code && std::strcmp(authority, "EPSG") == 0) return std::atoi(code);
  }
  return 0;
}

std::string object_name(PJ* object) {
  const char* name = object ? proj_get_name(object) : nullptr;
  return name ? name : "";
}

double semi_major_axis(PJ_CONTEXT* context, int geographic_epsg) {
  ProjObject crs = crs_from_epsg(context, geographic_epsg);
  if (!crs) return 0.0;
  ProjObject ellipsoid(proj_get_ellipsoid(context, crs.get()));
  double semi_major = 0.0;
  if (!ellipsoid || !proj_ellipsoid_get_parameters(context, ellipsoid.get(), &semi_major, nullptr,
                                                   nullptr, nullptr))
    return 0.0;
  return semi_major;
}

}  // namespace corvane::formats
