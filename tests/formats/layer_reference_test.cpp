#include "formats/layer_reference.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/paths.h"

namespace corvane::formats {
namespace {

std::vector<std::string> g_logged;
void keep(std::string_view line) { g_logged.emplace_back(line); }

TEST(LayerReference, EachFinishedLayerGetsTheConversionsReferenceOnlyWhileItRuns) {
  paths::WorkDirectory dir("layer-reference-test-");
  g_logged.clear();
  {
    const ReferenceChoice choice = SDTS_Coordinate_Reference("UTM", "NAX", "18");
    EXPECT_EQ(PRJ_Reference_Line(choice), "Coordinate reference: EPSG:26918 NAD83 / UTM zone 18N");
    const LayerReferenceScope scope(choice, keep);
    PRJ_Finish_Layer(dir.file("lines.shp"));
    PRJ_Finish_Layer(dir.file("nodes.shp"));
  }
  PRJ_Finish_Layer(dir.file("later.shp"));
  EXPECT_TRUE(std::filesystem::exists(dir.file("lines.prj")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("nodes.prj")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("later.prj")));
  ASSERT_EQ(g_logged.size(), 2u);
  EXPECT_EQ(g_logged[1], "Projection file " + dir.file("nodes.prj") +
                             " written: EPSG:26918 NAD83 / UTM zone 18N");
}

TEST(LayerReference, UnknownDatumLogsWhyForEveryLayer) {
  paths::WorkDirectory dir("layer-reference-test-");
  g_logged.clear();
  const ReferenceChoice choice = SDTS_Coordinate_Reference("UTM", "ABC", "18");
  EXPECT_EQ(PRJ_Reference_Line(choice),
            "Coordinate reference: none (horizontal datum \"ABC\" is unknown)");
  const LayerReferenceScope scope(choice, keep);
  PRJ_Finish_Layer(dir.file("lines.shp"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("lines.prj")));
  ASSERT_EQ(g_logged.size(), 1u);
  EXPECT_EQ(g_logged[0], "No projection file written for " + dir.file("lines.shp") +
                             ": horizontal datum \"ABC\" is unknown");
}

}  // namespace
}  // namespace corvane::formats
