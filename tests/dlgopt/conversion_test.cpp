// Whole conversions of synthetic files: names, header reporting, shapes, tables, failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "dlgopt/dlg_shapes.h"
#include "tests/dlgopt/dlgopt_test_support.h"

namespace corvane::dlgopt::test {
namespace {

using dlgopt_fixture::DlgFile;
using dlgopt_fixture::Form;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(ConversionTest, RecordFormsGiveTheSameOutputs) {
  const DlgFile file = dlgopt_fixture::ladder(4, 5);
  ASSERT_EQ(convert(file, "fixed.opt", Form::kFixed), 0);
  const auto fixed = outputs_of(out_dir_ + "/fixedshp");
  ASSERT_EQ(convert(file, "lines.opt", Form::kLines), 0);
  auto lines = outputs_of(out_dir_ + "/linesshp");
  ASSERT_EQ(convert(file, "short.opt", Form::kShortLines), 0);
  auto short_lines = outputs_of(out_dir_ + "/shortshp");
  // Three shapefiles with tables and projection files, line and area attributes.
  EXPECT_EQ(fixed.size(), 12u + 2u);
  auto renamed = [](const std::map<std::string, std::string>& files, const std::string& from) {
    std::map<std::string, std::string> out;
    for (const auto& [name, bytes] : files) out["fixed" + name.substr(from.size())] = bytes;
    return out;
  };
  EXPECT_TRUE(renamed(lines, "lines") == fixed);
  EXPECT_TRUE(renamed(short_lines, "short") == fixed);
}

TEST_F(ConversionTest, DottedNameGivesUnderscoredRunDirectoryAndOutputs) {
  ASSERT_EQ(convert(dlgopt_fixture::ladder(1, 2), "A.B.OPT"), 0);
  EXPECT_EQ(base_, "A_B");
  EXPECT_TRUE(exists(out_dir_ + "/A_Bshp/A_Bnodes.shp"));
  EXPECT_TRUE(exists(out_dir_ + "/A_Bshp/A_B.log"));
  EXPECT_TRUE(contains(log_text(), "directory " + out_dir_ + "/A_Bshp created\n"));
  EXPECT_TRUE(contains(read_bytes(scratch_.file("dlgopt.tmp")), out_dir_ + "/A_Bshp/A_Bnodes.shp\n"));
}

TEST_F(ConversionTest, HeaderIsShownAndLogged) {
  DlgFile file = dlgopt_fixture::ladder(2, 2);
  file.scale = 2000000;
  file.horizontal_datum = "   ";
  file.vertical_datum = "  7";
  file.reference_system = 3;
  file.units = 1;
  ASSERT_EQ(convert(file), 0);
  const std::string log = log_text();
  EXPECT_TRUE(contains(log,
                       "Scale is 1:2000000\nDLG reference system is Area Conic\nDLG units are unknown\n"
                       "DLG horizontal datum NAD 27\nDLG vertical datum is unknown\n"));
  EXPECT_TRUE(contains(log, "Category is ROADS AND TRAILS    \nRead 6 node records\n"));
  EXPECT_EQ(window_.layout.title, "CORVANE for Optional Format by Wendmark");
  EXPECT_EQ(window_.fields[1013], "Area Conic");
  EXPECT_EQ(window_.fields[1014], "Unknown");
  EXPECT_EQ(window_.fields[1005], "1:2000000");
  EXPECT_EQ(window_.fields[1007], "6");
  EXPECT_EQ(window_.fields[1008], "7");
  EXPECT_EQ(window_.fields[1009], "3");
  EXPECT_EQ(window_.fields[1012], "3");
  EXPECT_FALSE(window_.is_open);
}

TEST_F(ConversionTest, DatumsAreLoggedOnlyAtTwoMillion) {
  ASSERT_EQ(convert(dlgopt_fixture::ladder(1, 2)), 0);
  EXPECT_TRUE(contains(log_text(), "DLG reference system is UTM\nUTM zone is 19\nDLG units are meters\nCategory"));
  EXPECT_EQ(window_.fields[1013], "UTM Zone 19");
}

TEST_F(ConversionTest, AreaRingsFollowTheLineListWithReversedLines) {
  std::vector<dlgopt_fixture::Line> lines;
  for (int id = 1; id <= 12; ++id) lines.push_back(line(id, {{id * 10.0, 1.0}, {id * 10.0, 2.0}, {id * 10.0, 3.0}}));
  ASSERT_EQ(convert(small_file(lines, {12, 0, -7})), 0);
  const auto shapes = read_shapes(output("areas.shp"));
  ASSERT_EQ(shapes.size(), 1u);
  const std::string& polygon = shapes[0].content;
  EXPECT_EQ(get_int(polygon, 0), 5);
  ASSERT_EQ(get_int(polygon, 36), 2);  // rings
  ASSERT_EQ(get_int(polygon, 40), 6);  // points
  EXPECT_EQ(get_int(polygon, 44), 0);
  EXPECT_EQ(get_int(polygon, 48), 3);
  const std::size_t points = 52;
  const double expected[6][2] = {{120, 1}, {120, 2}, {120, 3}, {70, 3}, {70, 2}, {70, 1}};
  for (std::size_t j = 0; j < 6; ++j) {
    EXPECT_EQ(get_double(polygon, points + 16 * j), expected[j][0]) << j;
    EXPECT_EQ(get_double(polygon, points + 16 * j + 8), expected[j][1]) << j;
  }
  EXPECT_EQ(get_double(polygon, 4), 70.0);  // Xmin
  EXPECT_EQ(get_double(polygon, 28), 3.0);  // Ymax
}

TEST_F(ConversionTest, EmptyLineListGivesOneEmptyRing) {
  ASSERT_EQ(convert(small_file({line(1, {{0, 0}, {1, 1}})}, {})), 0);
  const auto shapes = read_shapes(output("areas.shp"));
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].content_words, 24);  // 48 bytes
  EXPECT_EQ(get_int(shapes[0].content, 36), 1);
  EXPECT_EQ(get_int(shapes[0].content, 40), 0);
  EXPECT_EQ(get_double(shapes[0].content, 4), 1e99);
  EXPECT_EQ(get_double(shapes[0].content, 20), -1e99);
}

