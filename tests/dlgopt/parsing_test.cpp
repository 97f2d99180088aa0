// Fixed-column fields and attribute code descriptions.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "dlgopt/code_description.h"
#include "dlgopt/dlg_field.h"
#include "dlgopt/run_state.h"

namespace corvane::dlgopt {
namespace {

// Numbers read as far as they go; the answer tells whether the field was well formed.
TEST(ParseFieldTest, BlankMissingAndPartialNumbersReadAsTheCLibraryWould) {
  const std::tuple<const char*, int, bool> integers[] = {
      {"   12", 12, true},  {"      ", 0, true},  {"  12AB", 12, false},
      {"    -7", -7, true}, {"     +", 0, false}, {"99999999999999999999", 2147483647, false}};
  for (const auto& [text, value, well_formed] : integers) {
    int i = -1;
    EXPECT_EQ(ParseField(text, 0, 20, i), well_formed) << text;
    EXPECT_EQ(i, value) << text;
  }
  int i = -1;
  ParseField("short", 40, 6, i);  // beyond the end of a short line
  EXPECT_EQ(i, 0);
  ParseField("N   12   3.5", 1, 5, i);
  EXPECT_EQ(i, 12);
  // A Fortran exponent ends the number at the D.
  const std::tuple<const char*, double, bool> reals[] = {{"   304844.81", 304844.81, true},
                                                         {" 6.35000000000D-01", 6.35, true},
                                                         {"   3Q4844.81", 3.0, false},
                                                         {"   abc", 0.0, false}};
  for (const auto& [text, value, well_formed] : reals) {
    double d = -1.0;
    EXPECT_EQ(ParseField(text, 0, 18, d), well_formed) << text;
    EXPECT_DOUBLE_EQ(d, value) << text;
  }
  EXPECT_EQ(CopyField("CONCORD, MA  ", 0, 11), "CONCORD, MA");
  EXPECT_EQ(CopyField("AB", 0, 5), "AB   ");
  EXPECT_EQ(CopyField("AB", 10, 3), "   ");
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
