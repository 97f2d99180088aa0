// Attribute modules written as tables: column names, types and widths from the values, the
// rows, the field-name table, and where the files go.
#include "sdts/attributes/write_dbf_file.h"

#include <filesystem>

#include "tests/sdts/attributes/attr_test_run.h"
#include "tools/iso8211_fixture/iso8211_fixture.h"

using namespace corvane::iso_fixture;
using namespace corvane::sdts;

using Strings = std::vector<std::string>;

namespace {

struct ModuleCase {
  const char* name;
  std::string labels, formats;
  std::vector<std::pair<int, std::vector<Value>>> records;  // record id, values (none: no ATTP)
  Strings fields, rows, names;  // the table's columns and rows, the field-name table's rows
};

void PrintTo(const ModuleCase& c, std::ostream* out) { *out << c.name; }

const ModuleCase kModules[] = {
    {"WorkedExample",
     "ENTITY_LABEL!ELEVATION",
     "(A,I)",
     {{1, {"HYPSO", "0200"}}},
     {"AHPR_RCID N(1)", "ENTITY_LAB C(5)", "ELEVATION N(4)"},
     {" 1HYPSO0200"},
     {" AHPR_RCID   AHPR_RCID ", " ENTITY_LABELENTITY_LAB", " ELEVATION   ELEVATION "}},
    // A record without values keeps its place (for the joins) but is no attribute record.
    {"RecordWithoutValues",
     "ELEVATION",
     "(I)",
     {{1, {"10"}}, {2, {}}, {3, {"30"}}},
     {"AHPR_RCID N(1)", "ELEVATION N(2)"},
     {" 110", "*2  ", " 330"},
     {}},
    {"VariableLengthPaddedToTheLongest",
     "ROUTE_NUMBER!LANES",
     "(A,I)",
     {{1, {"SR 4", "2"}}, {10, {"US 3 ALT", "12"}}, {100, {"", "1"}}},
     {"AHPR_RCID N(3)", "ROUTE_NUMB C(8)", "LANES N(2)"},
     {"   1SR 4     2", "  10US 3 ALT12", " 100         1"},
     {}},
    {"RepeatedLabelsAndLongNamesUnique",
     "ELEVATION!ELEVATION!SW_LATITUDE!SW_LATITUDE_2",
     "(I,I,A,A)",
     {{1, {"1", "2", "N", "S"}}},
     {"AHPR_RCID N(1)", "ELEVATION N(1)", "ELEVATION_ N(1)", "SW_LATITUD C(1)", "SW_LATIT_2 C(1)"},
     {" 112NS"},
     {" AHPR_RCID    AHPR_RCID ", " ELEVATION    ELEVATION ", " ELEVATION_2  ELEVATION_",
      " SW_LATITUDE  SW_LATITUD", " SW_LATITUDE_2SW_LATIT_2"}},
    // A binary column is wide enough for any 32-bit value.
    {"BinaryAndRealValuesAreNumbers",
     "COUNT!ANGLE!ELEVATION",
     "(B(32),R(6),R(8))",
     {{1, {be32(1), fixed("  12.5"), fixed("   36.00")}},
      {2, {be32(-7), fixed("     3"), fixed("  102.25")}}},
     {"AHPR_RCID N(1)", "COUNT N(11)", "ANGLE N(6.1)", "ELEVATION N(8.2)"},
     {" 1          1  12.5   36.00", " 2         -7     3  102.25"},
     {}},
    {"EmptyModule", "ELEVATION", "(I)", {}, {}, {}, {}},
};

void write_module(const std::string& path, const ModuleCase& c) {
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("ATPR", "1600;&", "ATTRIBUTE PRIMARY", "MODN!RCID", "(A,I)")
      .field("ATTP", "1600;&", "PRIMARY ATTRIBUTES", c.labels, c.formats);
  for (const auto& [rcid, values] : c.records) {
    std::vector<Field> fields = {{"0001", {std::to_string(rcid)}},
                                 {"ATPR", {"AHPR", std::to_string(rcid)}}};
    if (!values.empty()) fields.push_back({"ATTP", values});
    b.record(std::move(fields));
  }
  b.write(path);
}

class WriteDbfFile : public AttrTestRun, public ::testing::WithParamInterface<ModuleCase> {};
class WriteDbfFiles : public AttrTestRun {};

TEST_P(WriteDbfFile, ColumnsRowsAndFieldNames) {
  const ModuleCase& c = GetParam();
  write_module(input("1234AHPR.DDF"), c);
  ASSERT_EQ(SDTS_Write_DBF_File(input("1234AHPR.DDF").c_str()), 0);
  const corvane::test::DbfTable t = table("1234AHPR.dbf");
  EXPECT_EQ(t.fields, c.fields);
  EXPECT_EQ(t.rows, c.rows);
  EXPECT_EQ(t.records, c.rows.size());
  EXPECT_EQ(t.file_size, t.header_length + c.rows.size() * t.record_length) << "no end mark";
  const corvane::test::DbfTable names = table("1234AHPR(Name).dbf");
  EXPECT_EQ(names.records, c.fields.size());
  if (!c.names.empty()) {
    EXPECT_EQ(names.rows, c.names);
  }
  int with_values = 0;
  for (const auto& record : c.records) with_values += !record.second.empty();
  if (!c.records.empty()) {
    EXPECT_TRUE(logged("Wrote " + std::to_string(with_values) + " attribute records to file " +
                       output("1234AHPR.dbf") + "\n"));
  }
}

INSTANTIATE_TEST_SUITE_P(Modules, WriteDbfFile, ::testing::ValuesIn(kModules),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriteDbfFiles, FieldNameTableLayoutAndLog) {
  write_module(input("1234AHPR.DDF"), kModules[0]);
  ASSERT_EQ(SDTS_Write_DBF_File(input("1234AHPR.DDF").c_str()), 0);
  const corvane::test::DbfTable names = table("1234AHPR(Name).dbf");
  EXPECT_EQ(names.fields, (Strings{"Alias C(12)", "Field_Name C(10)"}));
  EXPECT_EQ(names.file_size, 32u * 2 + 33 + 3 * 23) << "no end mark";
  EXPECT_TRUE(logged("Wrote full names for fields in file " + output("1234AHPR") + " to dbf file " +
                     output("1234AHPR(Name).dbf")));
}

TEST_F(WriteDbfFiles, NamesAreCutAtTheFirstDotOfTheFileNameOnlyAndMissingModulesWriteNothing) {
  EXPECT_EQ(SDTS_Write_DBF_File(input("1234AHPR.DDF").c_str()), 1);
  EXPECT_TRUE(std::filesystem::is_empty(g_run_dir));

  std::filesystem::create_directories(input("quads.v2"));
  g_run_dir = input("out.2024");
  std::filesystem::create_directories(g_run_dir);
  write_module(input("quads.v2/1234ahpr.ddf"), kModules[1]);
  ASSERT_EQ(SDTS_Write_DBF_File(input("quads.v2/1234AHPR.DDF").c_str()), 0)
      << "found in any letter case";
  EXPECT_TRUE(std::filesystem::exists(input("out.2024/1234AHPR.dbf")));
  EXPECT_TRUE(std::filesystem::exists(input("out.2024/1234AHPR(Name).dbf")));
}

}  // namespace
