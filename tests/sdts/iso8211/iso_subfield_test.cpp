// Subfields as the module readers see them: values, statuses, labels and formats.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "platform/byte_order.h"
#include "tests/sdts/iso8211/iso_test_support.h"
#include "tests/support/shared_data.h"

using namespace corvane::iso_fixture;
using namespace corvane::iso8211;
using iso_test::bytes_of;
using iso_test::read_all;

namespace {

Iso8211Builder catalog_builder() {
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("CATD", "1600;&", "CATALOG/DIRECTORY", "MODN!RCID!NAME!TYPE!FILE", "(A,I,3A)");
  return b;
}

Field catd(const char* rcid, const char* name) { return {"CATD", {"CATD", rcid, name, "Module", "X.DDF"}}; }

}  // namespace

TEST(IsoSubfields, StatusesMarkRecordsAndFields) {
  iso_test::Files files;
  auto b = catalog_builder();
  b.record({{"0001", {"1"}}, catd("1", "IDEN")});
  b.record({{"0001", {"2"}}, catd("2", "STAT")});
  const auto r = read_all(files.write("catd.ddf", b.bytes()));
  ASSERT_TRUE(r.ddr_read);
  EXPECT_EQ(r.ddr_status, ISO_STATUS_END_OF_RECORD);
  ASSERT_FALSE(r.failed);
  EXPECT_EQ(r.statuses(), (std::vector<int>{2, 6, 1, 1, 1, 3, 2, 6, 1, 1, 1, 4}));
  EXPECT_EQ(r.subfields[0].tag, "0001");
  EXPECT_EQ(r.subfields[0].value, "1");
  EXPECT_EQ(r.subfields[0].label, "");
  EXPECT_EQ(r.subfields[0].format, "");
  EXPECT_EQ(r.subfields[3].label, "NAME");
  EXPECT_EQ(r.subfields[3].format, "A");
  EXPECT_EQ(r.subfields[9].value, "STAT");
}

TEST(IsoSubfields, OneSubfieldRecordEndsTheRecordOrTheFile) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER");
  b.record({{"0001", {"1"}}}).record({{"0001", {"2"}}});
  const auto r = read_all(files.write("one.ddf", b.bytes()));
  EXPECT_EQ(r.statuses(), (std::vector<int>{3, 4}));
}

TEST(IsoSubfields, FileEndingAfterItsDdrGivesEndOfFile) {
  iso_test::Files files;
  const auto r = read_all(files.write("empty.ddf", catalog_builder().bytes()));
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
  const auto r = read_all(files.write("fixed.ddf", b.bytes()));
  ASSERT_EQ(r.subfields.size(), 6u);
  EXPECT_EQ(r.subfields[2].value, "12345");
  EXPECT_EQ(r.subfields[2].format, "I(6)");
  EXPECT_EQ(r.subfields[2].status, ISO_STATUS_END_OF_RECORD);
  EXPECT_EQ(r.subfields[5].value, "123456");
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.final_status, ISO_STATUS_FAILED);
}

TEST(IsoSubfields, EmptyDelimitedValuesStayInPlace) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("DDSH", "1600;&", "SCHEMA", "NAME!UNIT!MXLN!KEY", "(4A)")
      .field("LIST", "1600;&", "LIST", "X", "(A(,))");
  // "72^_^^": the last value is empty, not missing.
  b.record({{"0001", {"1"}}, {"DDSH", {"", "D", "72", ""}}, {"LIST", {delimited("a", ','), "b"}}});
  const auto r = read_all(files.write("empty-values.ddf", b.bytes()));
  ASSERT_FALSE(r.failed);
  ASSERT_EQ(r.subfields.size(), 7u);
  EXPECT_EQ(r.subfields[1].value, "");
  EXPECT_EQ(r.subfields[1].status, ISO_STATUS_START_OF_FIELD);
  EXPECT_EQ(r.subfields[4].label, "KEY");
  EXPECT_EQ(r.subfields[4].value, "");
  EXPECT_EQ(r.subfields[4].status, ISO_STATUS_END_OF_FIELD);
  EXPECT_EQ(r.subfields[5].value, "a");
  EXPECT_EQ(r.subfields[5].format, "A(,)");
  EXPECT_EQ(r.subfields[6].value, "b");
}

