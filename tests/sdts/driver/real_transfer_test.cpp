// Every real transfer beside the repository converts, and its run files say what its
// identification and spatial reference modules hold.
#include <gtest/gtest.h>

#include <filesystem>

#include "sdts/driver/conversion.h"
#include "sdts/run/run_state.h"
#include "tests/sdts/driver/conversion_fixture.h"
#include "tests/support/shared_data.h"

namespace fs = std::filesystem;
using namespace corvane::sdts;

namespace {

class RealTransfers : public corvane::test::ConversionTest {};

TEST_F(RealTransfers, EveryTransferConverts) {
  CORVANE_REQUIRE_SHARED_DATA();
  const fs::path data = fs::path(corvane::test::shared_data_dir()) / "sdts";
  int converted = 0;
  for (const auto& folder : fs::directory_iterator(data)) {
    fs::path catalog;
    for (const auto& file : fs::directory_iterator(folder))
      if (file.path().filename().string().ends_with("CATD.DDF")) catalog = file.path();
    ASSERT_FALSE(catalog.empty()) << folder.path();
    SCOPED_TRACE(catalog.string());

    ASSERT_EQ(SDTS_Convert(catalog.c_str(), out().c_str()), 0);
    ++converted;
    const std::string base = catalog.stem().string();
    const std::string run_name = folder.path().filename().string() + base + "shp";
    const fs::path run = fs::path(out()) / run_name;

    ASSERT_EQ(g_iden_records.size(), 1u);
    ASSERT_EQ(g_xref_records.size(), 1u);
    const IdenRecord& iden = g_iden_records[0];
    const XrefRecord& xref = g_xref_records[0];
    EXPECT_EQ(read(fs::path(out()) / "names.txt"), run_name + "\n" + iden.TITL);
    const std::string doc = read(run / (base + ".doc"));
    EXPECT_NE(doc.find("\nTITLE:           " + iden.TITL + "\nSCALE:           " +
                       std::to_string(iden.SCAL) + "\n"),
              std::string::npos);
    EXPECT_NE(doc.find("\nReference System:           " + xref.RSNM + "\nHorizontal Datum:           " +
                       xref.HDAT + "\nZONE:\t\t\t\t\t   " + xref.ZONE + "\n"),
              std::string::npos);
    EXPECT_NE(doc.find("\nCOMMENT:            "), std::string::npos) << "data quality comments";
    const std::string log = read(run / (base + ".log"));
    EXPECT_NE(log.find("Map Scale: 1 to    2"), std::string::npos);
    EXPECT_NE(log.find("Zone: " + xref.ZONE + "\n"), std::string::npos);
    EXPECT_EQ(progress_.fields[3017], std::to_string(iden.SCAL));

    // The statistics count every module the catalog lists with records.
    EXPECT_EQ(g_stat.count_records(catalog.string()), static_cast<long>(g_catd_records.size()));
    EXPECT_EQ(g_iref_sfax, 0.01);
    EXPECT_EQ(g_iref_sfay, 0.01);
    EXPECT_EQ(g_xref_geographic, 0);
  }
  EXPECT_EQ(converted, 6);
  EXPECT_TRUE(messages_.messages.empty());
}

}  // namespace
