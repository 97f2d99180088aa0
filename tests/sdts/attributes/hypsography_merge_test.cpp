#include "sdts/driver/hypsography_merge.h"

#include <filesystem>

#include "formats/dbase_file.h"
#include "platform/message_sink.h"
#include "tests/sdts/attributes/attr_test_run.h"

using namespace corvane::sdts;

namespace {

class HypsographyMerge : public AttrTestRun {
 protected:
  HypsographyMerge() { corvane::install_message_sink(&m_messages); }
  ~HypsographyMerge() override { corvane::install_message_sink(nullptr); }

  // A shape table: the line's record number and its length.
  void shape_table(const std::string& name, const std::vector<int>& keys) {
    write_table(name, {{"LE01_ID", 'N', 6, 0}, {"LENGTH", 'N', 4, 0}}, keys, [](int key) {
      char row[16];
      std::snprintf(row, sizeof row, " %6d%4d", key, key * 100);
      return std::string(row);
    });
  }
  // A join table: object id, attribute record number, elevation.
  void join_table(const std::string& name, const std::vector<int>& keys) {
    write_table(name, {{"LE01_id", 'N', 10, 0}, {"AHPR_RCID", 'N', 6, 0}, {"ELEVATION", 'N', 8, 2}},
                keys, [](int key) {
                  char row[32];
                  std::snprintf(row, sizeof row, " %10d%6d%8.2f", key, key + 50, key * 1.5);
                  return std::string(row);
                });
  }

  corvane::RecordingMessageSink m_messages;

 private:
  template <typename MakeRow>
  void write_table(const std::string& name, const std::vector<corvane::formats::DBaseField>& fields,
                   const std::vector<int>& keys, MakeRow make_row) {
    corvane::formats::DBaseFile file;
    file.set_file_name(output(name));
    ASSERT_EQ(file.open_for_write(), 0);
    file.add_fields(fields);
    ASSERT_EQ(file.write_db_header(), 0);
    for (int key : keys) {
      file.set_record(make_row(key));
      file.write_record();
    }
    file.close();
  }
};

TEST_F(HypsographyMerge, MissingKeysAndExtraShapeRowsGetBlanks) {
  shape_table("HYPSOGRAPHY_LE01_.dbf", {1, 2, 3, 4, 5});
  join_table("LE01_1234AHPR.dbf", {1, 3, 4});
  ASSERT_EQ(Merge_Hypsography_Tables(g_run_dir), 0);

  const corvane::test::DbfTable g = table("HYPSOGRAPHY_LE01_.dbf");
  EXPECT_EQ(g.fields, (std::vector<std::string>{"LE01_ID N(6)", "LENGTH N(4)", "AHPR_RCID N(6)",
                                                "ELEVATION N(8.2)"}));
  const std::string blanks(14, ' ');
  EXPECT_EQ(g.rows,
            (std::vector<std::string>{"      1 100    51    1.50", "      2 200" + blanks,
                                      "      3 300    53    4.50", "      4 400    54    6.00",
                                      "      5 500" + blanks}));
  EXPECT_EQ(g.tail, "\x1a");
}

TEST_F(HypsographyMerge, AhprWinsOverAhptAndAttributeTablesAreNeverMerged) {
  shape_table("HYPSOGRAPHY_LE01_.dbf", {1});
  shape_table("HYPSOGRAPHY_NE01_.dbf", {1});
  join_table("LE01_1234AHPR.dbf", {1});
  join_table("NE01_1234AHPT.dbf", {1});
  join_table("1234AHPR.dbf", {1});
  const std::string before = corvane::test::read_file(output("HYPSOGRAPHY_NE01_.dbf"));
  ASSERT_EQ(Merge_Hypsography_Tables(g_run_dir), 0);
  EXPECT_EQ(table("HYPSOGRAPHY_LE01_.dbf").fields.size(), 4u);
  EXPECT_EQ(corvane::test::read_file(output("HYPSOGRAPHY_NE01_.dbf")), before);

  std::filesystem::remove(output("LE01_1234AHPR.dbf"));
  std::filesystem::remove(output("1234AHPR.dbf"));
  ASSERT_EQ(Merge_Hypsography_Tables(g_run_dir), 0);
  EXPECT_EQ(table("HYPSOGRAPHY_NE01_.dbf").rows.at(0), "      1 100    51    1.50");
}

TEST_F(HypsographyMerge, TablesArePairedInAnyLetterCase) {
  shape_table("Hypsography_LE01_.dbf", {2});
  join_table("le01_tr01ahpr.dbf", {2});
  ASSERT_EQ(Merge_Hypsography_Tables(g_run_dir), 0);
  EXPECT_EQ(table("Hypsography_LE01_.dbf").rows.at(0), "      2 200    52    3.00");
}

TEST_F(HypsographyMerge, DamagedTableIsSkippedWithMessage) {
  shape_table("HYPSOGRAPHY_LE01_.dbf", {1, 2});
  join_table("LE01_1234AHPR.dbf", {1, 2});
  const std::string before = corvane::test::read_file(output("HYPSOGRAPHY_LE01_.dbf"));
  std::filesystem::resize_file(output("LE01_1234AHPR.dbf"), 160);  // inside the second row

  EXPECT_EQ(Merge_Hypsography_Tables(g_run_dir), 1);
  EXPECT_EQ(corvane::test::read_file(output("HYPSOGRAPHY_LE01_.dbf")), before);
  EXPECT_EQ(m_messages.messages, std::vector<std::string>{"cannot reader db header"});
  EXPECT_EQ(Merge_Hypsography_Tables(input("no such directory")), 1);
}

}  // namespace
