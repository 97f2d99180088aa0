// Runs conversions of synthetic DLG-3 optional-format files in a sandbox; the outputs are
// read with tests/support/output_files.h.
#pragma once

#include <string>
#include <vector>

#include "tests/support/sandbox.h"
#include "tools/dlgopt_fixture/dlgopt_fixture.h"

namespace corvane::dlgopt::test {

using namespace corvane::test;

class ConversionTest : public Sandbox {
 protected:
  // Writes `file` as `name` in the sandbox and converts it into "<sandbox>/out".
  int convert(const dlgopt_fixture::DlgFile& file, const std::string& name = "test.opt") {
    return convert_bytes(dlgopt_fixture::render(file, dlgopt_fixture::Form::kFixed), name);
  }
  int convert_bytes(const std::string& bytes, const std::string& name);
  int convert_path(const std::string& input_path);
  // Output of the last conversion: "<sandbox>/out/<base>shp/<base><suffix>".
  std::string output(const std::string& suffix) const {
    return out_dir_ + "/" + base_ + "shp/" + base_ + suffix;
  }
  bool logged(const std::string& part) const {
    return read_file(output(".log")).find(part) != std::string::npos;
  }

  std::string out_dir_ = path("out");
  std::string base_;
};

// A small file: nodes 1-3, the lines given, one area listing `area_lines`, no attributes.
dlgopt_fixture::DlgFile small_file(std::vector<dlgopt_fixture::Line> lines,
                                   std::vector<int> area_lines);
dlgopt_fixture::Line line(int id, std::vector<std::pair<double, double>> points, int start = 1,
                          int end = 2);

}  // namespace corvane::dlgopt::test
