// Fixed-column fields, the three record forms, and attribute code descriptions.
#include <gtest/gtest.h>

#include <string>

#include "dlgopt/code_description.h"
#include "dlgopt/dlg_field.h"
#include "dlgopt/dlg_record_reader.h"
#include "dlgopt/run_state.h"
#include "formats/c_file.h"
#include "tests/dlgopt/dlgopt_test_support.h"

namespace corvane::dlgopt {
namespace {

TEST(ParseFieldTest, BlankMissingAndPartialNumbersReadAsTheCLibraryWould) {
  const std::pair<const char*, int> integers[] = {{"   12", 12},
                                                  {"      ", 0},
                                                  {"  12AB", 12},
                                                  {"    -7", -7},
                                                  {"99999999999999999999", 2147483647}};
  for (const auto& [text, value] : integers) {
    int i = -1;
    ParseField(text, 0, 20, i);
    EXPECT_EQ(i, value) << text;
  }
  int i = -1;
  ParseField("short", 40, 6, i);  // beyond the end of a short line
  EXPECT_EQ(i, 0);
  ParseField("N   12   3.5", 1, 5, i);
  EXPECT_EQ(i, 12);
  // A Fortran exponent ends the number at the D.
  for (const auto& [text, value] :
       {std::pair{"   304844.81", 304844.81}, {" 6.35000000000D-01", 6.35}, {"   abc", 0.0}}) {
    double d = -1.0;
    ParseField(text, 0, 18, d);
    EXPECT_DOUBLE_EQ(d, value) << text;
  }
  char c = 'x';
  ParseField("L   10", 0, 1, c);
  EXPECT_EQ(c, 'L');
  ParseField(" ", 0, 1, c);
  EXPECT_EQ(c, '0');
  EXPECT_EQ(CopyField("CONCORD, MA  ", 0, 11), "CONCORD, MA");
  EXPECT_EQ(CopyField("AB", 0, 5), "AB   ");
  EXPECT_EQ(CopyField("AB", 10, 3), "   ");
}

class RecordReaderTest : public ::testing::Test {
 protected:
  std::vector<std::string> read_all(const std::string& bytes) {
    const std::string path = scratch_.file("records");
    test::write_file(path, bytes);
    formats::CFile file = formats::open_c_file(path, "rb");
    DlgRecordReader reader(file.get());
    EXPECT_TRUE(reader.detect_form());
    line_ends_ = reader.has_line_ends();
    std::vector<std::string> records;
    for (std::string record; reader.read(record);) records.push_back(record);
    return records;
  }
  paths::WorkDirectory scratch_{"dlgopt_reader"};
  bool line_ends_ = false;
};

TEST_F(RecordReaderTest, ThreeFormsGiveTheSameRecords) {
  const std::string a = "A" + std::string(78, ' ') + "Z";
  const std::string b = "B    12" + std::string(73, ' ');
  EXPECT_EQ(read_all(a + b), (std::vector<std::string>{a, b}));
  EXPECT_FALSE(line_ends_);
  EXPECT_EQ(read_all(a + "\n" + b + "\n"), (std::vector<std::string>{a, b}));
  EXPECT_TRUE(line_ends_);
  EXPECT_EQ(read_all(a + "\r\n" + "B    12\r\n"), (std::vector<std::string>{a, b}));
  // A short line after a long one reads blanks, not stale columns.
  EXPECT_EQ(read_all("L" + std::string(70, ' ') + "999999999\nL\n").at(1),
            "L" + std::string(79, ' '));
  // 180 + 4 bytes without line ends: the last 24 are a cut record, not a record.
  EXPECT_EQ(read_all(std::string(80, 'x') + std::string(100, 'y') + "yyyy").size(), 2u);
}

class DescribeCodeTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_run_state(); }
  void TearDown() override { reset_run_state(); }
};

TEST_F(DescribeCodeTest, KindsFillDefCvalueAndIvalueAndFallBackPerMinorTable) {
  struct Case {
    std::int32_t major, minor;
    std::string def, cvalue, ivalue;
  };
  const Case cases[] = {
      {197, 1234, "Airport identifier", "    ", "1234"},
      {93, 7, "Civil township or equivalent FIPS code, first two digits", "    ", "07  "},
      {92, 17, "County FIPS Code", "    ", "017 "},
      {96, 102, "Alphabetic part of any monument number", "  AB", "    "},
      {96, 2600, "Alphabetic part of any monument number", "    ", "    "},
      {50, 999, "Unknown", "    ", "    "},
      {22, 412, "Elevation, whole feet, 9999 or less", "    ", "412 "},
      {150, 12, "", "    ", "    "},
      {306, 55, "Origin of survey", "    ", "55  "},
      {306, 38, "Ohio River Base", "    ", "    "},
      {308, 0, "Best estimate of position or classification", "    ", "    "},
      {308, 31, "Land grant, location, or mineral monument number", "    ", "31  "},
      {98, 1, "Best estimate of classification or position", "    ", "    "},
      {0, 5, "Outside Area", "    ", "    "},
      {20, 200, "Countour (index or intermediate)", "    ", "    "},
      {170, 201, "Primary route, class 1, symbol undivided", "    ", "    "},
  };
  for (const Case& c : cases) {
    const CodeDescription d = DescribeCode(c.major, c.minor);
    EXPECT_EQ(d.def + "|" + d.cvalue + "|" + d.ivalue,
              c.def + std::string(kDefWidth - c.def.size(), ' ') + "|" + c.cvalue + "|" + c.ivalue)
        << c.major << " " << c.minor;
  }
  EXPECT_EQ(g_opt_airport_count, 1);
  EXPECT_EQ(g_opt_place_count, 0);
  DescribeCode(207, 3);
  EXPECT_EQ(g_opt_place_count, 1);
  g_opt_scale = 2000000;
  const std::string federal = "Federal Land Name (will be implemented at a future date)";
  EXPECT_EQ(DescribeCode(98, 1).def, federal + std::string(kDefWidth - federal.size(), ' '));
}

}  // namespace
}  // namespace corvane::dlgopt
