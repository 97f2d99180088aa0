// Fixed-column fields, the three record forms, and attribute code descriptions.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
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
  int i = -1;
  ParseField("N   12   3.5", 1, 5, i);
  EXPECT_EQ(i, 12);
  ParseField("      ", 0, 6, i);
  EXPECT_EQ(i, 0);
  ParseField("  12AB", 0, 6, i);
  EXPECT_EQ(i, 12);
  ParseField("    -7", 0, 6, i);
  EXPECT_EQ(i, -7);
  ParseField("short", 40, 6, i);  // beyond the end of a short line
  EXPECT_EQ(i, 0);
  ParseField("99999999999999999999", 0, 20, i);
  EXPECT_EQ(i, 2147483647);

  double d = -1.0;
  ParseField("   304844.81", 0, 12, d);
  EXPECT_DOUBLE_EQ(d, 304844.81);
  ParseField(" 6.35000000000D-01", 0, 18, d);  // Fortran exponent: the number ends at the D
  EXPECT_DOUBLE_EQ(d, 6.35);
  ParseField("   abc", 0, 6, d);
  EXPECT_EQ(d, 0.0);

  char c = 'x';
  ParseField("L   10", 0, 1, c);
  EXPECT_EQ(c, 'L');
  ParseField(" ", 0, 1, c);
  EXPECT_EQ(c, '0');
}

TEST(CopyFieldTest, KeepsColumnsVerbatimAndPadsShortLines) {
  EXPECT_EQ(CopyField("CONCORD, MA  ", 0, 11), "CONCORD, MA");
  EXPECT_EQ(CopyField("AB", 0, 5), "AB   ");
  EXPECT_EQ(CopyField("AB", 10, 3), "   ");
}

class RecordReaderTest : public ::testing::Test {
 protected:
  std::vector<std::string> read_all(const std::string& bytes) {
    const std::string path = scratch_.file("records");
    test::write_bytes(path, bytes);
    formats::CFile file = formats::open_c_file(path, "rb");
    DlgRecordReader reader(file.get());
    EXPECT_TRUE(reader.detect_form());
    line_ends_ = reader.has_line_ends();
    std::vector<std::string> records;
    std::string record;
    while (reader.read(record)) records.push_back(record);
    return records;
  }
  paths::WorkDirectory scratch_{"dlgopt_reader"};
  bool line_ends_ = false;
};

TEST_F(RecordReaderTest, ThreeFormsGiveTheSameRecords) {
  const std::string a = "A" + std::string(78, ' ') + "Z";
  const std::string b = "B    12" + std::string(73, ' ');
  const auto fixed = read_all(a + b);
  EXPECT_FALSE(line_ends_);
  const auto lines = read_all(a + "\n" + b + "\n");
  EXPECT_TRUE(line_ends_);
  const auto short_lines = read_all(a + "\r\n" + "B    12\r\n");
  const std::vector<std::string> expected{a, b};
  EXPECT_EQ(fixed, expected);
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(short_lines, expected);
}

TEST_F(RecordReaderTest, ShortLineAfterLongOneReadsBlanksNotStaleColumns) {
  const auto records = read_all("L" + std::string(70, ' ') + "999999999\nL\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1], "L" + std::string(79, ' '));
}

TEST_F(RecordReaderTest, CutRecordWithoutLineEndsIsNotARecord) {
  const auto records = read_all(std::string(80, 'x') + std::string(100, 'y') + "yyyy");
  EXPECT_EQ(records.size(), 2u);  // 180 + 4 bytes: the last 24 are a cut record
}

// The three real-world forms made from a real file (fixed records) read the same records.
TEST_F(RecordReaderTest, RealFileInAllThreeFormsReadsTheSameRecords) {
  CORVANE_REQUIRE_SHARED_DATA();
  const std::string fixed = test::read_bytes(test::shared_data_dir() + "/dlg3-optional/concord-ma-MT.opt");
  ASSERT_EQ(fixed.size() % 80, 0u);
  std::string lines, short_lines;
  for (std::size_t at = 0; at < fixed.size(); at += 80) {
    std::string record = fixed.substr(at, 80);
    lines += record + "\n";
    record.erase(record.find_last_not_of(' ') + 1);
    short_lines += record + "\n";
  }
  const auto from_fixed = read_all(fixed);
  EXPECT_EQ(from_fixed.size(), fixed.size() / 80);
  EXPECT_EQ(read_all(lines), from_fixed);
  EXPECT_EQ(read_all(short_lines), from_fixed);
}

class DescribeCodeTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_run_state(); }
  void TearDown() override { reset_run_state(); }
  static std::string row_tail(std::int32_t major, std::int32_t minor) {
    const CodeDescription d = DescribeCode(major, minor);
    return d.def + "|" + d.cvalue + "|" + d.ivalue;
  }
  static std::string def(const std::string& text) { return text + std::string(kDefWidth - text.size(), ' '); }
};

