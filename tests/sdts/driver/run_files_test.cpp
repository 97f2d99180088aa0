// The run directory, the run files and names.txt of whole conversions.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "sdts/driver/conversion.h"
#include "sdts/run/run_directory.h"
#include "tests/sdts/driver/conversion_fixture.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace fs = std::filesystem;
using namespace corvane::sdts_fixture;
using namespace corvane::sdts;

namespace {

class RunFiles : public corvane::test::ConversionTest {
 protected:
  // A small complete transfer of control modules in `folder`.
  std::string transfer(const std::string& folder, IdenSpec iden = {}) {
    SdtsTransfer t(path(folder), "1234");
    t.iden(iden);
    t.iref({});
    t.xref({});
    t.stat();
    return t.write();
  }
};

TEST(RunLayoutTest, NamesFollowFolderBaseAndShp) {
  RunLayout l = SDTS_Run_Layout("/data/HYDRO/1234CATD.DDF", "/out");
  EXPECT_EQ(l.run_name, "HYDRO1234CATDshp");
  EXPECT_EQ(l.run_dir, "/out/HYDRO1234CATDshp");
  EXPECT_EQ(l.doc_path, "/out/HYDRO1234CATDshp/1234CATD.doc");
  EXPECT_EQ(l.log_path, "/out/HYDRO1234CATDshp/1234CATD.log");
  EXPECT_EQ(l.trace_path, "/out/HYDRO1234CATDshp/1234CATD.dbg");

  EXPECT_EQ(SDTS_Run_Layout("D:\\DLG\\HYDRO\\1234CATD.DDF", "C:\\OUT").run_name, "HYDRO1234CATDshp");
  EXPECT_EQ(SDTS_Run_Layout("D:\\1234CATD.DDF", "C:\\OUT").run_name, "1234CATDshp");
  EXPECT_EQ(SDTS_Run_Layout("/1234CATD.DDF", "/out").run_name, "1234CATDshp");
  EXPECT_EQ(SDTS_Run_Layout("1234CATD.DDF", "/out").run_name, "1234CATDshp");
  EXPECT_EQ(SDTS_Run_Layout("/o/UNZIPPED/1234CATD.DDF", "/out").run_name, "1234CATDshp");
  EXPECT_EQ(SDTS_Run_Layout("/o/Unzipped/1234CATD.DDF", "/out").run_name, "1234CATDshp");
}

TEST_F(RunFiles, UnzippedFolderIsLeftOutOfTheRunName) {
  const std::string catalog = transfer("UNZIPPED");
  ASSERT_EQ(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
  EXPECT_TRUE(fs::is_directory(path("out/1234CATDshp")));
  EXPECT_EQ(read(path("out/names.txt")), "1234CATDshp\nFIXTURE, MA / HYDROGRAPHY");
}

TEST_F(RunFiles, RunFilesAndNamesFile) {
  const std::string catalog = transfer("HYDRO");
  ASSERT_EQ(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
  const fs::path run = path("out/HYDRO1234CATDshp");
  EXPECT_EQ(read(path("out/names.txt")), "HYDRO1234CATDshp\nFIXTURE, MA / HYDROGRAPHY");
  EXPECT_TRUE(read(run / "1234CATD.doc").starts_with("********* SDTS Document File  *****************\n\n"));
  const std::string log = read(run / "1234CATD.log");
  EXPECT_TRUE(log.starts_with("********* DLG Log File  *****************\n\n"
                              "input catalog: " + catalog + "\noutput directory " + run.string() + "\n\n"
                              "New Process started on "));
  EXPECT_FALSE(fs::exists(run / "1234CATD.dbg")) << "no trace file while tracing is off";
  EXPECT_TRUE(fs::exists(path("tmp/dlgsdts.tmp")));
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(RunFiles, ExistingRunDirectoryIsRewritten) {
  const std::string catalog = transfer("HYDRO");
  ASSERT_EQ(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
  const std::string first = read(path("out/HYDRO1234CATDshp/1234CATD.doc"));
  ASSERT_EQ(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
  EXPECT_EQ(read(path("out/HYDRO1234CATDshp/1234CATD.doc")), first);
}

TEST_F(RunFiles, TransferWithoutTitleWritesAnEmptySecondLine) {
  IdenSpec iden;
  iden.has_title = false;
  const std::string catalog = transfer("HYDRO", iden);
  ASSERT_EQ(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
  EXPECT_EQ(read(path("out/names.txt")), "HYDRO1234CATDshp\n");
}

TEST_F(RunFiles, NamesFileThatCannotBeCreatedIsReportedAndTheConversionFinishes) {
  const std::string catalog = transfer("HYDRO");
  fs::create_directory(path("out/names.txt"));  // a directory cannot be opened as a file
  EXPECT_EQ(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
  EXPECT_TRUE(fs::exists(path("out/HYDRO1234CATDshp/1234CATD.doc")));
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(messages_.messages[0].find("names.txt"), std::string::npos);
}

TEST_F(RunFiles, LongPathsAreNotTruncated) {
  const std::string folder(200, 'f');
  const std::string catalog = transfer(folder + "/" + folder + "/" + folder);
  ASSERT_EQ(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
  EXPECT_TRUE(fs::exists(fs::path(out()) / (folder + "1234CATDshp") / "1234CATD.log"));
}

TEST_F(RunFiles, FatalConditionEndsOnlyThatConversion) {
  const std::string catalog = transfer("HYDRO");
  // The log file's place is taken by a directory: it cannot be created.
  fs::create_directories(path("out/HYDRO1234CATDshp/1234CATD.log"));
  EXPECT_NE(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_EQ(messages_.messages.back(), "Error on open logfile");
  EXPECT_FALSE(progress_.is_open);

  fs::remove_all(path("out/HYDRO1234CATDshp"));
  messages_.messages.clear();
  EXPECT_EQ(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
  EXPECT_EQ(read(path("out/names.txt")), "HYDRO1234CATDshp\nFIXTURE, MA / HYDROGRAPHY");
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(RunFiles, MissingCatalogFails) {
  EXPECT_NE(SDTS_Convert(path("HYDRO/1234CATD.DDF").c_str(), out().c_str()), 0);
  EXPECT_NE(SDTS_Convert(nullptr, out().c_str()), 0);
}

TEST_F(RunFiles, TracingWritesNestedIndentedLines) {
  const std::string catalog = transfer("HYDRO");
  setenv("CORVANE_TRACE", "1", 1);
  ASSERT_EQ(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
  const std::string trace = read(path("out/HYDRO1234CATDshp/1234CATD.dbg"));
  ASSERT_TRUE(trace.starts_with("********* SDTS TRACE File  *****************\n\n"));
  EXPECT_NE(trace.find("\n>> BEGIN: Display\n >> BEGIN: SDTS_Process\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find("\n << EXIT:  SDTS_Process return_code = 0\n"), std::string::npos);
  EXPECT_TRUE(trace.ends_with("\n<< EXIT:  Display return_code = 0\n"));

  // Every begin has its exit at the same depth; a routine's own lines stand at its depth
  // and the routines it calls one deeper.
  std::istringstream lines(trace.substr(trace.find(">> BEGIN: Display")));
  std::string line;
  int depth = 0;
  while (std::getline(lines, line)) {
    const auto indent = static_cast<int>(line.find_first_not_of(' '));
    const std::string body = line.substr(indent);
    if (body.starts_with(">> BEGIN: ")) {
      EXPECT_EQ(indent, depth) << line;
      ++depth;
    } else if (body.starts_with("<< EXIT:  ")) {
      --depth;
      EXPECT_EQ(indent, depth) << line;
    } else {
      EXPECT_EQ(indent, std::max(depth - 1, 0)) << line;
    }
  }
  EXPECT_EQ(depth, 0);
}

}  // namespace
