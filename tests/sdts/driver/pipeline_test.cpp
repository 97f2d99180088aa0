// Whole conversions of small transfers: the run directory, the run files and names.txt,
// the catalog walks (document and log lines of the control modules, the window's fields),
// output names, tracing, failures, and what one conversion leaves to the next.
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
#include "tests/sdts/driver/conversion_fixture.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace fs = std::filesystem;
using namespace corvane::sdts_fixture;
using namespace corvane::sdts;

namespace {

class Pipeline : public corvane::test::ConversionTest {
 protected:
  std::string doc() const { return read(path("out/HYDRO1234CATDshp/1234CATD.doc")); }
  std::string log() const { return read(path("out/HYDRO1234CATDshp/1234CATD.log")); }
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

TEST_F(Pipeline, DocumentLinesInCatalogOrder) {
  SdtsTransfer t(path("HYDRO"), "1234");
  t.quality("DQAA", {"attributes checked"});
  t.iden({});
  t.xref({});
  t.spdm({});
  t.quality("DQPA", {"positions within 12.2 m", "second positional record"});
  t.quality("DQHL", {"first lineage", "second lineage", "third lineage"});
  t.quality("DQLC", {});
  ASSERT_EQ(convert(t.write()), 0);
  EXPECT_EQ(doc(),
            "********* SDTS Document File  *****************\n\n"
            "COMMENT:            attributes checked\n"
            "TITLE:           FIXTURE, MA / HYDROGRAPHY\n"
            "SCALE:           24000\n"
            "STID:            SPATIAL DATA TRANSFER STANDARD\n"
            "VERSION:         1994 JUNE 10\n"
            "PROFILE:         SDTS TOPOLOGICAL VECTOR PROFILE\n"
            "PROFILE VERSION: VERSION 1.0 JUNE 10, 1994\n"
            "DOCUMENT:        FIPS PUB 173-1\n"
            "COMMENT:         A synthetic transfer.\n"
            "Reference System:           UTM\n"
            "Horizontal Datum:           NAS\n"
            "ZONE:\t\t\t\t\t   19\n"
            "DTYP:            MINMAX\n"
            "DSTP:            INTERNAL\n"
            "x1:              100000.000000 y1:               200000.000000\n"
            "x2:              300000.000000 y2:               400000.000000\n"
            "COMMENT:            positions within 12.2 m\n"
            "COMMENT:            first lineage\n"
            "Coordinate reference: EPSG:26719 NAD27 / UTM zone 19N\n");
  ASSERT_EQ(g_dqhl_records.size(), 3u);
  EXPECT_EQ(g_dqhl_records[2].COMT, "third lineage");
  EXPECT_TRUE(g_dqlc_records.empty());
}

TEST_F(Pipeline, LogLinesAndWindowFields) {
  SdtsTransfer t(path("HYDRO"), "1234");
  t.iden({});
  t.xref({"UTM", "NAS", "19"});
  ASSERT_EQ(convert(t.write()), 0);
  const std::string text = log();
  EXPECT_NE(text.find("\nMap Title: FIXTURE, MA / HYDROGRAPHY\n\n"
                      "Map Scale: 1 to    24000\n\n"
                      "Reference System: UTM\n\n"
                      "Horizontal Datum: NAS\n\n"
                      "Zone: 19\n\n"),
            std::string::npos)
      << text;

  EXPECT_EQ(progress_.layout.title, "DLG-SDTS to Shape by Wendmark");
  ASSERT_EQ(progress_.layout.fields.size(), 8u);
  EXPECT_EQ(progress_.layout.fields[6].label, "Scale: 1 to ");
  EXPECT_EQ(progress_.layout.status_field, 3003);
  const std::map<int, std::string> fields = {{3011, "FIXTURE, MA / HYDROGRAPHY"}, {3012, path("HYDRO/1234CATD.DDF")},
                                             {3013, path("out/HYDRO1234CATDshp")}, {3014, "UTM"}, {3015, "19"},
                                             {3016, "NAS"}, {3017, "24000"}};
  for (const auto& [id, text] : fields) EXPECT_EQ(progress_.fields[id], text) << id;
  const std::vector<std::string> steps = {"HALYARD: starting...", "Reading Control Files",
                                          "Building DBase Files ...", "Building Shapes ..."};
  EXPECT_EQ(progress_.statuses, steps);
  EXPECT_FALSE(progress_.is_open);
  EXPECT_EQ(g_iden_records.at(0).SCAL, 24000);
}

TEST_F(Pipeline, ModuleFilesAreFoundInAnyLetterCase) {
  SdtsTransfer t(path("HYDRO"), "1234");
  t.lower_case_files();
  t.iden({});
  ASSERT_EQ(convert(t.write()), 0);
  EXPECT_EQ(read(path("out/names.txt")), "HYDRO1234catdshp\nFIXTURE, MA / HYDROGRAPHY");
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
  ASSERT_EQ(SDTS_Convert(second.write().c_str(), out().c_str()), 0);
  EXPECT_EQ(read(path("out/names.txt")), "ROADS5678CATDshp\n");
  EXPECT_EQ(g_xref_geographic, 0);
  EXPECT_EQ(g_iref_sfax, 1.0);
  EXPECT_EQ(g_iref_sfay, 1.0);
  EXPECT_EQ(g_iref_xorg, 0.0);
  EXPECT_EQ(g_iref_yorg, 0.0);
  EXPECT_EQ(SDTS_Get_Module_Theme_Name("LE01"), "LE01");
  EXPECT_EQ(g_stat.count_records("/x/1234IDEN.DDF"), 0);
  EXPECT_TRUE(g_cats_records.empty());
  EXPECT_TRUE(g_xref_records.empty());
}

TEST_F(Pipeline, AModuleThatCannotBeWrittenIsLoggedAndFailsTheConversion) {
  for (const std::string name : {"AHYF", "LE01", "NO01", "PC01"}) {
    SdtsTransfer t(path(name), "1234");
    t.iden({});
    t.module(name, "Missing");
    const std::string catalog = t.write();
    fs::remove(t.module_path(name));
    EXPECT_EQ(convert(catalog), 1) << name;
    const std::string line = "ERROR: module " + name + " (" + t.module_path(name) + ") was not converted completely\n";
    EXPECT_NE(read(path("out/" + name + "1234CATDshp/1234CATD.log")).find(line), std::string::npos) << name;
  }
}

TEST_F(Pipeline, EmptyCatalogConvertsNothing) {
  SdtsTransfer t(path("HYDRO"), "1234");
  ASSERT_EQ(convert(t.write()), 0);
  EXPECT_EQ(read(path("out/names.txt")), "HYDRO1234CATDshp\n");
}

TEST_F(Pipeline, TemporaryFileListStartsEmptyAndIsDeletedAtTheEnd) {
  SdtsTransfer t(path("HYDRO"), "1234");
  t.iden({});
  const std::string catalog = t.write();
  const std::string leftover = path("leftover.bdl");
  std::ofstream(leftover) << "x";
  IndexFiles::add_file(leftover);  // a list left behind by an earlier run is not ours
  ASSERT_EQ(convert(catalog), 0);
  EXPECT_TRUE(fs::exists(leftover));

  IndexFiles::add_file(leftover);
  IndexFiles::add_file(path("never-written.bxx"));
  IndexFiles::delete_files();
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_TRUE(IndexFiles::files().empty());
}

TEST(OutputNamesTest, ThemeNamesBecomeFileNamesInsideTheRunDirectory) {
  g_run_dir = "/out/RUNshp";
  EXPECT_EQ(SDTS_Get_Output_File_Name("HYPSOGRAPHY(LE01).shp"), "/out/RUNshp/HYPSOGRAPHY_LE01_.shp");
  EXPECT_EQ(SDTS_Get_Output_File_Name("C:\\a\\NAME(1).x"), "/out/RUNshp/NAME_1_.x");
  EXPECT_EQ(SDTS_Get_Output_File_Name("A(B(C)).dbf"), "/out/RUNshp/A_B(C)_.dbf");
  EXPECT_EQ(SDTS_Get_Output_File_Name("../../etc/passwd"), "/out/RUNshp/passwd");
  EXPECT_EQ(SDTS_Get_Output_File_Name("x\\..\\..\\evil.dbf"), "/out/RUNshp/evil.dbf");

  g_cats_records.clear();
  for (const auto& [name, theme] : {std::pair{"LE01", "HYPSOGRAPHY         "},
                                    std::pair{"NO01", "*"}, std::pair{"NE01", "   "}}) {
    CatsRecord record;
    record.NAME = name;
    record.THEM = theme;
    g_cats_records.push_back(record);
  }
  EXPECT_EQ(SDTS_Get_Module_Theme_Name("LE01"), "HYPSOGRAPHY(LE01)");
  EXPECT_EQ(SDTS_Get_Output_File_Name(SDTS_Get_Module_Theme_Name("LE01") + ".shp"),
            "/out/RUNshp/HYPSOGRAPHY_LE01_.shp");
  EXPECT_EQ(SDTS_Get_Module_Theme_Name("NO01"), "NO01");
  EXPECT_EQ(SDTS_Get_Module_Theme_Name("NE01"), "NE01");
  EXPECT_EQ(SDTS_Get_Module_Theme_Name("PC01"), "PC01");
  g_cats_records.clear();
}

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

TEST_F(Pipeline, RunFilesAndNamesFile) {
  const std::string catalog = transfer();
  ASSERT_EQ(convert(catalog), 0);
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

TEST_F(Pipeline, ExistingRunDirectoryIsRewritten) {
  const std::string catalog = transfer();
  ASSERT_EQ(convert(catalog), 0);
  const std::string first = read(path("out/HYDRO1234CATDshp/1234CATD.doc"));
  ASSERT_EQ(convert(catalog), 0);
  EXPECT_EQ(read(path("out/HYDRO1234CATDshp/1234CATD.doc")), first);
}

TEST_F(Pipeline, NamesFileThatCannotBeCreatedIsReportedAndTheConversionFinishes) {
  const std::string catalog = transfer();
  fs::create_directory(path("out/names.txt"));  // a directory cannot be opened as a file
  EXPECT_EQ(convert(catalog), 0);
  EXPECT_TRUE(fs::exists(path("out/HYDRO1234CATDshp/1234CATD.doc")));
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(messages_.messages[0].find("names.txt"), std::string::npos);
}

TEST_F(Pipeline, LongPathsAreNotTruncated) {
  const std::string folder(200, 'f');
  const std::string catalog = transfer(folder + "/" + folder + "/" + folder);
  ASSERT_EQ(convert(catalog), 0);
  EXPECT_TRUE(fs::exists(fs::path(out()) / (folder + "1234CATDshp") / "1234CATD.log"));
}

TEST_F(Pipeline, FatalConditionEndsOnlyThatConversion) {
  const std::string catalog = transfer();
  // The log file's place is taken by a directory: it cannot be created.
  fs::create_directories(path("out/HYDRO1234CATDshp/1234CATD.log"));
  EXPECT_NE(convert(catalog), 0);
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_EQ(messages_.messages.back(), "Error on open logfile");
  EXPECT_FALSE(progress_.is_open);

  fs::remove_all(path("out/HYDRO1234CATDshp"));
  messages_.messages.clear();
  EXPECT_EQ(convert(catalog), 0);
  EXPECT_EQ(read(path("out/names.txt")), "HYDRO1234CATDshp\nFIXTURE, MA / HYDROGRAPHY");
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(Pipeline, MissingCatalogFails) {
  EXPECT_NE(SDTS_Convert(path("HYDRO/1234CATD.DDF").c_str(), out().c_str()), 0);
  EXPECT_NE(SDTS_Convert(nullptr, out().c_str()), 0);
}

TEST_F(Pipeline, TracingWritesNestedIndentedLines) {
  const std::string catalog = transfer();
  setenv("CORVANE_TRACE", "1", 1);
  ASSERT_EQ(convert(catalog), 0);
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
  g_trace_on = 0;  // tracing stays on until the next conversion starts
}

}  // namespace