TEST_F(DescribeCodeTest, ValueAndLetterKindsFillCvalueAndIvalue) {
  EXPECT_EQ(row_tail(197, 1234), def("Airport identifier") + "|    |1234");
  EXPECT_EQ(row_tail(93, 7), def("Civil township or equivalent FIPS code, first two digits") + "|    |07  ");
  EXPECT_EQ(row_tail(92, 17), def("County FIPS Code") + "|    |017 ");
  EXPECT_EQ(row_tail(96, 102), def("Alphabetic part of any monument number") + "|  AB|    ");
  EXPECT_EQ(row_tail(96, 2600), def("Alphabetic part of any monument number") + "|    |    ");
  EXPECT_EQ(row_tail(50, 999), def("Unknown") + "|    |    ");
  EXPECT_EQ(row_tail(22, 412), def("Elevation, whole feet, 9999 or less") + "|    |412 ");
}

TEST_F(DescribeCodeTest, FallbacksOfTheMinorCodeTables) {
  EXPECT_EQ(row_tail(150, 12), std::string(kDefWidth, ' ') + "|    |    ");
  EXPECT_EQ(row_tail(306, 55), def("Origin of survey") + "|    |55  ");
  EXPECT_EQ(row_tail(306, 38), def("Ohio River Base") + "|    |    ");
  EXPECT_EQ(row_tail(308, 0), def("Best estimate of position or classification") + "|    |    ");
  EXPECT_EQ(row_tail(308, 31), def("Land grant, location, or mineral monument number") + "|    |31  ");
  EXPECT_EQ(row_tail(98, 1), def("Best estimate of classification or position") + "|    |    ");
  g_opt_scale = 2000000;
  EXPECT_EQ(row_tail(98, 1), def("Federal Land Name (will be implemented at a future date)") + "|    |    ");
  EXPECT_EQ(row_tail(0, 5), def("Outside Area") + "|    |    ");
  EXPECT_EQ(row_tail(20, 200), def("Countour (index or intermediate)") + "|    |    ");
  EXPECT_EQ(row_tail(170, 201), def("Primary route, class 1, symbol undivided") + "|    |    ");
}

TEST_F(DescribeCodeTest, CountsAirportAndPlaceIdentifiers) {
  DescribeCode(197, 1);
  DescribeCode(197, 2);
  DescribeCode(207, 3);
  DescribeCode(170, 201);
  EXPECT_EQ(g_opt_airport_count, 2);
  EXPECT_EQ(g_opt_place_count, 1);
}

TEST_F(DescribeCodeTest, TableHoldsEveryKeyOnceInOrderWithTextsThatFitDef) {
  EXPECT_EQ(kCodeDescriptionRowCount, 688u);
  std::set<std::pair<int, int>> keys;
  std::size_t longest = 0;
  for (std::size_t k = 0; k < kCodeDescriptionRowCount; ++k) {
    const CodeDescriptionRow& row = kCodeDescriptionRows[k];
    if (k > 0) {
      const CodeDescriptionRow& before = kCodeDescriptionRows[k - 1];
      EXPECT_LT(std::pair(before.major, before.minor), std::pair(row.major, row.minor))
          << row.major << " " << row.minor;
    }
    keys.emplace(row.major, row.minor);
    longest = std::max(longest, std::string(row.text).size());
  }
  EXPECT_EQ(keys.size(), kCodeDescriptionRowCount);
  EXPECT_LE(longest, kDefWidth);
}

}  // namespace
}  // namespace corvane::dlgopt
