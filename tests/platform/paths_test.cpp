#include "platform/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/fatal_error.h"

using namespace corvane::paths;
namespace fs = std::filesystem;

TEST(Paths, SplitAtEitherSeparator) {
  EXPECT_EQ(directory_part("D:\\DLG\\HYDRO\\1234CATD.DDF"), "D:\\DLG\\HYDRO");
  EXPECT_EQ(directory_part("/data/quads.v2/1234CATD.DDF"), "/data/quads.v2");
  EXPECT_EQ(directory_part("1234CATD.DDF"), "");
  EXPECT_EQ(name_part("/data\\mixed/1234CATD.DDF"), "1234CATD.DDF");
  EXPECT_EQ(stem("/data/quads.v2/1234CATD.DDF"), "1234CATD");
  EXPECT_EQ(stem("/data/quads.v2/noext"), "noext");
  EXPECT_EQ(stem_to_first_dot("/data/quads.v2/A.B.OPT"), "A");
  EXPECT_EQ(extension("/data/quads.v2/a.GZ"), "GZ");
  EXPECT_EQ(extension("/data/quads.v2/noext"), "");
}

TEST(Paths, JoinDoesNotDoubleSeparators) {
  EXPECT_EQ(join("/out", "a.shp"), "/out/a.shp");
  EXPECT_EQ(join("/out/", "a.shp"), "/out/a.shp");
  EXPECT_EQ(join("/", "a.shp"), "/a.shp");
  EXPECT_EQ(join("", "a.shp"), "a.shp");
}

TEST(Paths, TempDirectoryFallsBackInOrder) {
  const char* vars[] = {"TEMP", "TMP", "TMPDIR"};
  for (const char* v : vars) unsetenv(v);
  EXPECT_EQ(temp_directory(), "/tmp");
  setenv("TMPDIR", "/c", 1);
  EXPECT_EQ(temp_directory(), "/c");
  setenv("TMP", "/b", 1);
  EXPECT_EQ(temp_directory(), "/b");
  setenv("TEMP", "/a", 1);
  EXPECT_EQ(temp_directory(), "/a");
  for (const char* v : vars) unsetenv(v);
}

TEST(Paths, ResolvesModuleNamesIgnoringCase) {
  WorkDirectory dir("paths_test");
  std::ofstream(dir.file("1234le01.ddf")) << "x";
  EXPECT_EQ(resolve_case_insensitive(dir.file("1234LE01.DDF")), dir.file("1234le01.ddf"));
  EXPECT_EQ(resolve_case_insensitive(dir.file("1234LE02.DDF")), dir.file("1234LE02.DDF"));
}

TEST(Paths, WorkDirectoryIsRemovedWithItsContents) {
  std::string kept;
  {
    WorkDirectory dir("paths_test");
    kept = dir.path();
    fs::create_directory(dir.file("sub"));
    std::ofstream(dir.file("sub/pts.tmp")) << "x";
    EXPECT_TRUE(fs::is_directory(kept));
  }
  EXPECT_FALSE(fs::exists(kept));
}

TEST(Paths, WorkDirectoryInAMissingTempIsFatal) {
  setenv("TEMP", "/nonexistent/corvane", 1);
  corvane::RecordingMessageSink sink;
  corvane::install_message_sink(&sink);
  EXPECT_THROW(WorkDirectory("x"), corvane::FatalError);
  corvane::install_message_sink(nullptr);
  unsetenv("TEMP");
  ASSERT_EQ(sink.messages.size(), 1u);
}
