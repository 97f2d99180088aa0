// Subfields as the module readers see them: values, statuses, labels and formats, read one by
// one and in runs alike.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/sdts/iso8211/iso_test_support.h"
#include "tests/support/shared_data.h"

using namespace corvane::iso_fixture;
using namespace corvane::iso8211;
using iso_test::bytes_of;
using iso_test::read_all;

namespace {

// A file of "0001" and one more field TEST, one record per entry of `records`, read whole;
// runs of every length must read as single calls do, and leaders whose record length is 0
// (worked out from the directory) as leaders that give it.
iso_test::ReadResult one_field(const std::string& controls, const std::string& labels,
                               const std::string& formats,
                               const std::vector<std::vector<Value>>& records) {
  iso_test::Files files;
  std::string paths[2];
  for (const bool zero_length : {false, true}) {
    Iso8211Builder b(DdrOptions{.zero_record_length = zero_length});
    b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
        .field("TEST", controls, "TEST", labels, formats);
    for (std::size_t i = 0; i < records.size(); ++i)
      b.record({{"0001", {std::to_string(i + 1)}}, {"TEST", records[i]}});
    paths[zero_length] = files.write(zero_length ? "zero.ddf" : "test.ddf", b.bytes());
  }
  const iso_test::ReadResult single = read_all(paths[0]);
  for (int run : {1, 3, 1000})
    iso_test::expect_same_subfields(single, read_all(paths[0], 1000000, run),
                                    "run " + std::to_string(run));
  iso_test::expect_same_subfields(single, read_all(paths[1]), "record length 0");
  return single;
}

std::string column(const iso_test::ReadResult& r, std::string iso_test::Subfield::*member) {
  std::string out;
  for (const auto& s : r.subfields) out += s.*member + "|";
  return out;
}

// The value columns of one-record files: what each reads as, and how its field ends.
TEST(IsoSubfields, ValueKinds) {
  struct Case {
    const char* what;
    std::string controls, labels, formats;
    std::vector<Value> values;
    std::string labels_read, formats_read, values_read;
  };
  const std::string h = "\x1e";
  const Case cases[] = {
      // "72^_^^": the last value is empty, not missing; "A(,)" ends at its comma.
      {"empty delimited values",
       "1600;&",
       "NAME!UNIT!MXLN!KEY",
       "(4A)",
       {"", "D", "72", ""},
       "|NAME|UNIT|MXLN|KEY|",
       "|A|A|A|A|",
       "1||D|72||"},
      {"comma-ended text",
       "1600;&",
       "X",
       "(A(,))",
       {delimited("a", ','), "b"},
       "|X|X|",
       "|A(,)|A(,)|",
       "1|a|b|"},
      {"repeating binary coordinates, 0x1E inside",
       "1600;&",
       "X!Y",
       "(2B(32))",
       {raw(bytes_of({0, 0, 1, 0})), be32(-5), be32(7), be32(0x1E1E1E1E)},
       "|X|Y|X|Y|",
       "|B(32)|B(32)|B(32)|B(32)|",
       "1|" + bytes_of({0, 0, 1, 0}) + "|" + bytes_of({0xFF, 0xFF, 0xFF, 0xFB}) + "|" +
           bytes_of({0, 0, 0, 7}) + "|" + h + h + h + h + "|"},
      {"bit-packed binary values share bytes",
       "1600;&",
       "HI!LO!MID!NEXT",
       "(2B(4),B(4),B(12))",
       {raw(bytes_of({0xAB, 0xCD, 0xEF}))},
       "|HI|LO|MID|NEXT|",
       "|B(4)|B(4)|B(4)|B(12)|",
       "1|" + bytes_of({0xA0}) + "|" + bytes_of({0xB0}) + "|" + bytes_of({0xC0}) + "|" +
           bytes_of({0xDE, 0xF0}) + "|"},
      {"labels starting with a star alternate",
       "1600;&",
       "*X!Y",
       "(R,R)",
       {"1.5", "2.5", "3.5", "4.5"},
       "|!X|!Y|!X|!Y|",
       "|R|R|R|R|",
       "1|1.5|2.5|3.5|4.5|"},
      {"the format walk repeats the last group",
       "1600;&",
       "",
       "(A,2(I,R),S)",
       {"a", "1", "2", "3", "4", "s", "5", "6", "7"},
       "||||||||||",
       "|A|I|R|I|R|S|I|R|I|",
       "1|a|1|2|3|4|s|5|6|7|"},
      {"a flat group repeats whole",
       "1600;&",
       "",
       "(A,(I,R))",
       {"a", "1", "2", "b", "3"},
       "||||||",
       "|A|I|R|A|I|",
       "1|a|1|2|b|3|"},
      {"dimensions read from the data",
       "2600;&",
       "",
       "(I)",
       {"2", "2", "1", "10", "20"},
       "|NUMBER OF DIMENSIONS|DIMENSION LENGTH|DIMENSION LENGTH|||",
       "|I|I|I|I|I|",
       "1|2|2|1|10|20|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto r = one_field(c.controls, c.labels, c.formats, {c.values});
    ASSERT_FALSE(r.failed);
    EXPECT_EQ(column(r, &iso_test::Subfield::label), c.labels_read);
    EXPECT_EQ(column(r, &iso_test::Subfield::format), c.formats_read);
    EXPECT_EQ(column(r, &iso_test::Subfield::value), c.values_read);
    std::vector<int> statuses(r.subfields.size(), ISO_STATUS_OK);
    statuses[0] = ISO_STATUS_START_OF_RECORD;
    statuses[1] = ISO_STATUS_START_OF_FIELD;
    statuses.back() = ISO_STATUS_END_OF_FILE;
    EXPECT_EQ(r.statuses(), statuses);
  }
}

TEST(IsoSubfields, FileEndingAfterItsDdrGivesEndOfFile) {
  const auto r = one_field("1600;&", "T", "(A)", {});
  ASSERT_TRUE(r.ddr_read);
  EXPECT_EQ(r.ddr_status, ISO_STATUS_END_OF_FILE);
  EXPECT_TRUE(r.subfields.empty());
}

TEST(IsoSubfields, FixedWidthValueCutByTheFieldTerminator) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER", "", "(I(6))")
      .field("ATTP", "1600;&", "ATTRIBUTES", "MODN!COUNT", "(A(4),I(6))");
  b.record({{"0001", {fixed("     1")}}, {"ATTP", {fixed("ABCD"), fixed("12345")}}});
  b.record({{"0001", {fixed("     2")}}, {"ATTP", {fixed("WXYZ"), fixed("123456")}}});
  // A field terminator inside a fixed-width value (not in its last place) damages the field.
  b.record({{"0001", {fixed("     3")}}, {"ATTP", {fixed("AB")}}});
  b.record({{"0001", {fixed("     4")}}, {"ATTP", {fixed("ABCD"), fixed("123456")}}});
  const std::string path = files.write("fixed.ddf", b.bytes());
  const auto r = read_all(path);
  iso_test::expect_same_subfields(r, read_all(path, 1000000, 2), "runs");
  ASSERT_EQ(r.subfields.size(), 6u);
  EXPECT_EQ(r.subfields[2].value, "12345");
  EXPECT_EQ(r.subfields[2].format, "I(6)");
  EXPECT_EQ(r.subfields[2].status, ISO_STATUS_END_OF_RECORD);
  EXPECT_EQ(r.subfields[5].value, "123456");
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.final_status, ISO_STATUS_FAILED);
}