TEST_F(ConversionTest, LinesOutOfOrderAreFoundById) {
  auto three = [](std::vector<int> ids) {
    std::vector<dlgopt_fixture::Line> lines;
    for (int id : ids) lines.push_back(line(id, {{id * 1.0, 0.0}, {id * 1.0, 5.0}}));
    return small_file(lines, {3});
  };
  for (const auto& ids : {std::vector<int>{1, 2, 3}, std::vector<int>{1, 3, 2}}) {
    ASSERT_EQ(convert(three(ids)), 0);
    const auto shapes = read_shapes(output("areas.shp"));
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(get_double(shapes[0].content, 48), 3.0) << ids[1];  // first point of line 3
    // Links keep the input order.
    EXPECT_EQ(read_table(output("links.dbf")).rows[1].substr(1, 8), std::to_string(ids[1]) + "       ");
  }
}

TEST(FindLineIndexTest, HalvingSearchFindsEveryIdAndRejectsOthers) {
  std::vector<DlgLine> lines;
  EXPECT_EQ(FindLineIndex(lines, 1), -1);
  for (int id : {2, 4, 6, 8, 10, 12, 14}) lines.push_back(DlgLine{id, 0, 0, 0, 0, {}, {}});
  for (long k = 0; k < 7; ++k) EXPECT_EQ(FindLineIndex(lines, lines[static_cast<std::size_t>(k)].id), k);
  for (int id : {0, 1, 3, 7, 13, 15}) EXPECT_EQ(FindLineIndex(lines, id), -1) << id;
  lines.resize(1);
  EXPECT_EQ(FindLineIndex(lines, 2), 0);
  EXPECT_EQ(FindLineIndex(lines, 3), -1);
}

