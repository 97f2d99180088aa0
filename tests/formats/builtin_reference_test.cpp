// The built-in references must be indistinguishable from PROJ's answers: same code, same
// name, same ESRI WKT byte for byte, and present for every UTM zone and geographic CRS that
// PROJ answers on the four built-in datums. PROJ is asked through the plugin, the path the
// converters take for everything not built in.
#include "formats/builtin_reference.h"

#include <gtest/gtest.h>
#include <proj.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

#include "formats/proj_plugin.h"
#include "formats/projection_file.h"

namespace corvane::formats {
namespace {

struct DatumCase {
  Datum datum;
  bool built_in;
};

constexpr DatumCase kDatumCases[] = {
    {{"NAD27", 4267}, true},         {{"NAD83", 4269}, true},   {{"WGS 72", 4322}, true},
    {{"WGS 84", 4326}, true},        {{"WGS 66", 4760}, false}, {{"Puerto Rico", 4139}, false},
    {{"Old Hawaiian", 4135}, false},
};

void PrintTo(const DatumCase& c, std::ostream* out) { *out << c.datum.name; }

const ProjPlugin& proj() {
  std::string reason;
  const ProjPlugin* plugin = proj_plugin(reason);
  if (plugin == nullptr) throw std::runtime_error(reason);
  return *plugin;
}

void expect_same_as_proj(const std::optional<CoordinateReference>& builtin,
                         const ReferenceChoice& from_proj, bool must_be_built_in,
                         const std::string& what) {
  if (!builtin) {
    EXPECT_FALSE(must_be_built_in && from_proj.reference) << what << " is not built in";
    if (from_proj.reference) {
      EXPECT_FALSE(builtin_esri_wkt(from_proj.reference->epsg))
          << what << ": the table claims PROJ's code " << from_proj.reference->epsg;
    }
    return;
  }
  ASSERT_TRUE(from_proj.reference) << what << " is built in, PROJ says: " << from_proj.reason;
  EXPECT_EQ(builtin->epsg, from_proj.reference->epsg) << what;
  EXPECT_EQ(builtin->name, from_proj.reference->name) << what;
  EXPECT_FALSE(builtin->albers) << what;
  EXPECT_EQ(builtin_esri_wkt(builtin->epsg).value_or(""), proj().esri_wkt(*from_proj.reference))
      << what;
  EXPECT_EQ(PRJ_Esri_Wkt(*builtin), proj().esri_wkt(*from_proj.reference)) << what;
}

class BuiltinReferenceTest : public ::testing::TestWithParam<DatumCase> {};

TEST_P(BuiltinReferenceTest, EveryUtmZoneAndTheGeographicCrsAsProjHasThem) {
  const DatumCase& c = GetParam();
  expect_same_as_proj(builtin_geographic(c.datum.geographic_epsg), proj().geographic(c.datum),
                      c.built_in, std::string("geographic ") + c.datum.name);
  for (int zone = -60; zone <= 60; ++zone) {
    if (zone == 0) continue;
    expect_same_as_proj(builtin_utm(c.datum.geographic_epsg, zone), proj().utm(c.datum, zone),
                        c.built_in, "UTM zone " + std::to_string(zone) + " on " + c.datum.name);
  }
}

INSTANTIATE_TEST_SUITE_P(AllDatums, BuiltinReferenceTest, ::testing::ValuesIn(kDatumCases),
                         [](const auto& info) {
                           std::string name = info.param.datum.name;
                           for (char& c : name)
                             if (c == ' ') c = '_';
                           return name;
                         });

// Rendering goes by code alone, so the table must not claim any code of the registry but
// its own: a State Plane or Albers reference from PROJ would otherwise get a UTM WKT.
TEST(BuiltinReference, ClaimsNoOtherRegistryCode) {
  PJ_CONTEXT* context = proj_context_create();
  int claimed = 0;
  for (const PJ_TYPE type : {PJ_TYPE_PROJECTED_CRS, PJ_TYPE_GEOGRAPHIC_2D_CRS}) {
    PROJ_STRING_LIST codes = proj_get_codes_from_database(context, "EPSG", type, 0);
    ASSERT_NE(codes, nullptr);
    for (PROJ_STRING_LIST code = codes; *code != nullptr; ++code) {
      const int epsg = std::atoi(*code);
      const std::optional<std::string> wkt = builtin_esri_wkt(epsg);
      if (!wkt) continue;
      ++claimed;
      EXPECT_EQ(*wkt, proj().esri_wkt(CoordinateReference{epsg, std::nullopt, ""})) << epsg;
    }
    proj_string_list_destroy(codes);
  }
  proj_context_destroy(context);
  // 2 x 60 zones on each WGS, 24 on NAD27, 26 on NAD83, four geographic CRSs.
  EXPECT_EQ(claimed, 240 + 24 + 26 + 4);
}

}  // namespace
}  // namespace corvane::formats
