// The staged attribute records the second pass of a table writes its rows from.
#include "sdts/attributes/record_staging.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "platform/paths.h"
#include "sdts/run/run_state.h"
#include "sdts/run/work_files.h"

using namespace corvane::sdts;

namespace {

// Sizes that keep a staging file in memory and that send it to the work directory.
constexpr std::int64_t kSmall = 1000;
constexpr std::int64_t kLarge = WorkFiles::kMemoryBudget + 1;

AttrRecord record_of(bool has_rcid, const std::string& rcid,
                     const std::vector<std::string>& texts) {
  AttrRecord record;
  record.has_rcid = has_rcid;
  record.rcid.text = rcid;
  for (const std::string& text : texts) record.values.push_back({"LABEL", "A", text});
  return record;
}

std::vector<std::string> texts_of(const AttrRecord& record) {
  std::vector<std::string> texts;
  for (const AttrSubfield& value : record.values) texts.push_back(value.text);
  return texts;
}

// Records come back as they went in, with the texts of values beyond the table's columns
// left out but their count kept (it flags the record and is traced).
TEST(AttrRecordStaging, RecordsComeBackWithTheTextsTheRowsNeed) {
  AttrRecordStaging staging("staging-test.rows", kSmall);
  ASSERT_TRUE(staging.is_open());
  ASSERT_TRUE(staging.put(record_of(true, "17", {"ROAD", "", "  12.50"}), 3));
  ASSERT_TRUE(staging.put(record_of(false, "", {}), 3));
  ASSERT_TRUE(staging.put(record_of(true, "19", {"A", "B", "C", "D", "E"}), 3));
  ASSERT_TRUE(staging.rewind());

  AttrRecord record = record_of(true, "99", {"stale", "stale", "stale", "stale", "stale", "stale"});
  ASSERT_TRUE(staging.get(record));
  EXPECT_TRUE(record.has_rcid);
  EXPECT_EQ(record.rcid.text, "17");
  EXPECT_EQ(texts_of(record), (std::vector<std::string>{"ROAD", "", "  12.50"}));
  ASSERT_TRUE(staging.get(record));
  EXPECT_FALSE(record.has_rcid);
  EXPECT_EQ(record.rcid.text, "");
  EXPECT_TRUE(record.values.empty());
  ASSERT_TRUE(staging.get(record));
  EXPECT_EQ(record.rcid.text, "19");
  EXPECT_EQ(texts_of(record), (std::vector<std::string>{"A", "B", "C", "", ""}));
  EXPECT_FALSE(staging.get(record));
}

// A staged record whose sizes do not add up is refused, not followed.
TEST(AttrRecordStaging, DamagedSizesEndTheRecords) {
  const std::string path = corvane::paths::join(SDTS_Work_Files().directory(), "damaged-test.rows");
  const auto damage = [&](long offset, std::uint8_t byte) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset);
    file.put(static_cast<char>(byte));
  };
  AttrRecord record;
  for (const auto& [offset, byte] :
       {std::pair{3L, std::uint8_t{0x7F}},      // record size far too large
        std::pair{0L, std::uint8_t{0x02}},      // record size too small
        std::pair{12L, std::uint8_t{0x01}},     // rcid flag without its text
        std::pair{16L, std::uint8_t{0x7F}}}) {  // a text longer than its record
    AttrRecordStaging staging("damaged-test.rows", kLarge);
    ASSERT_TRUE(staging.put(record_of(false, "", {"ROAD"}), 1));
    ASSERT_TRUE(staging.rewind());
    damage(offset, byte);
    EXPECT_FALSE(staging.get(record)) << offset;
  }
}

TEST(AttrRecordStaging, TheFileIsGoneWithTheStaging) {
  const std::string path = corvane::paths::join(SDTS_Work_Files().directory(), "gone-test.rows");
  for (const std::int64_t size : {kSmall, kLarge}) {
    {
      AttrRecordStaging staging("gone-test.rows", size);
      ASSERT_TRUE(staging.put(record_of(true, "1", {"X"}), 1));
      EXPECT_EQ(std::filesystem::exists(path), size == kLarge);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(SDTS_Work_Files().open("gone-test.rows"), -1);
  }
}

}  // namespace
