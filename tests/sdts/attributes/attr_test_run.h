// A conversion's run files and run directory in a private temporary directory, for tests of
// the attribute writers; tables are read with tests/support/output_files.h.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/paths.h"
#include "sdts/run/run_state.h"
#include "tests/support/output_files.h"

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
  corvane::test::DbfTable table(const std::string& name) const {
    return corvane::test::read_dbf(output(name));
  }
  bool logged(const std::string& part) const {
    return corvane::test::read_file(input("run.log")).find(part) != std::string::npos;
  }

 private:
  corvane::paths::WorkDirectory m_work;
};
