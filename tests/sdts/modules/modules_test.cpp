// The module readers: path parts, whole modules read or refused, the catalog, and the spatial
// reference, spatial domain and statistics modules in the forms real transfers do not use.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "sdts/modules/catalog.h"
#include "sdts/modules/decimal_text.h"
#include "sdts/modules/spatial_reference.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "tests/support/shared_data.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace fs = std::filesystem;
using namespace corvane::sdts_fixture;
using namespace corvane::sdts;

namespace {

class Modules : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = corvane::test::fresh_directory(
        "corvane-modules-" +
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    SDTS_Reset_Conversion_State();
    g_log_path = (dir_ / "run.log").string();
    g_doc_path = (dir_ / "run.doc").string();
  }
  void TearDown() override {
    SDTS_Reset_Conversion_State();
    fs::remove_all(dir_);
  }
  fs::path dir_;
};

TEST(SDTSFileNameTest, PartsOfAModulePath) {
  // directory, file name, extension, prefix, base name, module part
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"C:\\data\\1234CATD.DDF", {"C:\\data\\", "1234CATD.DDF", "DDF", "1234", "1234CATD", "CATD"}},
      {"/d.x/1234le01.ddf", {"/d.x/", "1234le01.ddf", "ddf", "1234", "1234le01", "le01"}},
      {"ABC", {"", "ABC", "", "ABC", "ABC", ""}}};
  for (const auto& [path, parts] : cases) {
    SDTSFileName n;
    n.path = path;
    n.parse();
    EXPECT_EQ(std::vector<std::string>(
                  {n.directory, n.file_name, n.extension, n.prefix, n.base_name, n.module_part}),
              parts)
        << path;
  }
}

TEST_F(Modules, CatalogRecordsWithModulePathsInTheCatalogsDirectory) {
  const fs::path dir = dir_;
  SdtsTransfer t(dir.string(), "1234");
  t.iden({});
  t.cats("LE01", "HYDROGRAPHY");
  t.cats("NO01", "*");
  auto& cross = t.module("CATX", "Catalog/Cross-Reference");
  cross.builder.field("CATX", "1600;&", "CATALOG/CROSS-REFERENCE",
                      "MODN!RCID!NAM1!TYP1!NAM2!TYP2!COMT", "(A,I,5A)");
  cross.add(
      {{"CATX", {"CATX", rcid_text(1), "DQHL", "Lineage", "NP*", "Point-Node", "control points"}}});
  const std::string catalog = t.write();

  SDTSCatdFile catd(catalog);
  const CatdRecords& records = catd.return_catd();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].NAME, "CATD");
  const CatdRecord& iden = records[1];
  EXPECT_EQ(
      std::tie(iden.MODN, iden.RCID, iden.NAME, iden.TYPE, iden.FILE, iden.EXTR, iden.MVER,
               iden.FLAG),
      std::tuple("CATD", 2, "IDEN", "Identification", (dir / "1234IDEN.DDF").string(), "N", "", 0));
  EXPECT_EQ(catd.read_result(), 0);

  SDTSCatsFile cats(records[2].FILE);
  const CatsRecords& themes = cats.return_records();
  ASSERT_EQ(themes.size(), 2u);
  EXPECT_EQ(themes[0].NAME, "LE01");
  EXPECT_EQ(themes[0].THEM, "HYDROGRAPHY");
  EXPECT_EQ(themes[1].THEM, "*");
  EXPECT_EQ(themes[1].AGTP, "GT");

  SDTXFile catx(records[3].FILE);
  ASSERT_EQ(catx.return_records().size(), 1u);
  EXPECT_EQ(catx.return_records()[0].COMT, "control points");
}

TEST_F(Modules, UnreadableModulesGiveEmptyListsAndCloseTheirFiles) {
  const fs::path dir = dir_;
  SDTSCatdFile missing((dir / "1234CATD.DDF").string());
  EXPECT_TRUE(missing.return_catd().empty());
  EXPECT_EQ(missing.read_result(), 1);

  std::ofstream(dir / "1234CATD.DDF") << "00024 not an ISO 8211 file at all";
  SDTSCatdFile damaged((dir / "1234CATD.DDF").string());
  EXPECT_TRUE(damaged.return_catd().empty());
  EXPECT_FALSE(damaged.is_open());

  // A record cut short keeps the records before it.
  SdtsTransfer t(dir.string(), "5678");
  t.iden({});
  const std::string catalog = t.write();
  const auto size = fs::file_size(catalog);
  fs::resize_file(catalog, size - 20);
  SDTSCatdFile cut(catalog);
  EXPECT_EQ(cut.return_catd().size(), 1u);
  EXPECT_EQ(cut.read_result(), 1);
  EXPECT_FALSE(cut.is_open());
}

