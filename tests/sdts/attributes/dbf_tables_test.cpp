// Join tables of object modules: one per attribute module referenced, blanks for records and
// tables that cannot be found. One row per reference in module order is judged on the real
// transfers against iso8211dump and GDAL (real_transfers_check.py).
#include "sdts/attributes/dbf_tables.h"

#include <filesystem>

#include "formats/dbase_file.h"
#include "sdts/attributes/written_tables.h"
#include "tests/sdts/attributes/attr_test_run.h"

using namespace corvane::sdts;

namespace {

class JoinTables : public AttrTestRun {
 protected:
  // An attribute table as the attribute writer leaves it: record number, then a value.
  void write_attribute_table(const std::string& name, const std::string& module, int records) {
    corvane::formats::DBaseFile table;
    table.set_file_name(output(name));
    ASSERT_EQ(table.open_for_write(), 0);
    table.add_field(module + "_RCID", 'N', 6, 0);
    table.add_field("ELEVATION", 'N', 8, 2);
    ASSERT_EQ(table.write_db_header(), 0);
    for (int i = 1; i <= records; ++i) {
      char text[32];
      std::snprintf(text, sizeof text, " %6d%8.2f", i, i * 10.5);
      table.set_record(text);
      table.write_record();
    }
    table.close();
  }

  // One object record's references, with the end-of-record sequence.
  static void record(SDTSDbfTables& tables, std::int32_t id,
                     const std::vector<std::pair<std::string, std::int32_t>>& refs) {
    for (const auto& [module, attr_id] : refs) tables.insert_attr_id(id, module, attr_id);
    tables.write_records();
    tables.dump();
    tables.clear_joins();
  }
};

TEST_F(JoinTables, NoReferencesNoTableAndEachObjectModuleItsOwn) {
  write_attribute_table("1234AHPR.dbf", "AHPR", 1);
  {
    SDTSDbfTables lines(g_run_dir, "1234");
    lines.set_name("LE01");
    record(lines, 1, {});
    lines.close_tables();
  }
  EXPECT_FALSE(std::filesystem::exists(output("LE01_1234AHPR.dbf")));
  for (const char* module : {"LE01", "NO01"}) {
    SDTSDbfTables tables(g_run_dir, "1234");
    tables.set_name(module);
    record(tables, 4, {{"AHPR", 1}});
    tables.close_tables();
  }
  EXPECT_EQ(table("LE01_1234AHPR.dbf").rows.at(0), "          4     1   10.50");
  EXPECT_EQ(table("NO01_1234AHPR.dbf").fields.at(0), "NO01_id N(10)");
}

TEST_F(JoinTables, UnknownRecordsAndMissingTablesGiveBlanks) {
  write_attribute_table("1234AHPR.dbf", "AHPR", 2);
  SDTSDbfTables tables(g_run_dir, "1234");
  tables.set_name("LE01");
  record(tables, 5, {{"AHPR", 3}, {"AHPR", 0}, {"AHPR", -1}, {"AXXX", 1}});
  tables.close_tables();

  EXPECT_EQ(table("LE01_1234AHPR.dbf").rows,
            std::vector<std::string>(3, "          5" + std::string(14, ' ')));
  const corvane::test::DbfTable missing = table("LE01_1234AXXX.dbf");
  EXPECT_EQ(missing.header_length, 65);
  EXPECT_EQ(missing.rows.at(0), "          5");
}

TEST_F(JoinTables, AttributeTableFoundInOtherCaseOrUnderOtherPrefix) {
  write_attribute_table("TR01AHPR.dbf", "AHPR", 1);
  write_attribute_table("XY99AHYF.dbf", "AHYF", 1);
  SDTS_Remember_Attribute_Table("AHYF", output("XY99AHYF.dbf"));
  SDTSDbfTables tables(g_run_dir, "tr01");
  tables.set_name("LE01");
  record(tables, 1, {{"AHPR", 1}, {"AHYF", 1}});
  tables.close_tables();
  EXPECT_EQ(table("LE01_tr01AHPR.dbf").rows.at(0), "          1     1   10.50");
  EXPECT_EQ(table("LE01_tr01AHYF.dbf").rows.at(0), "          1     1   10.50");
}

}  // namespace
