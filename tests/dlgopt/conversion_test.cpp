// Whole conversions of synthetic files, for what the real files (whose outputs the golden test
// pins) do not hold: names, unusual headers, area rings, degenerate lines, name tables,
// failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "dlgopt/run_display_opt.h"
#include "tests/dlgopt/dlgopt_test_support.h"

namespace corvane::dlgopt::test {
namespace {

using dlgopt_fixture::DlgFile;
using dlgopt_fixture::Form;
namespace fs = std::filesystem;

TEST_F(ConversionTest, DottedNameGivesUnderscoredRunDirectoryAndOutputs) {
  ASSERT_EQ(convert(dlgopt_fixture::ladder(1, 2), "A.B.OPT"), 0);
  EXPECT_EQ(base_, "A_B");
  EXPECT_TRUE(fs::exists(out_dir_ + "/A_Bshp/A_Bnodes.shp"));
  EXPECT_TRUE(logged("directory " + out_dir_ + "/A_Bshp created\n"));
}

TEST_F(ConversionTest, HeaderIsShownAndLogged) {
  ASSERT_EQ(convert(dlgopt_fixture::ladder(1, 2)), 0);
  EXPECT_TRUE(
      logged("DLG reference system is UTM\nUTM zone is 19\nDLG units are meters\nCategory"));
  EXPECT_EQ(progress_.fields[1013], "UTM Zone 19");

  DlgFile file = dlgopt_fixture::ladder(2, 2);
  file.scale = 2000000;  // datums are logged at this scale only
  file.horizontal_datum = "   ";
  file.vertical_datum = "  7";
  file.reference_system = 3;
  file.units = 1;
  ASSERT_EQ(convert(file), 0);
  EXPECT_TRUE(
      logged("Scale is 1:2000000\nDLG reference system is Area Conic\nDLG units are unknown\n"
             "DLG horizontal datum NAD 27\nDLG vertical datum is unknown\n"));
  EXPECT_TRUE(logged("Category is ROADS AND TRAILS    \nRead 6 node records\n"));
  EXPECT_EQ(progress_.layout.title, "CORVANE for Optional Format by Wendmark");
  const std::map<int, std::string> fields = {
      {1013, "Area Conic"}, {1014, "Unknown"}, {1005, "1:2000000"}, {1007, "6"},
      {1008, "7"},          {1009, "3"},       {1012, "3"}};
  for (const auto& [id, text] : fields) EXPECT_EQ(progress_.fields[id], text) << id;
  EXPECT_FALSE(progress_.is_open);
}

TEST_F(ConversionTest, AreaRingsFollowTheLineListWithReversedLines) {
  std::vector<dlgopt_fixture::Line> lines;
  for (int id = 1; id <= 12; ++id)
    lines.push_back(line(id, {{id * 10.0, 1.0}, {id * 10.0, 2.0}, {id * 10.0, 3.0}}));
  ASSERT_EQ(convert(small_file(lines, {12, 0, -7})), 0);
  const Shapefile areas = read_shapefile(output("areas"));
  ASSERT_EQ(areas.records.size(), 1u);
  const ShpRecord& polygon = areas.records[0];
  EXPECT_EQ(polygon.shape_type, 5);
  EXPECT_EQ(polygon.parts, (std::vector<std::int32_t>{0, 3}));
  EXPECT_EQ(polygon.points,
            (std::vector<XY>{{120, 1}, {120, 2}, {120, 3}, {70, 3}, {70, 2}, {70, 1}}));
  EXPECT_EQ(polygon.box[0], 70.0);
  EXPECT_EQ(polygon.box[3], 3.0);

  // An empty line list gives one empty ring.
  ASSERT_EQ(convert(small_file({line(1, {{0, 0}, {1, 1}})}, {})), 0);
  const ShpRecord empty = read_shapefile(output("areas")).records.at(0);
  EXPECT_EQ(empty.content_length, 48);
  EXPECT_EQ(empty.parts, std::vector<std::int32_t>{0});
  EXPECT_TRUE(empty.points.empty());
  EXPECT_EQ(empty.box[0], 1e99);
  EXPECT_EQ(empty.box[2], -1e99);
}

TEST_F(ConversionTest, LinesOutOfOrderAreFoundById) {
  for (const auto& ids : {std::vector<int>{1, 2, 3}, std::vector<int>{1, 3, 2}}) {
    std::vector<dlgopt_fixture::Line> lines;
    for (int id : ids) lines.push_back(line(id, {{id * 1.0, 0.0}, {id * 1.0, 5.0}}));
    ASSERT_EQ(convert(small_file(lines, {3})), 0);
    EXPECT_EQ(read_shapefile(output("areas")).records.at(0).points.at(0), (XY{3.0, 0.0})) << ids[1];
    // Links keep the input order.
    EXPECT_EQ(read_dbf(output("links.dbf")).rows.at(1).substr(1, 8),
              std::to_string(ids[1]) + "       ");
  }
}

TEST_F(ConversionTest, WithoutAttributePairsThereAreNoAttributeTables) {
  ASSERT_EQ(convert(small_file({line(1, {{3, 4}, {6, 8}}, 1, 2)}, {1})), 0);
  for (const char* table : {"nodeatts.dbf", "lineatts.dbf", "dglnatts.dbf", "areaatts.dbf"})
    EXPECT_FALSE(fs::exists(output(table))) << table;
  EXPECT_TRUE(logged("No node attributes were generated\n"));
  EXPECT_TRUE(logged(
      "No line attributes were generated\nNo degenerate line (node) attributes were generated\n"));
  EXPECT_TRUE(logged("No area attributes were generated\n"));
}

TEST_F(ConversionTest, DegenerateLinesGoToTheirOwnTable) {
  auto with_codes = [](dlgopt_fixture::Line l) {
    l.codes = {{50, 1}};
    return l;
  };
  ASSERT_EQ(convert(small_file({with_codes(line(1, {{1, 1}, {1, 1}}, 5, 5)),
                                with_codes(line(2, {{1, 1}, {2, 2}, {1, 1}}, 5, 5))},
                               {})),
            0);
  const DbfTable degenerate = read_dbf(output("dglnatts.dbf"));
  EXPECT_EQ(degenerate.record_length, 117);
  EXPECT_EQ(degenerate.rows, std::vector<std::string>{"        50050.0001Upper origin of stream" +
                                                      std::string(91 - 22 + 8, ' ')});
  const DbfTable lines = read_dbf(output("lineatts.dbf"));
  ASSERT_EQ(lines.rows.size(), 1u);
  EXPECT_EQ(lines.rows[0].substr(0, 18), "        20050.0001");
  EXPECT_TRUE(logged("Wrote 1 line attribute records\nWrote 1 degenerate line (node) records\n"));
}

class NameTableTest : public ConversionTest {
 protected:
  // A 1:2,000,000 file whose line 1 (from node 4) carries identifier `number` of `major`.
  DlgFile named(int major, int number) {
    dlgopt_fixture::Line l = line(1, {{0, 0}, {1, 1}}, 4, 2);
    l.codes = {{major, number}};
    DlgFile file = small_file({l}, {1});
    file.scale = 2000000;
    return file;
  }
};

TEST_F(NameTableTest, AirportsJoinTheirNodesAndMissingOnesGetMinusOne) {
  write_file(path("usMT.txt"),
             "   12   Logan International" + std::string(10, ' ') + "\n   99   Nowhere Field\n");
  ASSERT_EQ(convert(named(197, 12), "usMT.opt"), 0);
  const DbfTable air = read_dbf(output("air.dbf"));
  ASSERT_EQ(air.rows.size(), 2u);
  EXPECT_EQ(air.record_length, 85);
  EXPECT_EQ(air.rows[0].substr(0, 25), "   12Logan International ");
  EXPECT_EQ(air.rows[0].substr(77), "       4");
  EXPECT_EQ(air.rows[1].substr(77), "      -1");
  EXPECT_TRUE(logged("Wrote 2 airport records\n"));
}

TEST_F(NameTableTest, PlacesJoinTheirNodesAndAMissingNamesFileLeavesTheRunIncomplete) {
  EXPECT_EQ(convert(named(207, 7), "usMS.opt"), 2);
  EXPECT_TRUE(logged(messages_.messages.at(0) + "\n"));
  EXPECT_TRUE(has_message("place names (usMSplace.dbf): missing: the names file " +
                          path("usMS.txt") + " cannot be read (No such file or directory)"));

  const std::string name = "Springfield" + std::string(31, ' ');
  write_file(path("usMS.txt"), "    7   " + name + "  25     123456\n    8   Elsewhere" +
                                   std::string(35, ' ') + "  3    -\n");
  ASSERT_EQ(convert(named(207, 7), "usMS.opt"), 0);
  const DbfTable places = read_dbf(output("place.dbf"));
  ASSERT_EQ(places.rows.size(), 2u);
  EXPECT_EQ(places.rows[0], "     7" + name + "025    123456       4");
  EXPECT_EQ(places.rows[1].substr(48), "003        -1      -1");
}

// A header without a single element, or a log that cannot be made, fails the conversion.
TEST_F(ConversionTest, NothingUsableOrNoLogFailsTheConversion) {
  const std::string header = dlgopt_fixture::render(dlgopt_fixture::ladder(1, 2), Form::kFixed);
  EXPECT_EQ(convert_bytes(header.substr(0, 80 * 15), "header.opt"), 1);
  EXPECT_TRUE(has_message("lines: missing: 0 of the header's 4 lines converted; the file ends"));
  write_file(path("plain_file"), "x");
  write_file(path("ok.opt"), header);
  EXPECT_EQ(RunDisplayOpt(path("ok.opt").c_str(), path("plain_file").c_str()), 1);
  EXPECT_NE(messages_.messages.back().find("Cannot open log file"), std::string::npos);
}

// The work file and the polygon staging files live in a private directory that goes with the
// conversion: nothing in the current directory, nothing of anyone else's touched.
TEST_F(ConversionTest, WorkFilesArePrivateAndGoWithTheConversion) {
  write_file(path("tmp/dlgopt.tmp"), "another run's");
  const auto before = fs::current_path();
  fs::current_path(dir_.path());
  const int result = convert(dlgopt_fixture::ladder(2, 3));
  fs::current_path(before);
  ASSERT_EQ(result, 0);
  for (const auto& entry : fs::directory_iterator(dir_.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "tmp" || name == "out" || name == "test.opt") << "left behind: " << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(path("tmp")), {}), 1);
  EXPECT_EQ(read_file(path("tmp/dlgopt.tmp")), "another run's");
}

}  // namespace
}  // namespace corvane::dlgopt::test
