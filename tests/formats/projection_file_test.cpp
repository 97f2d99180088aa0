#include "formats/projection_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/paths.h"

namespace corvane::formats {
namespace {

std::string text_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ProjectionFileTest : public ::testing::Test {
 protected:
  paths::WorkDirectory dir{"prj-test-"};
};

TEST_F(ProjectionFileTest, WritesPrjBesideTheShapefile) {
  const ReferenceChoice utm = SDTS_Coordinate_Reference("UTM", "NAS", "18");
  const std::string shp = dir.file("HYDRO.LE01.shp");
  const ProjectionFileResult result = PRJ_Write_Projection_File(shp, utm);
  const std::string prj = dir.file("HYDRO.LE01.prj");
  EXPECT_TRUE(result.written);
  EXPECT_EQ(result.log_line,
            "Projection file " + prj + " written: EPSG:26718 NAD27 / UTM zone 18N");
  const std::string wkt = text_of(prj);
  EXPECT_EQ(wkt, PRJ_Esri_Wkt(*utm.reference));
  EXPECT_EQ(wkt.rfind("PROJCS[\"NAD_1927_UTM_Zone_18N\",GEOGCS[\"GCS_North_American_1927\"", 0), 0u)
      << wkt;
}

TEST_F(ProjectionFileTest, NoReferenceNoFileAndTheReasonIsLogged) {
  const std::string shp = dir.file("nodes.shp");
  const ProjectionFileResult result =
      PRJ_Write_Projection_File(shp, SDTS_Coordinate_Reference("UTM", "XYZ", "18"));
  EXPECT_FALSE(result.written);
  EXPECT_EQ(result.log_line,
            "No projection file written for " + shp + ": horizontal datum \"XYZ\" is unknown");
  EXPECT_FALSE(std::filesystem::exists(dir.file("nodes.prj")));
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
