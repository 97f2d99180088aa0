#include "tests/dlgopt/dlgopt_test_support.h"

#include <algorithm>
#include <filesystem>

#include "dlgopt/run_display_opt.h"

namespace corvane::dlgopt::test {

int ConversionTest::convert_bytes(const std::string& bytes, const std::string& name) {
  write_file(path(name), bytes);
  return convert_path(path(name));
}

int ConversionTest::convert_path(const std::string& input_path) {
  base_ = paths::stem(input_path);
  std::replace(base_.begin(), base_.end(), '.', '_');
  std::filesystem::create_directories(out_dir_);
  return RunDisplayOpt(input_path.c_str(), out_dir_.c_str());
}

dlgopt_fixture::Line line(int id, std::vector<std::pair<double, double>> points, int start,
                          int end) {
  dlgopt_fixture::Line l;
  l.id = id;
  l.start_node = start;
  l.end_node = end;
  l.left_area = 1;
  l.right_area = 1;
  l.points = std::move(points);
  return l;
}

dlgopt_fixture::DlgFile small_file(std::vector<dlgopt_fixture::Line> lines,
                                   std::vector<int> area_lines) {
  dlgopt_fixture::DlgFile file;
  for (int id = 1; id <= 3; ++id) file.nodes.push_back({id, 100.0 * id, 200.0 * id, {}, {}});
  file.areas.push_back({1, 10.0, 20.0, std::move(area_lines), {}});
  file.lines = std::move(lines);
  return file;
}

}  // namespace corvane::dlgopt::test