TEST_F(ConversionTest, TableRowsHaveTheirFixedLayouts) {
  DlgFile file = small_file({line(1, {{3, 4}, {6, 8}}, 1, 2)}, {1});
  file.nodes[0].id = 12;
  ASSERT_EQ(convert(file), 0);
  const Table nodes = read_table(output("nodes.dbf"));
  ASSERT_EQ(nodes.records, 3u);
  EXPECT_EQ(nodes.rows[0], "       12");
  const Table links = read_table(output("links.dbf"));
  ASSERT_EQ(links.rows.size(), 1u);
  EXPECT_EQ(links.rows[0], " 1       1       2       1       1       5.0000      ");
  const Table areas = read_table(output("areas.dbf"));
  EXPECT_EQ(areas.rows[0], " 1       10.00       20.00       ");
  const auto line_shapes = read_shapes(output("links.shp"));
  EXPECT_EQ(line_shapes[0].content_words, 40);  // 16 x (2 + 3) bytes
}

TEST_F(ConversionTest, DegenerateLinesGoToTheirOwnTable) {
  auto with_codes = [](dlgopt_fixture::Line l) {
    l.codes = {{50, 1}};
    return l;
  };
  DlgFile file = small_file(
      {with_codes(line(1, {{1, 1}, {1, 1}}, 5, 5)), with_codes(line(2, {{1, 1}, {2, 2}, {1, 1}}, 5, 5))}, {});
  ASSERT_EQ(convert(file), 0);
  const Table degenerate = read_table(output("dglnatts.dbf"));
  ASSERT_EQ(degenerate.rows.size(), 1u);
  EXPECT_EQ(degenerate.record_length, 117);
  const std::string def = "Upper origin of stream" + std::string(91 - 22, ' ');
  EXPECT_EQ(degenerate.rows[0], "        50050.0001" + def + "        ");
  const Table lines = read_table(output("lineatts.dbf"));
  ASSERT_EQ(lines.rows.size(), 1u);
  EXPECT_EQ(lines.rows[0].substr(0, 18), "        20050.0001");
  EXPECT_TRUE(contains(log_text(), "Wrote 1 line attribute records\nWrote 1 degenerate line (node) records\n"));
}

TEST_F(ConversionTest, NoPairsLeaveNoAttributeTables) {
  ASSERT_EQ(convert(small_file({line(1, {{0, 0}, {1, 1}})}, {1})), 0);
  for (const char* table : {"nodeatts.dbf", "lineatts.dbf", "dglnatts.dbf", "areaatts.dbf"}) {
    EXPECT_FALSE(exists(output(table))) << table;
  }
  const std::string log = log_text();
  EXPECT_TRUE(contains(log, "No node attributes were generated\n"));
  EXPECT_TRUE(
      contains(log, "No line attributes were generated\nNo degenerate line (node) attributes were generated\n"));
  EXPECT_TRUE(contains(log, "No area attributes were generated\n"));
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
  write_bytes(scratch_.file("usMT.txt"),
              "   12   Logan International" + std::string(10, ' ') + "\n   99   Nowhere Field\n");
  ASSERT_EQ(convert(named(197, 12), "usMT.opt"), 0);
  const Table air = read_table(output("air.dbf"));
  ASSERT_EQ(air.rows.size(), 2u);
  EXPECT_EQ(air.record_length, 85);
  EXPECT_EQ(air.rows[0].substr(0, 5), "   12");
  EXPECT_EQ(air.rows[0].substr(5, 20), "Logan International ");
  EXPECT_EQ(air.rows[0].substr(77), "       4");
  EXPECT_EQ(air.rows[1].substr(77), "      -1");
  EXPECT_TRUE(contains(log_text(), "Wrote 2 airport records\n"));
}

TEST_F(NameTableTest, PlacesJoinTheirNodes) {
  const std::string name = "Springfield" + std::string(31, ' ');
  write_bytes(scratch_.file("usMS.txt"),
              "    7   " + name + "  25     123456\n    8   Elsewhere" + std::string(35, ' ') + "  3    -\n");
  ASSERT_EQ(convert(named(207, 7), "usMS.opt"), 0);
  const Table places = read_table(output("place.dbf"));
  ASSERT_EQ(places.rows.size(), 2u);
  EXPECT_EQ(places.rows[0], "     7" + name + "025    123456       4");
  EXPECT_EQ(places.rows[1].substr(48), "003        -1      -1");
}

