// The DDR: leader checks, control tags, field descriptions, labels and format controls.
#include <gtest/gtest.h>

#include <cstring>

#include "sdts/iso8211/iso_format_node.h"
#include "sdts/iso8211/iso_format_walk.h"
#include "sdts/iso8211/iso_labels.h"
#include "tests/sdts/iso8211/iso_test_support.h"

using namespace corvane::iso_fixture;
using namespace corvane::iso8211;
using iso_test::read_all;

namespace {

std::string walk(const char* formats, int count) {
  IsoFormatNode root;
  if (!Iso_Parse_Formats(formats, root)) return "invalid";
  const IsoFormatSequence sequence = Iso_Lay_Out_Formats(root);
  IsoFormatWalk tree(root);
  IsoFormatWalk laid_out(root, &sequence);
  std::string out;
  for (int i = 0; i < count; ++i) {
    const IsoFormatNode& node = tree.next();
    // The laid-out walk is only a faster way to the same nodes.
    EXPECT_EQ(&node, &laid_out.next()) << formats << " value " << i;
    out += node.describe() + " ";
  }
  return out;
}

std::string labels_text(const char* descriptor) {
  std::string out;
  for (const auto& group : Iso_Parse_Labels(descriptor).groups) {
    out += "[";
    for (const auto& label : group) out += label.text.value_or("-") + ";";
    out += "]";
  }
  return out;
}

std::string ddr_with_fields(int level, int field_control_length,
                            const std::vector<std::pair<std::string, std::string>>& fields) {
  return make_record('L', level, field_control_length, fields);
}

const std::string kRecordId = std::string("0100;&DDF RECORD IDENTIFIER") + kFieldTerminator;

}  // namespace

TEST(IsoFormats, GrammarAndWalk) {
  EXPECT_EQ(walk("(A(4),I(6))", 3), "A(4) I(6) A(4) ");
  EXPECT_EQ(walk("(2B(32))", 5), "B(32) B(32) B(32) B(32) B(32) ");
  EXPECT_EQ(walk("(A,3(I(1),R(2)))", 10), "A I(1) R(2) I(1) R(2) I(1) R(2) I(1) R(2) I(1) ");
  EXPECT_EQ(walk("(A,I,R)", 4), walk("(A,(I,R))", 4));
  EXPECT_EQ(walk("(A(,))", 1), "A(,) ");
  EXPECT_EQ(walk("(A,0I,S)", 3), "A S A ");
  EXPECT_EQ(walk("(A,2(I,2(R)),B)", 14), "A I R R I R R B I R R I R R ");
  EXPECT_EQ(walk("(A,2(I),B,2(R))", 9), "A I I B R R R R R ");
  EXPECT_EQ(walk("(I,5000(A,B))", 4), "I A B A ");
  EXPECT_TRUE(Iso_Lay_Out_Formats([] {
                IsoFormatNode root;
                Iso_Parse_Formats("(I,5000(A,B))", root);
                return root;
              }())
                  .empty());
  EXPECT_EQ(walk("A(4)", 1), "invalid");
  EXPECT_EQ(walk("(A(4)", 1), "invalid");
  EXPECT_EQ(walk("(A,)", 1), "invalid");
  EXPECT_EQ(walk("(0A)", 1), "invalid");
  EXPECT_EQ(walk("(999999999999A)", 1), "invalid");
  std::string deep = "(";
  for (int i = 0; i < 100; ++i) deep += "1(";
  deep += "A" + std::string(101, ')');
  EXPECT_EQ(walk(deep.c_str(), 1), "invalid");
}

TEST(IsoLabels, GroupsAndAbsentLabels) {
  EXPECT_EQ(labels_text("MODN!RCID!NAME"), "[MODN;RCID;NAME;]");
  EXPECT_EQ(labels_text("*X!Y"), "[-;][X;Y;]");
  EXPECT_EQ(labels_text("A!!B"), "[A;-;B;]");
}