TEST(IsoSubfields, RepeatingBinaryCoordinates) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER").field("SADR", "1600;&", "SPATIAL ADDRESS", "X!Y", "(2B(32))");
  b.record({{"0001", {"1"}}, {"SADR", {raw(bytes_of({0, 0, 1, 0})), be32(-5), be32(7), be32(0x1E1E1E1E)}}});
  const auto r = read_all(files.write("sadr.ddf", b.bytes()));
  ASSERT_FALSE(r.failed);
  ASSERT_EQ(r.subfields.size(), 5u);
  const char* labels[] = {"X", "Y", "X", "Y"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(r.subfields[1 + i].value.size(), 4u);
    EXPECT_EQ(r.subfields[1 + i].format, "B(32)");
    EXPECT_EQ(r.subfields[1 + i].label, labels[i]);
  }
  int flag = 1;
  std::int32_t v = 0;
  ASSERT_EQ(ISO_Byte_Order(&flag), 1);
  ISO_Bytes_To_Int(r.subfields[1].value.data(), &v, flag == 0);
  EXPECT_EQ(v, 256);
  ISO_Bytes_To_Int(r.subfields[2].value.data(), &v, flag == 0);
  EXPECT_EQ(v, -5);
  ISO_Bytes_To_Int(r.subfields[4].value.data(), &v, flag == 0);
  EXPECT_EQ(v, 0x1E1E1E1E);
  ISO_Bytes_To_Int(bytes_of({0, 1, 0, 0}).data(), &v, 0);
  EXPECT_EQ(v, 256);
}

TEST(IsoSubfields, BitPackedBinaryValuesShareBytes) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER").field("BITS", "1600;&", "BITS", "HI!LO!MID!NEXT", "(2B(4),B(4),B(12))");
  b.record({{"0001", {"1"}}, {"BITS", {raw(bytes_of({0xAB, 0xCD, 0xEF}))}}});
  const auto r = read_all(files.write("bits.ddf", b.bytes()));
  ASSERT_FALSE(r.failed);
  ASSERT_EQ(r.subfields.size(), 5u);
  EXPECT_EQ(r.subfields[1].value, bytes_of({0xA0}));
  EXPECT_EQ(r.subfields[2].value, bytes_of({0xB0}));
  EXPECT_EQ(r.subfields[3].value, bytes_of({0xC0}));
  EXPECT_EQ(r.subfields[4].value, bytes_of({0xDE, 0xF0}));
  EXPECT_EQ(r.subfields[4].format, "B(12)");
  EXPECT_EQ(r.subfields[4].label, "NEXT");
}

TEST(IsoSubfields, LabelsStartingWithAStarAlternate) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER").field("SADR", "1600;&", "SPATIAL ADDRESS", "*X!Y", "(R,R)");
  b.record({{"0001", {"1"}}, {"SADR", {"1.5", "2.5", "3.5", "4.5"}}});
  const auto r = read_all(files.write("star.ddf", b.bytes()));
  ASSERT_EQ(r.subfields.size(), 5u);
  EXPECT_EQ(r.subfields[1].label, "!X");
  EXPECT_EQ(r.subfields[2].label, "!Y");
  EXPECT_EQ(r.subfields[3].label, "!X");
  EXPECT_EQ(r.subfields[4].label, "!Y");
  EXPECT_EQ(r.subfields[4].value, "4.5");
}

TEST(IsoSubfields, FormatWalkRepeatsTheLastGroup) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("AAAA", "1600;&", "GROUPED", "", "(A,2(I,R),S)")
      .field("BBBB", "1600;&", "FLAT", "", "(A,(I,R))");
  b.record({{"0001", {"1"}},
            {"AAAA", {"a", "1", "2", "3", "4", "s", "5", "6", "7"}},
            {"BBBB", {"a", "1", "2", "b", "3"}}});
  const auto r = read_all(files.write("walk.ddf", b.bytes()));
  ASSERT_FALSE(r.failed);
  std::string formats;
  for (const auto& s : r.subfields) formats += s.format + " ";
  EXPECT_EQ(formats, " A I R I R S I R I A I R A I ");
}

TEST(IsoSubfields, RecordOfFortyThousandBytesIsReadWhole) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER").field("TEXT", "1600;&", "TEXT", "T", "(A)");
  const std::string long_value(9000, 'x');
  std::vector<Value> values(4, Value(long_value));
  values.push_back(std::string(3900, 'y'));
  b.record({{"0001", {"1"}}, {"TEXT", values}});
  b.record({{"0001", {"2"}}, {"TEXT", {"end"}}});
  const auto bytes = b.bytes();
  ASSERT_GT(bytes.size(), 40000u);
  const auto r = read_all(files.write("long.ddf", bytes));
  ASSERT_FALSE(r.failed);
  ASSERT_EQ(r.subfields.size(), 8u);
  EXPECT_EQ(r.subfields[4].value, long_value);
  EXPECT_EQ(r.subfields[5].value.size(), 3900u);
  EXPECT_EQ(r.subfields[7].value, "end");
  EXPECT_EQ(r.final_status, ISO_STATUS_END_OF_FILE);
}

