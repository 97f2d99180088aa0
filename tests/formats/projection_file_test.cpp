// Projection files beside each finished layer of a conversion: written for a known reference,
// left out with the reason logged otherwise. GDAL reads them back (gdal_crosscheck.py).
#include "formats/projection_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "formats/layer_reference.h"
#include "platform/paths.h"
#include "tests/support/output_files.h"

namespace corvane::formats {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> g_logged;
void keep(std::string_view line) { g_logged.emplace_back(line); }

class ProjectionFileTest : public ::testing::Test {
 protected:
  void SetUp() override { g_logged.clear(); }
  paths::WorkDirectory dir{"prj-test-"};
};

TEST_F(ProjectionFileTest, EachFinishedLayerGetsTheConversionsReferenceOnlyWhileItRuns) {
  {
    const ReferenceChoice choice = SDTS_Coordinate_Reference("UTM", "NAS", "18");
    EXPECT_EQ(PRJ_Reference_Line(choice), "Coordinate reference: EPSG:26718 NAD27 / UTM zone 18N");
    const LayerReferenceScope scope(choice, keep);
    PRJ_Finish_Layer(dir.file("HYDRO.LE01.shp"));
    PRJ_Finish_Layer(dir.file("nodes.shp"));
    const std::string wkt = test::read_file(dir.file("HYDRO.LE01.prj"));
    EXPECT_EQ(wkt, PRJ_Esri_Wkt(*choice.reference));
    EXPECT_EQ(wkt.rfind("PROJCS[\"NAD_1927_UTM_Zone_18N\",GEOGCS[\"GCS_North_American_1927\"", 0),
              0u)
        << wkt;
  }
  PRJ_Finish_Layer(dir.file("later.shp"));
  EXPECT_TRUE(fs::exists(dir.file("nodes.prj")));
  EXPECT_FALSE(fs::exists(dir.file("later.prj")));
  EXPECT_EQ(g_logged, (std::vector<std::string>{"Projection file " + dir.file("HYDRO.LE01.prj") +
                                                    " written: EPSG:26718 NAD27 / UTM zone 18N",
                                                "Projection file " + dir.file("nodes.prj") +
                                                    " written: EPSG:26718 NAD27 / UTM zone 18N"}));
}

TEST_F(ProjectionFileTest, UnknownDatumLogsWhyForEveryLayer) {
  const ReferenceChoice choice = SDTS_Coordinate_Reference("UTM", "ABC", "18");
  EXPECT_EQ(PRJ_Reference_Line(choice),
            "Coordinate reference: none (horizontal datum \"ABC\" is unknown)");
  const LayerReferenceScope scope(choice, keep);
  PRJ_Finish_Layer(dir.file("lines.shp"));
  EXPECT_FALSE(fs::exists(dir.file("lines.prj")));
  EXPECT_EQ(g_logged,
            std::vector<std::string>{"No projection file written for " + dir.file("lines.shp") +
                                     ": horizontal datum \"ABC\" is unknown"});
}

TEST_F(ProjectionFileTest, UnwritableDirectoryIsReportedNotHidden) {
  const std::string shp = dir.file("missing/nodes.shp");
  const ProjectionFileResult result =
      PRJ_Write_Projection_File(shp, SDTS_Coordinate_Reference("GEO", "NAX", ""));
  EXPECT_FALSE(result.written);
  EXPECT_EQ(result.log_line, "No projection file written for " + shp + ": cannot write " +
                                 dir.file("missing/nodes.prj"));
}

}  // namespace
}  // namespace corvane::formats
