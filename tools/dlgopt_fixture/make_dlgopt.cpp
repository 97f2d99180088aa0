// make_dlgopt OUTPUT_FILE [--lines N] [--points-per-line P] [--form fixed|lines|short]
// Writes a synthetic DLG-3 optional-format file: a ladder of square cells with about N lines
// (default 100) of P points each (default 10), in the chosen record form (default fixed).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/dlgopt_fixture/dlgopt_fixture.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: make_dlgopt OUTPUT_FILE [--lines N] [--points-per-line P] [--form "
               "fixed|lines|short]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace corvane::dlgopt_fixture;
  if (argc < 2) return usage();
  const std::string output = argv[1];
  long lines = 100;
  long points = 10;
  Form form = Form::kFixed;
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return usage();
    const std::string value = argv[++i];
    if (option == "--lines") {
      lines = std::strtol(value.c_str(), nullptr, 10);
    } else if (option == "--points-per-line") {
      points = std::strtol(value.c_str(), nullptr, 10);
    } else if (option == "--form") {
      if (value == "fixed")
        form = Form::kFixed;
      else if (value == "lines")
        form = Form::kLines;
      else if (value == "short")
        form = Form::kShortLines;
      else
        return usage();
    } else {
      return usage();
    }
  }
  // Ids and counts are six-digit fields.
  if (lines < 4 || lines > 999999 || points < 2 || points > 999999) return usage();
  const int cells = static_cast<int>((lines - 1) / 3);
  const DlgFile file = ladder(cells, static_cast<int>(points));
  if (!write_file(output, file, form)) {
    std::fprintf(stderr, "make_dlgopt: cannot write %s\n", output.c_str());
    return 1;
  }
  std::printf("%s: %zu nodes, %zu areas, %zu lines, %ld coordinate pairs\n", output.c_str(),
              file.nodes.size(), file.areas.size(), file.lines.size(),
              static_cast<long>(file.lines.size()) * points);
  return 0;
}
