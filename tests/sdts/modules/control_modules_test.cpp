// Identification, spatial reference, spatial domain and statistics modules.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sdts/modules/identification.h"
#include "sdts/modules/spatial_reference.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "tests/support/shared_data.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace fs = std::filesystem;
using namespace corvane::sdts_fixture;
using namespace corvane::sdts;

namespace {

class ControlModules : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = corvane::test::fresh_directory(
        "corvane-control-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    SDTS_Reset_Conversion_State();
    g_log_path = (dir_ / "run.log").string();
    g_doc_path = (dir_ / "run.doc").string();
  }
  void TearDown() override {
    SDTS_Reset_Conversion_State();
    fs::remove_all(dir_);
  }
  static std::string read(const std::string& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  fs::path dir_;
};

TEST_F(ControlModules, IrefSetsTheGroundTransformInEveryNumberFormat) {
  SdtsTransfer t(dir_.string(), "1234");
  t.iref({.sfax = 0.01, .sfay = 0.01, .xorg = 500000.0, .yorg = 4000000.0});
  t.write();
  ASSERT_EQ(SDTS_Get_IREF_Attributes(t.module_path("IREF")), 0);
  EXPECT_DOUBLE_EQ(SDTS_Ground_X(12345), 500123.45);
  EXPECT_DOUBLE_EQ(SDTS_Ground_Y(67890), 4000678.9);

  SdtsTransfer integers((dir_ / "i").string(), "1234");
  integers.iref({.sfax = 2, .sfay = 3, .xorg = -100, .yorg = 7, .format = 'I'});
  integers.write();
  ASSERT_EQ(SDTS_Get_IREF_Attributes(integers.module_path("IREF")), 0);
  EXPECT_EQ(g_iref_sfax, 2.0);
  EXPECT_EQ(g_iref_sfay, 3.0);
  EXPECT_EQ(g_iref_xorg, -100.0);
  EXPECT_EQ(g_iref_yorg, 7.0);

  SdtsTransfer binary((dir_ / "b").string(), "1234");
  binary.iref({.sfax = 1, .sfay = 1, .xorg = 100000, .yorg = -5, .format = 'B'});
  binary.write();
  ASSERT_EQ(SDTS_Get_IREF_Attributes(binary.module_path("IREF")), 0);
  EXPECT_EQ(g_iref_xorg, 100000.0);
  EXPECT_EQ(g_iref_yorg, -5.0);

  // A module that cannot be read keeps what was set before.
  EXPECT_EQ(SDTS_Get_IREF_Attributes((dir_ / "none.DDF").string()), 1);
  EXPECT_EQ(g_iref_xorg, 100000.0);
}

TEST_F(ControlModules, TransformWithoutIrefKeepsStoredCoordinates) {
  EXPECT_EQ(SDTS_Ground_X(12345), 12345.0);
  EXPECT_EQ(SDTS_Ground_Y(-7), -7.0);
}

TEST_F(ControlModules, IdenKeepsTheScaleAsReadAndShowsItTrimmed) {
  SdtsTransfer t(dir_.string(), "1234");
  t.iden({});
  t.write();
  SDTSIdenFile iden(t.module_path("IDEN"));
  const auto& records = iden.return_records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].SCAL, 24000);
  EXPECT_EQ(records[0].TITL, "FIXTURE, MA / HYDROGRAPHY");
  EXPECT_EQ(records[0].FFYN, "Y");
  EXPECT_EQ(records[0].RCYN, "N");
  EXPECT_EQ(records[0].EXSP, 1);
  EXPECT_EQ(records[0].FTLV, 4);
  EXPECT_EQ(g_progress->scale(), "24000");
  EXPECT_EQ(g_progress->title(), "FIXTURE, MA / HYDROGRAPHY");
  EXPECT_EQ(read(g_log_path), "Map Title: FIXTURE, MA / HYDROGRAPHY\n\nMap Scale: 1 to    24000\n\n");
}

TEST_F(ControlModules, XrefTellsGeographicReferenceSystems) {
  SdtsTransfer t(dir_.string(), "1234");
  t.xref({"GEO", "NAX", ""});
  t.write();
  SDTSXrefFile xref(t.module_path("XREF"));
  SDTS_Set_Xref_Geographic(xref.return_records());
  EXPECT_EQ(g_xref_geographic, 1);
  EXPECT_EQ(g_progress->horizontal_datum(), "NAX");
  XrefRecord lower;
  lower.RSNM = "geo";
  SDTS_Set_Xref_Geographic({lower});
  EXPECT_EQ(g_xref_geographic, 0) << "the test is case-sensitive";
  SDTS_Set_Xref_Geographic({});
  EXPECT_EQ(g_xref_geographic, 0);
}

TEST_F(ControlModules, SpdmReadsBinaryCornersOfEachModule) {
  SdtsTransfer t(dir_.string(), "1234");
  t.spdm({.points = {{0x000186A0, -1}, {7, 8}, {9, 10}}});
  t.write();
  for (int pass = 0; pass < 2; ++pass) {
    SDTSSpdmFile spdm(t.module_path("SPDM"));
    const auto& records = spdm.return_records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].X1, 100000.0);
    EXPECT_EQ(records[0].Y1, -1.0);
    EXPECT_EQ(records[0].X2, 7.0);
    EXPECT_EQ(records[0].Y2, 8.0);
  }
}

TEST_F(ControlModules, StatCountsModulesByTheirFileNames) {
  const fs::path dotted = dir_ / "v1.2.transfer";
  SdtsTransfer t(dotted.string(), "1234");
  t.iden({});
  t.quality("DQHL", {"a", "b", "c"});
  t.stat();
  t.write();
  ASSERT_EQ(g_stat.read(t.module_path("STAT")), 0);
  EXPECT_EQ(g_stat.count_records(t.module_path("DQHL")), 3);
  EXPECT_EQ(g_stat.count_records((dotted / "1234IDEN.DDF").string()), 1);
  EXPECT_EQ(g_stat.count_records("C:\\v1.2\\1234IDEN.DDF"), 1);
  EXPECT_EQ(g_stat.count_records((dotted / "1234LE01.DDF").string()), 0);
  EXPECT_EQ(g_stat.count_records("IDE"), 0);
}

}  // namespace
