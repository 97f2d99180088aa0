// A conversion's run files and run directory in a private temporary directory, for tests
// of the attribute writers, and helpers to read what they wrote.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/byte_order.h"
#include "platform/paths.h"
#include "sdts/run/run_state.h"

class AttrTestRun : public ::testing::Test {
 protected:
  AttrTestRun() : m_work("attr_test_") {
    corvane::sdts::g_run_dir = m_work.file("run");
    std::filesystem::create_directories(corvane::sdts::g_run_dir);
    corvane::sdts::g_log_path = m_work.file("run.log");
    corvane::sdts::g_work_path = m_work.file("dlgsdts.tmp");
  }
  ~AttrTestRun() override { corvane::sdts::g_run_dir.clear(); }

  std::string input(const std::string& name) const { return m_work.file(name); }
  std::string output(const std::string& name) const {
    return corvane::paths::join(corvane::sdts::g_run_dir, name);
  }

  static std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::uint32_t record_count(const std::string& table) {
    return corvane::bytes::get_le32(reinterpret_cast<const std::uint8_t*>(table.data()) + 4);
  }
  static std::uint16_t header_length(const std::string& table) {
    return corvane::bytes::get_le16(reinterpret_cast<const std::uint8_t*>(table.data()) + 8);
  }
  static std::uint16_t record_length(const std::string& table) {
    return corvane::bytes::get_le16(reinterpret_cast<const std::uint8_t*>(table.data()) + 10);
  }
  // Name, type, length and decimals of field `i`, as "NAME C(5)" or "NAME N(8.2)".
  static std::string field(const std::string& table, int i) {
    const std::string d = table.substr(32 + 32 * i, 32);
    std::string text = d.substr(0, d.find('\0')) + " " + d[11] + "(" +
                       std::to_string(static_cast<unsigned char>(d[16]));
    if (d[17] != 0) text += "." + std::to_string(static_cast<int>(d[17]));
    return text + ")";
  }
  // Row i (from 0), deletion flag included.
  static std::string row(const std::string& table, int i) {
    return table.substr(header_length(table) + i * record_length(table), record_length(table));
  }

 private:
  corvane::paths::WorkDirectory m_work;
};
