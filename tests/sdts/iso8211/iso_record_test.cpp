// Data records: directory checks and damaged files. Reused ("R") leaders, binary coordinates
// and the data dictionary modules come in every real transfer, pinned by the golden test.
#include <gtest/gtest.h>

#include <random>

#include "sdts/iso8211/iso_field_cutter.h"
#include "sdts/iso8211/iso_format_walk.h"
#include "tests/sdts/iso8211/iso_test_support.h"

using namespace corvane::iso_fixture;
using namespace corvane::iso8211;
using iso_test::bytes_of;
using iso_test::read_all;

namespace {

// Like the binary point modules: a reused leader and binary coordinates holding 0x1E.
Iso8211Builder point_module() {
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("PNTS", "1600;&", "POINT-NODE", "MODN!RCID!OBRP", "(A(4),I(6),A(2))")
      .field("SADR", "1600;&", "SPATIAL ADDRESS", "X!Y", "(2B(32))");
  for (int i = 1; i <= 4; ++i) {
    const std::string rcid = std::string(5, ' ') + std::to_string(i);
    b.record({{"0001", {fixed(rcid)}},
              {"PNTS", {fixed("NA01"), fixed(rcid), fixed("NA")}},
              {"SADR",
               {raw(bytes_of({0x01, 0xD2, 0x1E, 0x1E})), raw(bytes_of({0x1C, 0x0E, 0x37, 0x1E}))}}},
             i == 1 ? 'D' : 'R');
  }
  return b;
}

// Like the data dictionary modules of 2000/2001 transfers: the first record has an "R" leader,
// the following ones are shorter (and here the last one much longer).
Iso8211Builder dictionary_module() {
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("DDSH", "1600;&", "DATA DICTIONARY/SCHEMA", "MODN!RCID!NAME!TYPE!MXLN!KEY",
             "(A,I,2A,I,A)");
  b.record({{"0001", {"1"}},
            {"DDSH", {"DDSH", "1", "AHDR", "ATPR                      ", "72", "NOKEY"}}},
           'R');
  for (int i = 2; i <= 6; ++i)
    b.record({{"0001", {std::to_string(i)}},
              {"DDSH", {"DDSH", std::to_string(i), "", "HDR", "  ", ""}}});
  b.record({{"0001", {"7"}}, {"DDSH", {"DDSH", "7", std::string(9000, 'n'), "HDR", "1", "KEY"}}});
  return b;
}

}  // namespace

TEST(IsoRecords, LeaderIdentifierAndDirectoryChecks) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER").field("TEXT", "1600;&", "TEXT", "T", "(A)");
  b.record({{"0001", {"1"}}, {"TEXT", {"a"}}});
  const auto good = b.bytes();
  const std::size_t record = b.ddr_bytes().size();

  auto with = [&](std::size_t at, char c) {
    auto bytes = good;
    bytes[at] = static_cast<std::uint8_t>(c);
    return read_all(files.write("bad.ddf", bytes));
  };
  EXPECT_FALSE(with(record, '0').failed);
  EXPECT_TRUE(with(record + 6, 'X').failed);   // leader identifier
  EXPECT_TRUE(with(record + 23, '3').failed);  // tag size differs from the DDR's
  EXPECT_TRUE(with(record + 24, 'X').failed);  // first tag not "0001"

  Iso8211Builder order;
  order.field("0001", "0100;&", "DDF RECORD IDENTIFIER")
      .field("AAAA", "1600;&", "A", "T", "(A)")
      .field("BBBB", "1600;&", "B", "T", "(A)");
  order.record({{"0001", {"1"}}, {"AAAA", {"a"}}, {"AAAA", {"b"}}, {"BBBB", {"c"}}});
  order.record({{"0001", {"2"}}, {"BBBB", {"c"}}, {"AAAA", {"a"}}});
  const auto r = read_all(files.write("order.ddf", order.bytes()));
  EXPECT_EQ(r.records(), 1);
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.final_status, ISO_STATUS_FAILED);
}

TEST(IsoRecords, TruncatedRecordsFailAtTheEndOfTheFile) {
  iso_test::Files files;
  const auto good = point_module().bytes();
  const std::size_t ddr = point_module().ddr_bytes().size();
  for (std::size_t size = ddr + 1; size < good.size(); ++size) {
    const auto r = read_all(
        files.write("cut.ddf", std::vector<std::uint8_t>(good.begin(), good.begin() + size)));
    ASSERT_TRUE(r.ddr_read);
    if (r.failed) {
      EXPECT_EQ(r.final_status, ISO_STATUS_END_OF_FILE) << "size " << size;
    }
  }
}

