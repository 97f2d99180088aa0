#include "tests/dlgopt/dlgopt_test_support.h"

#include <cstdlib>
#include <filesystem>

#include "dlgopt/run_display_opt.h"

namespace corvane::dlgopt::test {

std::map<std::string, std::string> outputs_of(const std::string& run_dir, const std::string& base) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(run_dir)) {
    if (entry.path().extension() == ".log") continue;
    std::string bytes = read_file(entry.path().string());
    if (entry.path().extension() == ".dbf") bytes.replace(1, 3, "   ");
    files[entry.path().filename().string().substr(base.size())] = bytes;
  }
  return files;
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
  saved_temp_ ? setenv("TEMP", saved_temp_->c_str(), 1) : unsetenv("TEMP");
  install_message_sink(nullptr);
  install_progress_presenter(nullptr);
}

int ConversionTest::convert(const dlgopt_fixture::DlgFile& file, const std::string& name, dlgopt_fixture::Form form) {
  return convert_bytes(dlgopt_fixture::render(file, form), name);
}

int ConversionTest::convert_bytes(const std::string& bytes, const std::string& name) {
  write_file(scratch_.file(name), bytes);
  return convert_path(scratch_.file(name));
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