TEST_F(Modules, ModuleEndingAfterItsDdrHasNoRecords) {
  const fs::path dir = dir_;
  SdtsTransfer empty(dir.string(), "9999");
  empty.quality("DQHL", {});
  empty.write();
  SDTSCatdFile catd(empty.module_path("DQHL"));
  EXPECT_TRUE(catd.return_catd().empty());
  EXPECT_EQ(catd.read_result(), 0);
}

// Ids and counts must read exactly as atol read them, whatever the text.
TEST(DecimalValue, ReadsAsAtolDoes) {
  for (const char* text : {"",
                           "0",
                           "7",
                           "007",
                           "2147483647",
                           "2147483648",
                           "4294967297",
                           "-5",
                           "+3",
                           " 12",
                           "12 ",
                           "12abc",
                           "abc",
                           "99999999999999999",
                           "123456789012345678",
                           "9223372036854775807",
                           "9223372036854775808",
                           "99999999999999999999",
                           "-9223372036854775809",
                           "1.5",
                           "\t8",
                           "     1",
                           "  -12",
                           " + 4",
                           "- 4",
                           "--4",
                           "   ",
                           " \t 9",
                           "-0",
                           "+",
                           "-"}) {
    EXPECT_EQ(SDTS_Decimal_Value(text), std::atol(text)) << '"' << text << '"';
  }
}

TEST_F(Modules, IrefSetsTheGroundTransformInEveryNumberFormat) {
  // Without an IREF module the stored coordinates are kept.
  EXPECT_EQ(SDTS_Ground_X(12345), 12345.0);
  EXPECT_EQ(SDTS_Ground_Y(-7), -7.0);
  SdtsTransfer t(dir_.string(), "1234");
  t.iref({.sfax = 0.01, .sfay = 0.01, .xorg = 500000.0, .yorg = 4000000.0});
  t.write();
  ASSERT_EQ(SDTS_Get_IREF_Attributes(t.module_path("IREF")), 0);
  EXPECT_DOUBLE_EQ(SDTS_Ground_X(12345), 500123.45);
  EXPECT_DOUBLE_EQ(SDTS_Ground_Y(67890), 4000678.9);

  for (const IrefSpec& spec :
       {IrefSpec{.sfax = 2, .sfay = 3, .xorg = -100, .yorg = 7, .format = 'I'},
        IrefSpec{.sfax = 1, .sfay = 1, .xorg = 100000, .yorg = -5, .format = 'B'}}) {
    SdtsTransfer other((dir_ / std::string(1, spec.format)).string(), "1234");
    other.iref(spec);
    other.write();
    ASSERT_EQ(SDTS_Get_IREF_Attributes(other.module_path("IREF")), 0);
    EXPECT_EQ(std::vector<double>({g_iref_sfax, g_iref_sfay, g_iref_xorg, g_iref_yorg}),
              std::vector<double>({spec.sfax, spec.sfay, spec.xorg, spec.yorg}))
        << spec.format;
  }

  // A module that cannot be read keeps what was set before.
  EXPECT_EQ(SDTS_Get_IREF_Attributes((dir_ / "none.DDF").string()), 1);
  EXPECT_EQ(g_iref_xorg, 100000.0);
}

TEST_F(Modules, XrefTellsGeographicReferenceSystems) {
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

TEST_F(Modules, SpdmReadsBinaryCornersOfEachModule) {
  SdtsTransfer t(dir_.string(), "1234");
  t.spdm({.points = {{0x000186A0, -1}, {7, 8}, {9, 10}}});
  t.write();
  for (int pass = 0; pass < 2; ++pass) {
    SDTSSpdmFile spdm(t.module_path("SPDM"));
    const auto& records = spdm.return_records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(std::vector<double>({records[0].X1, records[0].Y1, records[0].X2, records[0].Y2}),
              std::vector<double>({100000, -1, 7, 8}));
  }
}

TEST_F(Modules, StatCountsModulesByTheirFileNames) {
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
