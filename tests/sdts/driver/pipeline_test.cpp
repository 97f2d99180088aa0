// Whole conversions of small transfers: the run directory, the run files and names.txt, the
// window's fields, output names, tracing, failures, and what one conversion leaves to the next.
// The document and log lines of the real transfers are pinned by the golden test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "sdts/driver/conversion.h"
#include "sdts/run/index_files.h"
#include "sdts/run/output_names.h"
#include "sdts/run/run_directory.h"
#include "sdts/run/run_state.h"
#include "tests/support/sandbox.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace fs = std::filesystem;
using namespace corvane::sdts_fixture;
using namespace corvane::sdts;
using corvane::test::read_file;

namespace {

class Pipeline : public corvane::test::Sandbox {
 protected:
  void SetUp() override {
    Sandbox::SetUp();
    fs::create_directory(out());
  }
  std::string out() const { return path("out"); }
  std::string run_file(const std::string& ending) const {
    return read_file(path("out/HYDRO1234CATDshp/1234CATD") + ending);
  }
  int convert(const std::string& catalog) { return SDTS_Convert(catalog.c_str(), out().c_str()); }
  // A small complete transfer of control modules in `folder`.
  std::string transfer(const std::string& folder = "HYDRO") {
    SdtsTransfer t(path(folder), "1234");
    t.iden({});
    t.iref({});
    t.xref({});
    t.stat();
    return t.write();
  }
};

TEST_F(Pipeline, RunFilesNamesFileAndWindowFields) {
  const std::string catalog = transfer();
  ASSERT_EQ(convert(catalog), 0);
  EXPECT_EQ(read_file(path("out/names.txt")), "HYDRO1234CATDshp\nFIXTURE, MA / HYDROGRAPHY");
  EXPECT_TRUE(run_file(".doc").starts_with("********* SDTS Document File  *****************\n\n"));
  EXPECT_TRUE(run_file(".log").starts_with(
      "********* DLG Log File  *****************\n\ninput catalog: " + catalog +
      "\noutput directory " + path("out/HYDRO1234CATDshp") + "\n\n"));
  EXPECT_FALSE(fs::exists(path("out/HYDRO1234CATDshp/1234CATD.dbg")))
      << "no trace file while tracing is off";
  EXPECT_TRUE(messages_.messages.empty());

  EXPECT_EQ(progress_.layout.title, "DLG-SDTS to Shape by Wendmark");
  EXPECT_EQ(progress_.layout.fields.size(), 8u);
  EXPECT_EQ(progress_.layout.status_field, 3003);
  const std::map<int, std::string> fields = {{3011, "FIXTURE, MA / HYDROGRAPHY"},
                                             {3012, catalog},
                                             {3013, path("out/HYDRO1234CATDshp")},
                                             {3014, "UTM"},
                                             {3015, "19"},
                                             {3016, "NAS"},
                                             {3017, "24000"}};
  for (const auto& [id, text] : fields) EXPECT_EQ(progress_.fields[id], text) << id;
  EXPECT_EQ(progress_.statuses,
            (std::vector<std::string>{"HALYARD: starting...", "Reading Control Files",
                                      "Building DBase Files ...", "Building Shapes ..."}));
  EXPECT_FALSE(progress_.is_open);

  // A second conversion rewrites the run directory.
  const std::string doc = run_file(".doc");
  ASSERT_EQ(convert(catalog), 0);
  EXPECT_EQ(run_file(".doc"), doc);
}

TEST_F(Pipeline, ModuleFilesAreFoundInAnyLetterCase) {
  SdtsTransfer t(path("HYDRO"), "1234");
  t.lower_case_files();
  t.iden({});
  ASSERT_EQ(convert(t.write()), 0);
  EXPECT_EQ(read_file(path("out/names.txt")), "HYDRO1234catdshp\nFIXTURE, MA / HYDROGRAPHY");
  ASSERT_EQ(g_catd_records.size(), 2u);
  EXPECT_EQ(g_catd_records[1].FILE, path("HYDRO/1234IDEN.DDF")) << "the catalog's spelling is kept";
}

TEST_F(Pipeline, StateDoesNotCarryOverBetweenConversions) {
  SdtsTransfer first(path("HYDRO"), "1234");
  first.iden({});
  first.iref({.sfax = 0.5, .sfay = 0.5, .xorg = 10, .yorg = 20});
  first.xref({"GEO", "NAS", "0"});
  first.cats("LE01", "HYDROGRAPHY");
  first.stat();
  ASSERT_EQ(convert(first.write()), 0);
  EXPECT_EQ(g_xref_geographic, 1);
  EXPECT_EQ(g_iref_sfax, 0.5);
  EXPECT_EQ(SDTS_Get_Module_Theme_Name("LE01"), "HYDROGRAPHY(LE01)");
  EXPECT_EQ(g_stat.count_records("/x/1234IDEN.DDF"), 1);

  SdtsTransfer second(path("ROADS"), "5678");
  IdenSpec untitled;
  untitled.has_title = false;
  second.iden(untitled);
  ASSERT_EQ(convert(second.write()), 0);
  EXPECT_EQ(read_file(path("out/names.txt")), "ROADS5678CATDshp\n");
  EXPECT_EQ(g_xref_geographic, 0);
  EXPECT_EQ(std::vector<double>({g_iref_sfax, g_iref_sfay, g_iref_xorg, g_iref_yorg}),
            std::vector<double>({1.0, 1.0, 0.0, 0.0}));
  EXPECT_EQ(SDTS_Get_Module_Theme_Name("LE01"), "LE01");
  EXPECT_EQ(g_stat.count_records("/x/1234IDEN.DDF"), 0);
  EXPECT_TRUE(g_cats_records.empty());
  EXPECT_TRUE(g_xref_records.empty());

  // An empty catalog converts nothing.
  ASSERT_EQ(convert(SdtsTransfer(path("EMPTY"), "1234").write()), 0);
  EXPECT_EQ(read_file(path("out/names.txt")), "EMPTY1234CATDshp\n");
}

TEST_F(Pipeline, AModuleThatCannotBeWrittenIsLoggedAndFailsTheConversion) {
  for (const std::string name : {"AHYF", "LE01", "NO01", "PC01"}) {
    SdtsTransfer t(path(name), "1234");
    t.iden({});
    t.module(name, "Missing");
    const std::string catalog = t.write();
    fs::remove(t.module_path(name));
    EXPECT_EQ(convert(catalog), 1) << name;
    const std::string line =
        "ERROR: module " + name + " (" + t.module_path(name) + ") was not converted completely\n";
    EXPECT_NE(read_file(path("out/" + name + "1234CATDshp/1234CATD.log")).find(line),
              std::string::npos)
        << name;
  }
}

TEST_F(Pipeline, TemporaryFileListStartsEmptyAndIsDeletedAtTheEnd) {
  const std::string catalog = transfer();
  const std::string leftover = path("leftover.bdl");
  std::ofstream(leftover) << "x";
  IndexFiles::add_file(leftover);  // a list left behind by an earlier run is not ours
  ASSERT_EQ(convert(catalog), 0);
  EXPECT_TRUE(fs::exists(leftover));
  EXPECT_TRUE(fs::exists(path("tmp/dlgsdts.tmp")));

  IndexFiles::add_file(leftover);
  IndexFiles::add_file(path("never-written.bxx"));
  IndexFiles::delete_files();
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_TRUE(IndexFiles::files().empty());
}

TEST(OutputNamesTest, ThemeNamesBecomeFileNamesInsideTheRunDirectory) {
  g_run_dir = "/out/RUNshp";
  for (const auto& [name, expected] : {std::pair{"HYPSOGRAPHY(LE01).shp", "HYPSOGRAPHY_LE01_.shp"},
                                       {"C:\\a\\NAME(1).x", "NAME_1_.x"},
                                       {"A(B(C)).dbf", "A_B(C)_.dbf"},
                                       {"../../etc/passwd", "passwd"},
                                       {"x\\..\\..\\evil.dbf", "evil.dbf"}})
    EXPECT_EQ(SDTS_Get_Output_File_Name(name), std::string("/out/RUNshp/") + expected);
  g_cats_records.clear();
  for (const auto& [name, theme] :
       {std::pair{"LE01", "HYPSOGRAPHY         "}, {"NO01", "*"}, {"NE01", "   "}}) {
    g_cats_records.emplace_back().NAME = name;
    g_cats_records.back().THEM = theme;
  }
  EXPECT_EQ(SDTS_Get_Module_Theme_Name("LE01"), "HYPSOGRAPHY(LE01)");
  for (const char* plain : {"NO01", "NE01", "PC01"})
    EXPECT_EQ(SDTS_Get_Module_Theme_Name(plain), plain);
  g_cats_records.clear();
}

TEST(RunLayoutTest, NamesFollowFolderBaseAndShp) {
  const RunLayout l = SDTS_Run_Layout("/data/HYDRO/1234CATD.DDF", "/out");
  EXPECT_EQ(std::vector<std::string>({l.run_name, l.run_dir, l.doc_path, l.log_path, l.trace_path}),
            std::vector<std::string>(
                {"HYDRO1234CATDshp", "/out/HYDRO1234CATDshp", "/out/HYDRO1234CATDshp/1234CATD.doc",
                 "/out/HYDRO1234CATDshp/1234CATD.log", "/out/HYDRO1234CATDshp/1234CATD.dbg"}));
  EXPECT_EQ(SDTS_Run_Layout("D:\\DLG\\HYDRO\\1234CATD.DDF", "C:\\OUT").run_name,
            "HYDRO1234CATDshp");
  for (const char* catalog : {"D:\\1234CATD.DDF", "/1234CATD.DDF", "1234CATD.DDF",
                              "/o/UNZIPPED/1234CATD.DDF", "/o/Unzipped/1234CATD.DDF"})
    EXPECT_EQ(SDTS_Run_Layout(catalog, "/out").run_name, "1234CATDshp") << catalog;
}

TEST_F(Pipeline, NamesFileThatCannotBeCreatedIsReportedAndTheConversionFinishes) {
  const std::string catalog = transfer();
  fs::create_directory(path("out/names.txt"));  // a directory cannot be opened as a file
  EXPECT_EQ(convert(catalog), 0);
  EXPECT_TRUE(fs::exists(path("out/HYDRO1234CATDshp/1234CATD.doc")));
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_TRUE(has_message("names.txt"));
}

TEST_F(Pipeline, LongPathsAreNotTruncated) {
  const std::string folder(200, 'f');
  ASSERT_EQ(convert(transfer(folder + "/" + folder + "/" + folder)), 0);
  EXPECT_TRUE(fs::exists(fs::path(out()) / (folder + "1234CATDshp") / "1234CATD.log"));
}

TEST_F(Pipeline, FatalConditionEndsOnlyThatConversion) {
  const std::string catalog = transfer();
  // The log file's place is taken by a directory: it cannot be created.
  fs::create_directories(path("out/HYDRO1234CATDshp/1234CATD.log"));
  EXPECT_NE(convert(catalog), 0);
  EXPECT_EQ(messages_.messages, std::vector<std::string>{"Error on open logfile"});
  EXPECT_FALSE(progress_.is_open);

  fs::remove_all(path("out/HYDRO1234CATDshp"));
  messages_.messages.clear();
  EXPECT_EQ(convert(catalog), 0);
  EXPECT_EQ(read_file(path("out/names.txt")), "HYDRO1234CATDshp\nFIXTURE, MA / HYDROGRAPHY");
  EXPECT_TRUE(messages_.messages.empty());

  EXPECT_NE(convert(path("MISSING/1234CATD.DDF")), 0);
  EXPECT_NE(SDTS_Convert(nullptr, out().c_str()), 0);
}

TEST_F(Pipeline, TracingWritesNestedIndentedLines) {
  const std::string catalog = transfer();
  setenv("CORVANE_TRACE", "1", 1);
  ASSERT_EQ(convert(catalog), 0);
  const std::string trace = run_file(".dbg");
  ASSERT_TRUE(trace.starts_with("********* SDTS TRACE File  *****************\n\n"));
  EXPECT_NE(trace.find("\n>> BEGIN: Display\n >> BEGIN: SDTS_Process\n"), std::string::npos)
      << trace;
  EXPECT_TRUE(trace.ends_with("\n<< EXIT:  Display return_code = 0\n"));

  // Every begin has its exit at the same depth; a routine's own lines stand at its depth
  // and the routines it calls one deeper.
  std::istringstream lines(trace.substr(trace.find(">> BEGIN: Display")));
  int depth = 0;
  for (std::string line; std::getline(lines, line);) {
    const auto indent = static_cast<int>(line.find_first_not_of(' '));
    const std::string body = line.substr(indent);
    if (body.starts_with("<< EXIT:  ")) --depth;
    EXPECT_EQ(indent, body.starts_with(">> BEGIN: ") || body.starts_with("<< EXIT:  ")
                          ? depth
                          : std::max(depth - 1, 0))
        << line;
    if (body.starts_with(">> BEGIN: ")) ++depth;
  }
  EXPECT_EQ(depth, 0);
  g_trace_on = 0;  // tracing stays on until the next conversion starts
}

}  // namespace
