#include "tests/dlgopt/dlgopt_test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dlgopt/run_display_opt.h"
#include "platform/byte_order.h"

namespace corvane::dlgopt::test {

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

std::map<std::string, std::string> outputs_of(const std::string& run_dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(run_dir)) {
    if (entry.path().extension() == ".log") continue;
    std::string bytes = read_bytes(entry.path().string());
    if (entry.path().extension() == ".dbf") bytes.replace(1, 3, "   ");
    files[entry.path().filename().string()] = bytes;
  }
  return files;
}

Table read_table(const std::string& path) {
  const std::string bytes = read_bytes(path);
  Table table;
  if (bytes.size() < 32) return table;
  const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
  table.records = bytes::get_le32(raw + 4);
  table.header_length = bytes::get_le16(raw + 8);
  table.record_length = bytes::get_le16(raw + 10);
  for (std::uint32_t k = 0; k < table.records; ++k) {
    const std::size_t at = table.header_length + static_cast<std::size_t>(k) * table.record_length;
    if (at + table.record_length > bytes.size()) break;
    table.rows.push_back(bytes.substr(at, table.record_length));
  }
  return table;
}

double get_double(const std::string& bytes, std::size_t offset) {
  return bytes::get_le_double(reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset);
}

std::int32_t get_int(const std::string& bytes, std::size_t offset) {
  return bytes::get_le32s(reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset);
}

std::vector<ShapeRecord> read_shapes(const std::string& shp_path) {
  const std::string shp = read_bytes(shp_path);
  const std::string shx = read_bytes(shp_path.substr(0, shp_path.size() - 1) + "x");
  std::vector<ShapeRecord> records;
  for (std::size_t at = 100; at + 8 <= shx.size(); at += 8) {
    const auto* entry = reinterpret_cast<const std::uint8_t*>(shx.data()) + at;
    const std::size_t offset = 2 * static_cast<std::size_t>(bytes::get_be32s(entry));
    const std::int32_t words = bytes::get_be32s(entry + 4);
    records.push_back({words, shp.substr(offset + 8, 2 * static_cast<std::size_t>(words))});
  }
  return records;
}

void ConversionTest::SetUp() {
  // Work files and staging directories of the conversions go to the scratch directory.
  const char* temp = std::getenv("TEMP");
  saved_temp_ = temp == nullptr ? std::nullopt : std::optional<std::string>(temp);
  setenv("TEMP", scratch_.path().c_str(), 1);
  install_message_sink(&messages_);
  install_progress_presenter(&window_);
  out_dir_ = scratch_.file("out");
  std::filesystem::create_directory(out_dir_);
}

void ConversionTest::TearDown() {
  if (saved_temp_) {
    setenv("TEMP", saved_temp_->c_str(), 1);
  } else {
    unsetenv("TEMP");
  }
  install_message_sink(nullptr);
  install_progress_presenter(nullptr);
}

int ConversionTest::convert(const dlgopt_fixture::DlgFile& file, const std::string& name, dlgopt_fixture::Form form) {
  const std::string input = scratch_.file(name);
  EXPECT_TRUE(dlgopt_fixture::write_file(input, file, form));
  return convert_path(input);
}

int ConversionTest::convert_path(const std::string& input_path) {
  base_ = paths::stem(input_path);
  for (char& c : base_) {
    if (c == '.') c = '_';
  }
  return RunDisplayOpt(input_path.c_str(), out_dir_.c_str());
}

std::string ConversionTest::output(const std::string& suffix) const {
  return paths::join(paths::join(out_dir_, base_ + "shp"), base_ + suffix);
}

std::string ConversionTest::log_text() const { return read_bytes(output(".log")); }

dlgopt_fixture::Line line(int id, std::vector<std::pair<double, double>> points, int start, int end) {
  dlgopt_fixture::Line l;
  l.id = id;
  l.start_node = start;
  l.end_node = end;
  l.left_area = 1;
  l.right_area = 1;
  l.points = std::move(points);
  return l;
}

dlgopt_fixture::DlgFile small_file(std::vector<dlgopt_fixture::Line> lines, std::vector<int> area_lines) {
  dlgopt_fixture::DlgFile file;
  for (int id = 1; id <= 3; ++id) file.nodes.push_back({id, 100.0 * id, 200.0 * id, {}, {}});
  file.areas.push_back({1, 10.0, 20.0, std::move(area_lines), {}});
  file.lines = std::move(lines);
  return file;
}

}  // namespace corvane::dlgopt::test
