// Runs conversions of synthetic or real DLG-3 optional-format files in a scratch directory
// and reads their outputs back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dlgopt/run_display_opt.h"
#include "platform/message_sink.h"
#include "platform/paths.h"
#include "platform/progress_presenter.h"
#include "tests/support/shared_data.h"
#include "tools/dlgopt_fixture/dlgopt_fixture.h"

namespace corvane::dlgopt::test {

using corvane::test::shared_data_dir;

std::string read_bytes(const std::string& path);
void write_bytes(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);
// Every file of a run directory but its log, the dBase date bytes blanked (they follow the clock).
std::map<std::string, std::string> outputs_of(const std::string& run_dir);

// A dBase table as written: header fields and raw rows (deletion flag included).
struct Table {
  std::uint32_t records = 0;
  std::uint16_t header_length = 0;
  std::uint16_t record_length = 0;
  std::vector<std::string> rows;
};
Table read_table(const std::string& path);

// One shapefile record's content, found through the index file.
struct ShapeRecord {
  std::int32_t content_words = 0;
  std::string content;
};
std::vector<ShapeRecord> read_shapes(const std::string& shp_path);
double get_double(const std::string& bytes, std::size_t offset);
std::int32_t get_int(const std::string& bytes, std::size_t offset);

class ConversionTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes `file` as `name` in the scratch directory and converts it into "<scratch>/out".
  int convert(const dlgopt_fixture::DlgFile& file, const std::string& name = "test.opt",
              dlgopt_fixture::Form form = dlgopt_fixture::Form::kFixed);
  int convert_path(const std::string& input_path);
  // Output of the last conversion: "<scratch>/out/<base>shp/<base><suffix>".
  std::string output(const std::string& suffix) const;
  std::string log_text() const;

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
