// The module file base: path parts, reading whole modules, and the catalog readers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "sdts/modules/catalog.h"
#include "sdts/modules/decimal_text.h"
#include "tests/support/shared_data.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace fs = std::filesystem;
using namespace corvane::sdts_fixture;
using namespace corvane::sdts;

namespace {

fs::path scratch(const std::string& name) {
  return corvane::test::fresh_directory("corvane-modules-" + name);
}

TEST(SDTSFileNameTest, PartsOfAModulePath) {
  SDTSFileName n;
  n.path = "C:\\data\\1234CATD.DDF";
  n.parse();
  EXPECT_EQ(n.directory, "C:\\data\\");
  EXPECT_EQ(n.file_name, "1234CATD.DDF");
  EXPECT_EQ(n.extension, "DDF");
  EXPECT_EQ(n.prefix, "1234");
  EXPECT_EQ(n.base_name, "1234CATD");
  EXPECT_EQ(n.module_part, "CATD");

  n.path = "/d.x/1234le01.ddf";
  n.parse();
  EXPECT_EQ(n.directory, "/d.x/");
  EXPECT_EQ(n.module_part, "le01");

  n.path = "ABC";
  n.parse();
  EXPECT_EQ(n.directory, "");
  EXPECT_EQ(n.prefix, "ABC");
  EXPECT_EQ(n.base_name, "ABC");
  EXPECT_EQ(n.extension, "");
  EXPECT_EQ(n.module_part, "");
}

TEST(CatalogTest, RecordsWithModulePathsInTheCatalogsDirectory) {
  const fs::path dir = scratch("catalog");
  SdtsTransfer t(dir.string(), "1234");
  t.iden({});
  t.cats("LE01", "HYDROGRAPHY");
  t.cats("NO01", "*");
  auto& cross = t.module("CATX", "Catalog/Cross-Reference");
  cross.builder.field("CATX", "1600;&", "CATALOG/CROSS-REFERENCE", "MODN!RCID!NAM1!TYP1!NAM2!TYP2!COMT",
                      "(A,I,5A)");
  cross.add({{"CATX", {"CATX", rcid_text(1), "DQHL", "Lineage", "NP*", "Point-Node", "control points"}}});
  const std::string catalog = t.write();

  SDTSCatdFile catd(catalog);
  const CatdRecords& records = catd.return_catd();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].NAME, "CATD");
  EXPECT_EQ(records[1].MODN, "CATD");
  EXPECT_EQ(records[1].RCID, 2);
  EXPECT_EQ(records[1].NAME, "IDEN");
  EXPECT_EQ(records[1].TYPE, "Identification");
  EXPECT_EQ(records[1].FILE, (dir / "1234IDEN.DDF").string());
  EXPECT_EQ(records[1].EXTR, "N");
  EXPECT_EQ(records[1].MVER, "");
  EXPECT_EQ(records[1].FLAG, 0);
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

TEST(SDTSFileTest, UnreadableModulesGiveEmptyListsAndCloseTheirFiles) {
  const fs::path dir = scratch("unreadable");
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

TEST(SDTSFileTest, ModuleEndingAfterItsDdrHasNoRecords) {
  const fs::path dir = scratch("norecords");
  SdtsTransfer empty(dir.string(), "9999");
  empty.quality("DQHL", {});
  empty.write();
  SDTSCatdFile catd(empty.module_path("DQHL"));
  EXPECT_TRUE(catd.return_catd().empty());
  EXPECT_EQ(catd.read_result(), 0);
}

// Ids and counts must read exactly as atol read them, whatever the text.
TEST(DecimalValue, ReadsAsAtolDoes) {
  for (const char* text : {"", "0", "7", "007", "2147483647", "2147483648", "4294967297", "-5", "+3", " 12", "12 ",
                           "12abc", "abc", "99999999999999999", "123456789012345678", "9223372036854775807",
                           "9223372036854775808", "99999999999999999999", "-9223372036854775809", "1.5", "\t8",
                           "     1", "  -12", " + 4", "- 4", "--4", "   ", " \t 9", "-0", "+", "-"}) {
    EXPECT_EQ(SDTS_Decimal_Value(text), std::atol(text)) << '"' << text << '"';
  }
}

}  // namespace
