#include "formats/dbase_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <fstream>

#include "formats/c_file.h"
#include "formats/dbf_writer.h"
#include "formats/format_trace.h"
#include "platform/byte_order.h"
#include "tests/support/sandbox.h"

using namespace corvane::formats;
using corvane::bytes::get_le16;
using corvane::bytes::get_le32;
using corvane::test::file_bytes;

namespace {

std::vector<std::string> g_trace_lines;

void trace_begin(const char* routine) { g_trace_lines.push_back(std::string("begin ") + routine); }
void trace_exit(const char* routine, int code) {
  g_trace_lines.push_back(std::string("exit ") + routine + " " + std::to_string(code));
}
void trace_error(const char* routine, const char* text, const char* detail) {
  g_trace_lines.push_back(std::string("error ") + routine + " " + text + " " + detail);
}

class DBase : public corvane::test::Sandbox {
 protected:
  void SetUp() override {
    Sandbox::SetUp();
    g_trace_lines.clear();
    install_format_trace({trace_begin, trace_exit, trace_error});
  }
  void TearDown() override {
    install_format_trace({});
    Sandbox::TearDown();
  }

  bool traced(const std::string& line) const {
    for (const auto& l : g_trace_lines)
      if (l == line) return true;
    return false;
  }

  // A two-field table of `rows` written through DBaseFile.
  std::string write_table(const std::vector<std::string>& rows) {
    const std::string name = path("t.dbf");
    DBaseFile table;
    table.set_file_name(name);
    EXPECT_EQ(table.open_for_write(), 0);
    table.add_field("ID", 'N', 4, 0);
    table.add_field("NAME", 'C', 6, 0);
    EXPECT_EQ(table.write_db_header(), 0);
    for (const auto& row : rows) {
      table.set_record(row);
      EXPECT_EQ(table.write_record(), 0);
    }
    EXPECT_EQ(table.close(), 0);
    return name;
  }