TEST(IsoLabels, FirstGroupMovesFastestAndLongCyclesAreWorkedOutPerValue) {
  const IsoLabels two = Iso_Parse_Labels("A!B*C!D!E");
  const std::vector<std::string> expected = {"A!C", "B!C", "A!D", "B!D", "A!E", "B!E"};
  EXPECT_EQ(two.cycle, expected);
  EXPECT_EQ(Iso_Label_Text(two, 6), "A!C");
  EXPECT_EQ(Iso_Label_Text(Iso_Parse_Labels("*X!Y"), 3), "!Y");

  std::string many = "P!Q";
  for (int g = 0; g < 9; ++g) many += "*P!Q";  // 2^10 labels in a cycle: too many to keep
  const IsoLabels long_cycle = Iso_Parse_Labels(many);
  EXPECT_TRUE(long_cycle.cycle.empty());
  EXPECT_EQ(Iso_Label_Text(long_cycle, 0b1000000101), "Q!P!Q!P!P!P!P!P!P!Q");
}

// Damaged or unusual DDRs: which are read and which refused.
TEST(IsoDdr, LeaderControlTagAndArrayDescriptorChecks) {
  iso_test::Files files;
  const std::string title = std::string("0000;&T") + kFieldTerminator;
  const std::string text = std::string("1600;&TEXT") + kFieldTerminator;
  const auto grid = [](const std::string& descriptor) {
    return "2600;&GRID" + std::string(1, kUnitTerminator) + descriptor + kUnitTerminator + "(I)" +
           kFieldTerminator;
  };
  const auto patched = [](std::string ddr, std::size_t at, char c) {
    ddr[at] = c;
    return ddr;
  };
  const std::string good = ddr_with_fields(2, 6, {{"0001", kRecordId}});
  const std::pair<std::string, bool> cases[] = {
      {ddr_with_fields(2, 6, {{"0000", title}, {"0001", kRecordId}}), true},
      {ddr_with_fields(2, 0, {{"0001", kRecordId}}), false},  // level 2 without field controls
      {ddr_with_fields(1, 6, {{"0001", kRecordId}}), false},  // level 1 with them
      {patched(good, 6, 'D'), false},                         // not a DDR leader
      {patched(good, 23, '8'), false},                        // tag size
      {ddr_with_fields(2, 6, {{"0001", kRecordId}, {"GRID", grid("2,3,4")}}), true},
      {ddr_with_fields(2, 6, {{"0001", kRecordId}, {"GRID", grid("1,3")}}),
       false},  // one dimension
  };
  for (const auto& [ddr, read] : cases)
    EXPECT_EQ(read_all(files.write("ddr.ddf", ddr)).ddr_read, read) << ddr;
  EXPECT_FALSE(read_all(files.write("level4.ddf", patched(patched(good, 23, '8'), 5, '4'))).opened);

  // Control tags out of order, twice, missing, or after another tag: refused at levels 1 and 2.
  const std::vector<std::vector<std::pair<std::string, std::string>>> bad_tags = {
      {{"0001", kRecordId}, {"0000", title}, {"TEXT", text}},
      {{"0000", title}, {"0001", kRecordId}, {"0001", kRecordId}},
      {{"0000", title}, {"TEXT", text}},
      {{"0000", title}, {"TEXT", text}, {"0001", kRecordId}},
  };
  for (const auto& fields : bad_tags) {
    for (int level : {1, 2, 3}) {
      const auto r =
          read_all(files.write("tags.ddf", ddr_with_fields(level, level == 1 ? 0 : 6, fields)));
      EXPECT_EQ(r.ddr_read, level == 3) << "level " << level << ", first tag " << fields[0].first;
    }
  }
}

TEST(IsoDdr, LevelOneTakesFieldTextsAsNames) {
  iso_test::Files files;
  Iso8211Builder b(DdrOptions{.level = 1});
  b.field("0001", "", "DDF RECORD IDENTIFIER").field("TEXT", "", "SOME TEXT");
  b.record({{"0001", {"1"}}, {"TEXT", {"hello world"}}});
  const auto r = read_all(files.write("level1.ddf", b.bytes()));
  ASSERT_TRUE(r.ddr_read);
  ASSERT_EQ(r.subfields.size(), 2u);
  EXPECT_EQ(r.subfields[1].value, "hello world");
  EXPECT_EQ(r.subfields[1].status, ISO_STATUS_END_OF_FILE);
}