TEST(IsoRecords, DamagedFilesNeverOverrun) {
  iso_test::Files files;
  std::mt19937 random(8211);
  for (const auto& good : {point_module().bytes(), dictionary_module().bytes()}) {
    for (int round = 0; round < 100; ++round) {
      auto bytes = good;
      for (int flips = 0; flips < 3; ++flips)
        bytes[random() % bytes.size()] =
            static_cast<std::uint8_t>("0923R D\x1e\x1f(*!9"[random() % 14]);
      const auto r = read_all(files.write("damaged.ddf", bytes), 1000);
      if (r.failed) {
        EXPECT_TRUE(r.final_status == 0 || r.final_status == 4);
      }
      EXPECT_LT(r.subfields.size(), 1000u);
    }
  }
}

TEST(IsoRecords, LengthsBeyondTheFileAreRefused) {
  iso_test::Files files;
  const std::string text = std::string("0100;&DDF RECORD IDENTIFIER") + kFieldTerminator;
  std::string ddr = make_record('L', 2, 6, {{"0001", text}});
  // The directory claims a field of 999,999,999 bytes.
  const std::string huge = make_record('L', 2, 6, {{"0001", std::string(100000, 'x')}});
  EXPECT_FALSE(read_all(files.write("huge.ddf", huge.substr(0, 200))).ddr_read);

  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER");
  b.record({{"0001", {std::string(20000, 'x')}}});
  auto bytes = b.bytes();
  const std::size_t record = b.ddr_bytes().size();
  for (std::size_t i = 0; i < 5; ++i) bytes[record + i] = '9';
  const auto r = read_all(files.write("long-record.ddf", bytes));
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.final_status, ISO_STATUS_END_OF_FILE);
}

namespace {

// Cuts `data` with `formats` through the shortcuts the laid-out formats allow and through the
// value-by-value walk alone; both must tell the same.
void expect_shortcut_cuts_as_the_walk(const char* formats, const std::string& data) {
  IsoFieldDescription d;
  d.field_controls = "1600;&";
  ASSERT_TRUE(Iso_Parse_Formats(formats, d.formats.emplace()));
  d.format_sequence = Iso_Lay_Out_Formats(*d.formats);
  IsoFieldDescription walked = d;
  walked.format_sequence = Iso_Lay_Out_Formats(*walked.formats);
  walked.format_sequence.only_whole_bytes = nullptr;
  walked.format_sequence.only_fixed_text = false;
  IsoValueStore fast_store, walk_store;
  IsoDataField fast, walk;
  std::size_t fast_used = 0, walk_used = 0;
  const auto fast_result = Iso_Cut_Field(d, data.data(), data.size(), IsoFieldExtent::known,
                                         fast_store, fast, fast_used);
  const auto walk_result = Iso_Cut_Field(walked, data.data(), data.size(), IsoFieldExtent::known,
                                         walk_store, walk, walk_used);
  std::string shown;
  for (char c : data) shown += c == '\x1E' ? std::string("^") : std::string(1, c);
  const std::string what = std::string(formats) + " on \"" + shown + "\"";
  ASSERT_EQ(fast_result, walk_result) << what;
  if (walk_result != IsoCutResult::cut) return;
  EXPECT_EQ(fast_used, walk_used) << what;
  ASSERT_EQ(fast.values.size(), walk.values.size()) << what;
  for (std::size_t k = 0; k < walk.values.size(); ++k) {
    EXPECT_EQ(fast.values[k].present, walk.values[k].present) << what;
    EXPECT_EQ(fast_store.bytes(fast.values[k]), walk_store.bytes(walk.values[k])) << what;
    EXPECT_EQ(fast.values[k].format->describe(), walk.values[k].format->describe()) << what;
  }
}

}  // namespace

TEST(IsoFieldCutter, ShortcutsCutAsValueByValue) {
  // Coordinates: every length from empty to a few values, ending in a terminator or in data.
  for (const char* formats : {"(2B(32))", "(B(8))", "((B(16)))"}) {
    for (std::size_t size = 0; size <= 13; ++size) {
      for (char last : {'\x1E', 'x'}) {
        std::string data(size, 'a');
        for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<char>('a' + i);
        if (size > 0) data.back() = last;
        expect_shortcut_cuts_as_the_walk(formats, data);
      }
    }
  }
  // Fixed-width text: random fields of letters and terminators.
  std::mt19937 random(8211);
  for (const char* formats :
       {"(A(4),I(6))", "(A(1),I(2))", "(3A(2))", "(A(4),2(I(1),R(2)))", "(I(1))"}) {
    for (int n = 0; n < 3000; ++n) {
      std::string data(random() % 16, 'a');
      for (char& c : data) c = "ab\x1E"[random() % (random() % 4 == 0 ? 3 : 2)];
      expect_shortcut_cuts_as_the_walk(formats, data);
    }
  }
}