  // Writes `bytes` to a fresh file and opens it for reading.
  int read_header_of(const std::vector<std::uint8_t>& bytes, DBaseFile& table) {
    const std::string name = path("corrupt.dbf");
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    table.set_file_name(name);
    EXPECT_EQ(table.open_for_read(), 0);
    return table.read_db_header();
  }
};

const DBFFieldDef kFields[] = {
    {"ELEVATION", 'N', 8, 0}, {"LONGFIELDNAME", 'C', 20, 0}, {nullptr, 0, 0, 0}};

TEST_F(DBase, PlainRoutinesWriteTheHeaderRewriteTheCountAndMarkTheEnd) {
  CFile f = open_c_file(path("p.dbf"), "wb");
  EXPECT_EQ(DBF_Write_Header(f.get(), 0, kFields), 0);
  EXPECT_EQ(DBF_Write_Field_Headers(f.get(), kFields), 0);
  std::fflush(f.get());
  auto b = file_bytes(path("p.dbf"));
  ASSERT_EQ(b.size(), 32u + 32u * 2u + 1u);
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  EXPECT_EQ(std::vector<int>(b.begin(), b.begin() + 3),
            (std::vector<int>{3, local->tm_year, local->tm_mon + 1}));
  EXPECT_EQ(get_le32(&b[4]), 0u);
  EXPECT_EQ(get_le16(&b[8]), 97);
  EXPECT_EQ(get_le16(&b[10]), 29);
  EXPECT_EQ(std::vector<int>(b.begin() + 12, b.begin() + 32), std::vector<int>(20, 0));
  EXPECT_EQ(std::memcmp(&b[32], "ELEVATION\0\0N", 12), 0);
  EXPECT_EQ(b[48], 8);
  // 11 characters or more: the first 10, then a zero byte.
  EXPECT_EQ(std::memcmp(&b[64], "LONGFIELDN\0C", 12), 0);
  EXPECT_EQ(b[80], 20);
  EXPECT_EQ(b[96], 0x0D);

  const std::string row = " " + std::string(28, 'x');
  std::fwrite(row.data(), 1, row.size(), f.get());
  DBF_Write_End_Mark(f.get());
  std::rewind(f.get());
  DBF_Write_Header(f.get(), 1, kFields);
  f.reset();
  b = file_bytes(path("p.dbf"));
  ASSERT_EQ(b.size(), 97u + 29u + 1u);
  EXPECT_EQ(get_le32(&b[4]), 1u);
  EXPECT_EQ(b.back(), 0x1A);
}

TEST_F(DBase, RecordLength5000IsRefused4999Accepted) {
  DBaseFile table;
  table.set_file_name(path("wide.dbf"));
  ASSERT_EQ(table.open_for_write(), 0);
  for (int i = 0; i < 19; ++i) table.add_field("F" + std::to_string(i), 'C', 255, 0);
  table.add_field("LAST", 'C', 4999 - 19 * 255 - 1, 0);  // record length 4999
  EXPECT_EQ(table.write_db_header(), 0);
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_EQ(table.close(), 0);
  EXPECT_EQ(get_le16(&file_bytes(path("wide.dbf"))[10]), 4999);

  DBaseFile too_wide;
  too_wide.set_file_name(path("too_wide.dbf"));
  ASSERT_EQ(too_wide.open_for_write(), 0);
  too_wide.add_fields(table.get_fields());
  too_wide.add_field("X", 'C', 1, 0);
  EXPECT_EQ(too_wide.write_db_header(), 1);
  EXPECT_EQ(messages_.messages, (std::vector<std::string>{"ERROR: Record buffer is too small"}));
  // Nothing was written and nothing will be: no records behind a missing header.
  EXPECT_EQ(too_wide.write_record(), 1);
  too_wide.close();
  EXPECT_TRUE(file_bytes(path("too_wide.dbf")).empty());
}

TEST_F(DBase, WrittenTableReadsBack) {
  const std::string name = write_table({"   1Lake", " 12345678901", "   3"});
  const auto b = file_bytes(name);
  ASSERT_EQ(b.size(), 97u + 3u * 11u);
  EXPECT_EQ(get_le32(&b[4]), 3u);  // the count, rewritten at close
  // set_record pads a short text with zero bytes, and cuts a long one at the record length.
  EXPECT_EQ(std::memcmp(&b[97], "   1Lake\0\0\0", 11), 0);
  EXPECT_EQ(std::memcmp(&b[108], " 1234567890", 11), 0);
  EXPECT_EQ(std::memcmp(&b[119], "   3\0\0\0\0\0\0\0", 11), 0);

  DBaseFile table;
  table.set_file_name(name);
  ASSERT_EQ(table.open_for_read(), 0);
  ASSERT_EQ(table.read_db_header(), 0);
  EXPECT_EQ(table.num_fields(), 2);
  EXPECT_EQ(table.num_records(), 3);
  EXPECT_EQ(table.record_length(), 11);
  ASSERT_EQ(table.get_fields().size(), 2u);
  EXPECT_EQ(table.get_fields()[1].name, "NAME");
  EXPECT_EQ(table.get_fields()[1].type, 'C');
  EXPECT_EQ(table.get_fields()[1].length, 6);
  // Record 1 starts at the header length plus its deletion flag.
  EXPECT_STREQ(table.read_record(2), "1234567890");
  EXPECT_STREQ(table.read_record(1), "  1Lake");
  EXPECT_STREQ(table.read_record(4), "");
  EXPECT_STREQ(table.read_record(0), "");
  EXPECT_EQ(table.close(), 0);
  EXPECT_EQ(file_bytes(name), b);  // closing a table read leaves it unchanged
  EXPECT_TRUE(traced("begin DBaseFile::_read_db_header"));
  EXPECT_TRUE(traced("exit DBaseFile::update_db_header() 0"));
}

// Rows are served from windows of many records: any order of reads, across window borders
// and into the last partial window, must give each record its own bytes.
TEST_F(DBase, RecordsReadInAnyOrderAcrossManyWindows) {
  constexpr int kRows = 20000;  // about three windows of 11-byte records
  std::vector<std::string> rows;
  for (int n = 1; n <= kRows; ++n) {
    char row[16];
    std::snprintf(row, sizeof row, " %4d%06d", n % 10000, n);
    rows.push_back(row);
  }
  const std::string name = write_table(rows);
  DBaseFile table;
  table.set_file_name(name);
  ASSERT_EQ(table.open_for_read(), 0);
  ASSERT_EQ(table.read_db_header(), 0);
  const auto expect_row = [&](int n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(std::string(table.read_record(n)), rows[n - 1].substr(1));
  };
  for (int n : {kRows, 1, kRows / 2, kRows / 2 - 1, kRows / 2 + 1, 2, kRows - 1}) expect_row(n);
  for (int n = 1; n <= kRows; n += 7) expect_row(n);
  for (int n = kRows; n >= 1; n -= 13) expect_row(n);
  EXPECT_STREQ(table.read_record(kRows + 1), "");
  expect_row(kRows);  // a refused number leaves the next read intact
  EXPECT_EQ(table.close(), 0);
}

TEST_F(DBase, CorruptTablesAreRefused) {
  const auto good = file_bytes(write_table({"   1Lake", "   2Pond"}));
  auto with = [&](auto change) {
    auto bytes = good;
    change(bytes);
    return bytes;
  };
  const std::vector<std::vector<std::uint8_t>> corrupt = {
      std::vector<std::uint8_t>(good.begin(), good.begin() + 20),  // truncated header
      with([](auto& b) { b[4] = 3; }),                             // more records than held
      with([](auto& b) { b[10] = 200; }),                          // longer records than held
      with([](auto& b) { b[8] = 20; }),                            // header shorter than 33
      with([](auto& b) { b[9] = 2; }),                             // header past the end
      with([](auto& b) { b[48] = 5; }),                            // fields disagree with length
      std::vector<std::uint8_t>(good.begin(), good.begin() + 50),  // truncated descriptors
  };
  for (std::size_t i = 0; i < corrupt.size(); ++i) {
    g_trace_lines.clear();
    DBaseFile table;
    EXPECT_EQ(read_header_of(corrupt[i], table), 1) << "case " << i;
    EXPECT_STREQ(table.read_record(1), "") << "case " << i;
    bool reported = false;
    for (const auto& l : g_trace_lines)
      reported |= l.find("*** DBF file corrupt ***") != std::string::npos;
    EXPECT_TRUE(reported) << "case " << i;
  }
}

}  // namespace
