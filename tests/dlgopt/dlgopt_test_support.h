// Runs conversions of synthetic or real DLG-3 optional-format files in a scratch directory;
// the outputs are read with tests/support/output_files.h.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "platform/paths.h"
#include "platform/progress_presenter.h"
#include "tests/support/output_files.h"
#include "tests/support/shared_data.h"
#include "tools/dlgopt_fixture/dlgopt_fixture.h"

namespace corvane::dlgopt::test {

using namespace corvane::test;

// Every file of a run directory but its log, the dBase date bytes blanked (they follow the
// clock), by name without the run's base name.
std::map<std::string, std::string> outputs_of(const std::string& run_dir, const std::string& base);

class ConversionTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes `file` as `name` in the scratch directory and converts it into "<scratch>/out".
  int convert(const dlgopt_fixture::DlgFile& file, const std::string& name = "test.opt",
              dlgopt_fixture::Form form = dlgopt_fixture::Form::kFixed);
  int convert_path(const std::string& input_path);
  // Writes `bytes` as `name` in the scratch directory and converts it.
  int convert_bytes(const std::string& bytes, const std::string& name);
  // Output of the last conversion: "<scratch>/out/<base>shp/<base><suffix>".
  std::string output(const std::string& suffix) const;
  std::string log_text() const { return read_file(output(".log")); }
  bool logged(const std::string& part) const { return log_text().find(part) != std::string::npos; }

  paths::WorkDirectory scratch_{"dlgopt_test"};
  std::string out_dir_;
  std::string base_;
  RecordingMessageSink messages_;
  RecordingProgressPresenter window_;
  std::optional<std::string> saved_temp_;
};

// A small file: nodes 1-3, the lines given, one area listing `area_lines`, no attributes.
dlgopt_fixture::DlgFile small_file(std::vector<dlgopt_fixture::Line> lines, std::vector<int> area_lines);
dlgopt_fixture::Line line(int id, std::vector<std::pair<double, double>> points, int start = 1, int end = 2);

}  // namespace corvane::dlgopt::test
