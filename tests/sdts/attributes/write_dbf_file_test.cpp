#include "sdts/attributes/write_dbf_file.h"

#include <filesystem>

#include "tests/sdts/attributes/attr_test_run.h"
#include "tools/iso8211_fixture/iso8211_fixture.h"

using namespace corvane::iso_fixture;
using namespace corvane::sdts;

namespace {

// An attribute module with an ATPR identifier field and one ATTP value field.
Iso8211Builder attribute_module(const std::string& labels, const std::string& formats,
                                const std::string& id_formats = "(A,I)") {
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("ATPR", "1600;&", "ATTRIBUTE PRIMARY", "MODN!RCID", id_formats)
      .field("ATTP", "1600;&", "PRIMARY ATTRIBUTES", labels, formats);
  return b;
}

void add_record(Iso8211Builder& b, const std::string& module, int rcid,
                std::vector<Value> values) {
  std::vector<Field> fields = {{"0001", {std::to_string(rcid)}},
                               {"ATPR", {module, std::to_string(rcid)}}};
  if (!values.empty()) fields.push_back({"ATTP", std::move(values)});
  b.record(std::move(fields));
}

class WriteDbfFile : public AttrTestRun {};

TEST_F(WriteDbfFile, WorkedExampleGivesColumnsRowAndFieldNameTable) {
  Iso8211Builder b = attribute_module("ENTITY_LABEL!ELEVATION", "(A,I)");
  add_record(b, "AHPR", 1, {"HYPSO", "0200"});
  b.write(input("1234AHPR.DDF"));

  ASSERT_EQ(SDTS_Write_DBF_File(input("1234AHPR.DDF").c_str()), 0);

  const std::string table = read_file(output("1234AHPR.dbf"));
  ASSERT_EQ(header_length(table), 32 * 3 + 33);
  EXPECT_EQ(field(table, 0), "AHPR_RCID N(1)");
  EXPECT_EQ(field(table, 1), "ENTITY_LAB C(5)");
  EXPECT_EQ(field(table, 2), "ELEVATION N(4)");
  EXPECT_EQ(record_count(table), 1u);
  EXPECT_EQ(row(table, 0), " 1HYPSO0200");
  EXPECT_EQ(table.size(), 32u * 3 + 33 + 11);

  const std::string names = read_file(output("1234AHPR(Name).dbf"));
  EXPECT_EQ(field(names, 0), "Alias C(12)");
  EXPECT_EQ(field(names, 1), "Field_Name C(10)");
  EXPECT_EQ(record_count(names), 3u);
  EXPECT_EQ(row(names, 0), " AHPR_RCID   AHPR_RCID ");
  EXPECT_EQ(row(names, 1), " ENTITY_LABELENTITY_LAB");
  EXPECT_EQ(row(names, 2), " ELEVATION   ELEVATION ");
  EXPECT_EQ(names.size(), 32u * 2 + 33 + 3 * 23) << "no end mark";

  const std::string log = read_file(input("run.log"));
  EXPECT_NE(log.find("Wrote 1 attribute records to file " + output("1234AHPR.dbf") + "\n"),
            std::string::npos);
  EXPECT_NE(log.find("Wrote full names for fields in file " + output("1234AHPR") +
                     " to dbf file " + output("1234AHPR(Name).dbf")),
            std::string::npos);
}

TEST_F(WriteDbfFile, RecordWithoutValuesKeepsItsPlaceButIsNoAttributeRecord) {
  Iso8211Builder b = attribute_module("ELEVATION", "(I)");
  add_record(b, "AHPR", 1, {"10"});
  add_record(b, "AHPR", 2, {});
  add_record(b, "AHPR", 3, {"30"});
  b.write(input("1234AHPR.DDF"));
  ASSERT_EQ(SDTS_Write_DBF_File(input("1234AHPR.DDF").c_str()), 0);

  const std::string table = read_file(output("1234AHPR.dbf"));
  ASSERT_EQ(record_count(table), 3u);
  EXPECT_EQ(row(table, 0), " 110");
  EXPECT_EQ(row(table, 1), "*2  ") << "the third record stays third, for the joins";
  EXPECT_EQ(row(table, 2), " 330");
  EXPECT_EQ(table.size(), header_length(table) + 3u * record_length(table));
  EXPECT_NE(read_file(input("run.log")).find("Wrote 2 attribute records"), std::string::npos);
}

TEST_F(WriteDbfFile, EmptyModuleGivesTableWithoutFieldsOrRecords) {
  attribute_module("ELEVATION", "(I)").write(input("1234AHPR.DDF"));
  ASSERT_EQ(SDTS_Write_DBF_File(input("1234AHPR.DDF").c_str()), 0);
  const std::string table = read_file(output("1234AHPR.dbf"));
  EXPECT_EQ(table.size(), 33u);
  EXPECT_EQ(record_count(table), 0u);
  EXPECT_EQ(record_count(read_file(output("1234AHPR(Name).dbf"))), 0u);
}

TEST_F(WriteDbfFile, VariableLengthValuesArePaddedToTheLongest) {
  Iso8211Builder b = attribute_module("ROUTE_NUMBER!LANES", "(A,I)");
  add_record(b, "ARDM", 1, {"SR 4", "2"});
  add_record(b, "ARDM", 10, {"US 3 ALT", "12"});
  add_record(b, "ARDM", 100, {"", "1"});
  b.write(input("1234ARDM.DDF"));
  ASSERT_EQ(SDTS_Write_DBF_File(input("1234ARDM.DDF").c_str()), 0);

  const std::string table = read_file(output("1234ARDM.dbf"));
  EXPECT_EQ(field(table, 0), "ARDM_RCID N(3)");
  EXPECT_EQ(field(table, 1), "ROUTE_NUMB C(8)");
  EXPECT_EQ(field(table, 2), "LANES N(2)");
  ASSERT_EQ(record_count(table), 3u);
  EXPECT_EQ(row(table, 0), "   1SR 4     2");
  EXPECT_EQ(row(table, 1), "  10US 3 ALT12");
  EXPECT_EQ(row(table, 2), " 100         1");
  EXPECT_EQ(table.size(), header_length(table) + 3u * record_length(table));
}

TEST_F(WriteDbfFile, RepeatedLabelsAndLongNamesGetUniqueColumns) {
  Iso8211Builder b = attribute_module("ELEVATION!ELEVATION!SW_LATITUDE!SW_LATITUDE_2",
                                      "(I,I,A,A)");
  add_record(b, "AHPR", 1, {"1", "2", "N", "S"});
  b.write(input("1234AHPR.DDF"));
  ASSERT_EQ(SDTS_Write_DBF_File(input("1234AHPR.DDF").c_str()), 0);

  const std::string table = read_file(output("1234AHPR.dbf"));
  ASSERT_EQ(header_length(table), 32 * 5 + 33);
  EXPECT_EQ(field(table, 1), "ELEVATION N(1)");
  EXPECT_EQ(field(table, 2), "ELEVATION_ N(1)");
  EXPECT_EQ(field(table, 3), "SW_LATITUD C(1)");
  EXPECT_EQ(field(table, 4), "SW_LATIT_2 C(1)");
  EXPECT_EQ(row(table, 0), " 112NS");

  const std::string names = read_file(output("1234AHPR(Name).dbf"));
  ASSERT_EQ(record_count(names), 5u);
  EXPECT_EQ(row(names, 2), " ELEVATION_2  ELEVATION_");
  EXPECT_EQ(row(names, 4), " SW_LATITUDE_2SW_LATIT_2");
}

TEST_F(WriteDbfFile, BinaryAndRealValuesAreNumbers) {
  Iso8211Builder b = attribute_module("COUNT!ANGLE!ELEVATION", "(B(32),R(6),R(8))");
  add_record(b, "AHPR", 1, {be32(1), fixed("  12.5"), fixed("   36.00")});
  add_record(b, "AHPR", 2, {be32(-7), fixed("     3"), fixed("  102.25")});
  b.write(input("1234AHPR.DDF"));
  ASSERT_EQ(SDTS_Write_DBF_File(input("1234AHPR.DDF").c_str()), 0);

  const std::string table = read_file(output("1234AHPR.dbf"));
  EXPECT_EQ(field(table, 1), "COUNT N(11)") << "wide enough for any 32-bit value";
  EXPECT_EQ(field(table, 2), "ANGLE N(6.1)");
  EXPECT_EQ(field(table, 3), "ELEVATION N(8.2)");
  EXPECT_EQ(row(table, 0), " 1          1  12.5   36.00");
  EXPECT_EQ(row(table, 1), " 2         -7     3  102.25");
}

TEST_F(WriteDbfFile, NamesAreCutAtTheFirstDotOfTheFileNameOnly) {
  std::filesystem::create_directories(input("quads.v2"));
  g_run_dir = input("out.2024");
  std::filesystem::create_directories(g_run_dir);
  Iso8211Builder b = attribute_module("ELEVATION", "(I)");
  add_record(b, "AHPR", 1, {"5"});
  b.write(input("quads.v2/1234ahpr.ddf"));

  ASSERT_EQ(SDTS_Write_DBF_File(input("quads.v2/1234AHPR.DDF").c_str()), 0)
      << "the module is found in any letter case";
  EXPECT_TRUE(std::filesystem::exists(input("out.2024/1234AHPR.dbf")));
  EXPECT_TRUE(std::filesystem::exists(input("out.2024/1234AHPR(Name).dbf")));
}

TEST_F(WriteDbfFile, MissingModuleWritesNothing) {
  EXPECT_EQ(SDTS_Write_DBF_File(input("1234AHPR.DDF").c_str()), 1);
  EXPECT_TRUE(std::filesystem::is_empty(g_run_dir));
}

}  // namespace