TEST(IsoSubfields, RecordOfFortyThousandBytesIsReadWholeAndATooLongValueRefused) {
  std::vector<Value> values(4, Value(std::string(9000, 'x')));
  values.push_back(std::string(3900, 'y'));
  const auto r = one_field("1600;&", "T", "(A)", {values, {"end"}});
  ASSERT_FALSE(r.failed);
  ASSERT_EQ(r.subfields.size(), 8u);
  EXPECT_EQ(r.subfields[4].value, std::string(9000, 'x'));
  EXPECT_EQ(r.subfields[5].value.size(), 3900u);
  EXPECT_EQ(r.subfields[7].value, "end");
  EXPECT_EQ(r.final_status, ISO_STATUS_END_OF_FILE);

  // A value too long for the caller stops a run; the single read after it refuses it.
  const auto refused =
      one_field("1600;&", "A!B!C", "(A,A,A)", {{"x", "y", std::string(10005, 'z')}});
  EXPECT_TRUE(refused.failed);
  EXPECT_EQ(refused.final_status, ISO_STATUS_FAILED);
  EXPECT_EQ(refused.subfields.size(), 3u);
}

TEST(IsoSubfields, RunsOfValuesTellWhatSingleReadsTell) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("SADR", "1600;&", "SPATIAL ADDRESS", "X!Y", "(2B(32))")
      .field("STAR", "1600;&", "STARRED", "*X!Y", "(R,R)")
      .field("AAAA", "1600;&", "GROUPED", "", "(A,2(I,R),S)")
      .field("GRID", "2600;&", "GRID", "", "(I)");
  b.record({{"0001", {"1"}},
            {"SADR", {be32(1), be32(2), be32(3), be32(4), be32(5), be32(6)}},
            {"STAR", {"1.5", "", "3.5", "4.5"}},
            {"AAAA", {"a", "1", "2", "3", "4", "s", "5"}}});
  b.record({{"0001", {"2"}}, {"SADR", {be32(7), be32(8)}}, {"GRID", {"2", "2", "1", "10", "20"}}});
  const std::string path = files.write("runs.ddf", b.bytes());
  const auto single = read_all(path);
  ASSERT_FALSE(single.failed);
  for (int run : {1, 2, 3, 1000})
    iso_test::expect_same_subfields(single, read_all(path, 1000000, run),
                                    "run " + std::to_string(run));

  // A damaged label with a zero byte reads as its text up to that byte, both ways.
  const auto zero = one_field("1600;&", std::string("X\0junk!Y", 8), "(2B(32))",
                              {{be32(1), be32(2), be32(3), be32(4)}});
  ASSERT_FALSE(zero.failed);
  EXPECT_EQ(zero.subfields[1].label, "X");
}

TEST(IsoSubfields, RunsOfValuesTellWhatSingleReadsTellInRealModules) {
  CORVANE_REQUIRE_SHARED_DATA();
  int files_read = 0;
  for (const auto& transfer :
       std::filesystem::directory_iterator(corvane::test::shared_data_dir() + "/sdts")) {
    for (const auto& module : std::filesystem::directory_iterator(transfer.path())) {
      if (module.path().extension() != ".DDF") continue;
      iso_test::expect_same_subfields(read_all(module.path()), read_all(module.path(), 1000000, 64),
                                      module.path());
      ++files_read;
    }
  }
  EXPECT_GT(files_read, 100);
}

}  // namespace