TEST_F(NameTableTest, MissingNamesFileIsReportedAndFailsTheRun) {
  EXPECT_NE(convert(named(207, 7), "usMS.opt"), 0);
  EXPECT_TRUE(contains(log_text(), ".txt.  No place names generated\nAn error has occured, aborting"));
}

TEST_F(ConversionTest, TruncatedFileStopsWithALogLine) {
  std::string bytes = dlgopt_fixture::render(dlgopt_fixture::ladder(3, 6), Form::kFixed);
  bytes.resize(bytes.size() - 80 * 5 - 20);
  const std::string input = scratch_.file("cut.opt");
  write_bytes(input, bytes);
  EXPECT_NE(convert_path(input), 0);
  EXPECT_TRUE(contains(log_text(), "DLG file ends early, in line 9\nQuitting\n"));
}

TEST_F(ConversionTest, HugeCountsInAShortFileAreNotTrusted) {
  DlgFile file = dlgopt_fixture::ladder(1, 2);
  std::string bytes = dlgopt_fixture::render(file, Form::kFixed);
  const std::size_t category = 14 * 80;
  bytes.replace(category + 62, 6, "999999");  // lines, the last section
  const std::string input = scratch_.file("huge.opt");
  write_bytes(input, bytes);
  EXPECT_NE(convert_path(input), 0);
  EXPECT_TRUE(contains(log_text(), "DLG file ends early, in line 5\n"));
}

TEST_F(ConversionTest, WrongRecordTypeAndDanglingLinkEndTheConversionOnly) {
  std::string bytes = dlgopt_fixture::render(dlgopt_fixture::ladder(1, 2), Form::kLines);
  bytes[bytes.find("\nN    2") + 1] = 'X';
  const std::string input = scratch_.file("bad.opt");
  write_bytes(input, bytes);
  EXPECT_NE(convert_path(input), 0);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0], "error reading node 1");

  EXPECT_NE(convert(small_file({line(1, {{0, 0}, {1, 1}})}, {1, -9})), 0);
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[1], "ERROR-cannot find link -9 for area 1");
}

TEST_F(ConversionTest, MissingOrEmptyInputAndUnwritableRunDirectoryFail) {
  EXPECT_NE(convert_path(scratch_.file("absent.opt")), 0);
  EXPECT_TRUE(contains(log_text(), "Cannot open input file " + scratch_.file("absent.opt") + "\nQuitting"));

  write_bytes(scratch_.file("empty.opt"), "");
  EXPECT_NE(convert_path(scratch_.file("empty.opt")), 0);
  EXPECT_TRUE(contains(log_text(), "Cannot read banner from DLG file\nQuitting"));

  const std::string input = scratch_.file("ok.opt");
  ASSERT_TRUE(dlgopt_fixture::write_file(input, dlgopt_fixture::ladder(1, 2), Form::kFixed));
  write_bytes(scratch_.file("plain_file"), "x");
  EXPECT_NE(RunDisplayOpt(input.c_str(), scratch_.file("plain_file").c_str()), 0);
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_TRUE(contains(messages_.messages.back(), "Cannot open log file"));
}

TEST_F(ConversionTest, StagingFilesStayOutOfTheCurrentDirectory) {
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(scratch_.path());
  const int result = convert(dlgopt_fixture::ladder(2, 3));
  std::filesystem::current_path(before);
  ASSERT_EQ(result, 0);
  for (const char* name : {"pts.tmp", "head.tmp", "parts.tmp", "box.tmp"}) {
    EXPECT_FALSE(exists(scratch_.file(name))) << name;
  }
  for (const auto& entry : std::filesystem::directory_iterator(scratch_.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "dlgopt.tmp" || !name.starts_with("dlgopt")) << "left behind: " << name;
  }
}

}  // namespace
}  // namespace corvane::dlgopt::test