TEST(IsoSubfields, ValueLongerThanTheCallersBufferIsRefused) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER").field("TEXT", "1600;&", "TEXT", "T", "(A)");
  b.record({{"0001", {"1"}}, {"TEXT", {std::string(10004, 'x')}}});
  const auto r = read_all(files.write("too-long.ddf", b.bytes()));
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.final_status, ISO_STATUS_FAILED);
  ASSERT_EQ(r.subfields.size(), 1u);
}

TEST(IsoSubfields, DimensionsReadFromTheData) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER").field("GRID", "2600;&", "GRID", "", "(I)");
  b.record({{"0001", {"1"}}, {"GRID", {"2", "2", "1", "10", "20"}}});
  const auto r = read_all(files.write("grid.ddf", b.bytes()));
  ASSERT_FALSE(r.failed);
  ASSERT_EQ(r.subfields.size(), 6u);
  EXPECT_EQ(r.subfields[1].value, "2");
  EXPECT_EQ(r.subfields[1].label, "NUMBER OF DIMENSIONS");
  EXPECT_EQ(r.subfields[1].status, ISO_STATUS_START_OF_FIELD);
  EXPECT_EQ(r.subfields[2].label, "DIMENSION LENGTH");
  EXPECT_EQ(r.subfields[3].format, "I");
  EXPECT_EQ(r.subfields[4].value, "10");
  EXPECT_EQ(r.subfields[4].status, ISO_STATUS_OK);
  EXPECT_EQ(r.subfields[5].status, ISO_STATUS_END_OF_FILE);
}

namespace {

void expect_same_subfields(const iso_test::ReadResult& single, const iso_test::ReadResult& runs,
                           const std::string& what) {
  ASSERT_EQ(single.failed, runs.failed) << what;
  ASSERT_EQ(single.subfields.size(), runs.subfields.size()) << what;
  for (std::size_t i = 0; i < single.subfields.size(); ++i) {
    const auto& a = single.subfields[i];
    const auto& b = runs.subfields[i];
    ASSERT_EQ(std::tie(a.tag, a.label, a.format, a.value, a.status),
              std::tie(b.tag, b.label, b.format, b.value, b.status))
        << what << ", subfield " << i;
  }
}

}  // namespace

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
  for (int run : {1, 2, 3, 1000}) {
    expect_same_subfields(single, read_all(path, 1000000, run), "run " + std::to_string(run));
  }

  // A damaged label with a zero byte reads as its text up to that byte, both ways.
  Iso8211Builder z;
  z.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("SADR", "1600;&", "SPATIAL ADDRESS", std::string("X\0junk!Y", 8), "(2B(32))");
  z.record({{"0001", {"1"}}, {"SADR", {be32(1), be32(2), be32(3), be32(4)}}});
  const std::string zero_path = files.write("zero.ddf", z.bytes());
  const auto zero_single = read_all(zero_path);
  ASSERT_FALSE(zero_single.failed);
  EXPECT_EQ(zero_single.subfields[1].label, "X");
  expect_same_subfields(zero_single, read_all(zero_path, 1000000, 3), "a label with a zero byte");

  // A value too long for the caller stops the run; the single read after it refuses it.
  Iso8211Builder c;
  c.field("0001", "0100;&", "DDF RECORD IDENTIFIER").field("TEXT", "1600;&", "TEXT", "A!B!C", "(A,A,A)");
  c.record({{"0001", {"1"}}, {"TEXT", {"x", "y", std::string(10005, 'z')}}});
  const std::string long_path = files.write("long.ddf", c.bytes());
  const auto refused = read_all(long_path);
  EXPECT_TRUE(refused.failed);
  expect_same_subfields(refused, read_all(long_path, 1000000, 5), "a value too long");
}

TEST(IsoSubfields, RunsOfValuesTellWhatSingleReadsTellInRealModules) {
  CORVANE_REQUIRE_SHARED_DATA();
  int files_read = 0;
  for (const auto& transfer : std::filesystem::directory_iterator(corvane::test::shared_data_dir() + "/sdts")) {
    for (const auto& module : std::filesystem::directory_iterator(transfer.path())) {
      if (module.path().extension() != ".DDF") continue;
      const auto single = read_all(module.path());
      expect_same_subfields(single, read_all(module.path(), 1000000, 64), module.path());
      ++files_read;
    }
  }
  EXPECT_GT(files_read, 100);
}
