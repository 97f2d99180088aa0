// A run in which PROJ's plugin cannot be loaded: the built-in references still get their
// projection files, every other reference gets none and the log says why. Disabled in the
// ordinary run, where the plugin lies beside the platform library; the ctest
// formats_without_proj_plugin runs it against a copy of that library in a directory
// without the plugin.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "formats/proj_plugin.h"
#include "formats/projection_file.h"
#include "platform/paths.h"
#include "platform/sibling_library.h"

namespace corvane::formats {
namespace {

constexpr const char* kNoProj = "PROJ cannot be loaded (";

bool starts_with(const std::string& text, const std::string& head) {
  return text.rfind(head, 0) == 0;
}

TEST(WithoutProjPlugin, DISABLED_BuiltInReferencesStillWriteTheirFilesOthersSayWhyNot) {
  std::string reason;
  ASSERT_EQ(proj_plugin(reason), nullptr) << "the plugin was found; this run needs it absent";
  EXPECT_TRUE(starts_with(reason, kNoProj)) << reason;

  paths::WorkDirectory dir("without-proj-test-");
  const ProjectionFileResult utm = PRJ_Write_Projection_File(
      dir.file("lines.shp"), SDTS_Coordinate_Reference("UTM", "NAS", "19"));
  EXPECT_TRUE(utm.written) << utm.log_line;

  for (const ReferenceChoice& choice : {SDTS_Coordinate_Reference("SPCS", "NAX", "2001"),
                                        SDTS_Coordinate_Reference("GEO", "WGB", ""),
                                        SDTS_Coordinate_Reference("UTM", "NAS", "40")}) {
    EXPECT_FALSE(choice.reference);
    EXPECT_TRUE(starts_with(choice.reason, kNoProj)) << choice.reason;
    const ProjectionFileResult result = PRJ_Write_Projection_File(dir.file("nodes.shp"), choice);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.log_line,
              "No projection file written for " + dir.file("nodes.shp") + ": " + choice.reason);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("nodes.prj")));
}

TEST(SiblingLibrary, AMissingLibraryOrSymbolIsReportedNotFatal) {
  const SiblingSymbol no_library = load_sibling_symbol("libcorvane_no_such_library.so", "entry");
  EXPECT_EQ(no_library.address, nullptr);
  EXPECT_NE(no_library.error.find("libcorvane_no_such_library.so"), std::string::npos)
      << no_library.error;
  const SiblingSymbol no_symbol = load_sibling_symbol(kProjPluginLibrary, "no_such_entry");
  EXPECT_EQ(no_symbol.address, nullptr);
  EXPECT_NE(no_symbol.error.find("no_such_entry"), std::string::npos) << no_symbol.error;
}

}  // namespace
}  // namespace corvane::formats