TEST(IsoDdr, ZeroRecordLengthIsComputedFromTheDirectory) {
  iso_test::Files files;
  Iso8211Builder b(DdrOptions{.zero_record_length = true});
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER");
  b.record({{"0001", {"1"}}}).record({{"0001", {"2"}}});
  const auto ddr = b.ddr_bytes();
  ASSERT_EQ(std::string(ddr.begin(), ddr.begin() + 5), "00000");
  const std::string path = files.write("zero.ddf", b.bytes());

  int level = 0, status = 0;
  char ic = 0, cs[4];
  std::FILE* stream = nullptr;
  ASSERT_TRUE(ISO_Open_File(path.c_str(), "R", &level, &ic, cs, &stream));
  std::vector<char> buffer(ddr.size());
  EXPECT_EQ(ISO_Read_DDR(stream, buffer.data(), static_cast<int>(ddr.size()), &status),
            0);  // no room for the zero
  buffer.resize(ddr.size() + 1);
  ASSERT_EQ(ISO_Read_DDR(stream, buffer.data(), static_cast<int>(buffer.size()), &status), 1);
  EXPECT_EQ(std::memcmp(buffer.data(), ddr.data(), ddr.size()), 0);
  EXPECT_EQ(status, ISO_STATUS_END_OF_RECORD);
  ISO_End_File(&stream);
  EXPECT_EQ(stream, nullptr);
  EXPECT_EQ(read_all(path).statuses(), (std::vector<int>{3, 4}));
}

TEST(IsoDdr, SamePathOpenedTwiceGivesIndependentStates) {
  iso_test::Files files;
  Iso8211Builder b;
  b.field("0001", "0100;&", "DDF RECORD IDENTIFIER");
  b.record({{"0001", {"1"}}}).record({{"0001", {"2"}}});
  const std::string path = files.write("twice.ddf", b.bytes());
  int level = 0, s1 = 0, s2 = 0, length = 0;
  char ic = 0, cs[4], tag[8], leader = 0, value[100], ddr[1000];
  std::FILE *first = nullptr, *second = nullptr;
  ASSERT_TRUE(ISO_Open_File(path.c_str(), "r", &level, &ic, cs, &first));
  ASSERT_TRUE(ISO_Open_File(path.c_str(), "r", &level, &ic, cs, &second));
  ASSERT_NE(first, second);
  ASSERT_TRUE(ISO_Read_DDR(first, ddr, sizeof ddr, &s1));
  ASSERT_TRUE(ISO_Read_DDR(second, ddr, sizeof ddr, &s2));
  ASSERT_TRUE(ISO_Read_Subfield(first, tag, &leader, value, sizeof value, &length, &s1));
  EXPECT_STREQ(value, "1");
  ASSERT_TRUE(ISO_Read_Subfield(first, tag, &leader, value, sizeof value, &length, &s1));
  EXPECT_STREQ(value, "2");
  EXPECT_EQ(s1, ISO_STATUS_END_OF_FILE);
  ASSERT_TRUE(ISO_Read_Subfield(second, tag, &leader, value, sizeof value, &length, &s2));
  EXPECT_STREQ(value, "1");
  EXPECT_EQ(leader, 'D');
  EXPECT_TRUE(ISO_End_File(&first));
  EXPECT_FALSE(ISO_Read_Subfield(first, tag, &leader, value, sizeof value, &length, &s1));
  ASSERT_TRUE(ISO_Read_Subfield(second, tag, &leader, value, sizeof value, &length, &s2));
  EXPECT_STREQ(value, "2");
  EXPECT_TRUE(ISO_End_File(&second));
  EXPECT_FALSE(ISO_End_File(&second));
}

TEST(IsoDdr, OpenRefusesWhatIsNotIso8211) {
  iso_test::Files files;
  int level = 0;
  char ic = 0, cs[4];
  std::FILE* stream = reinterpret_cast<std::FILE*>(&level);
  EXPECT_FALSE(ISO_Open_File(files.write("short.ddf", std::string("0012")).c_str(), "r", &level,
                             &ic, cs, &stream));
  EXPECT_EQ(stream, nullptr);
  EXPECT_FALSE(ISO_Open_File("/nonexistent/x.ddf", "r", &level, &ic, cs, &stream));
  EXPECT_FALSE(ISO_Open_File(files.write("w.ddf", std::string(30, '2')).c_str(), "w", &level, &ic,
                             cs, &stream));
}
