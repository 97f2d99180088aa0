// Synthetic DLG-3 optional-format files for tests, the demo and the benchmark.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace corvane::dlgopt_fixture {

struct Pair {
  int major = 0;
  int minor = 0;
};

struct Node {
  int id = 0;
  double x = 0.0, y = 0.0;
  std::vector<int> lines;  // signed ids of the lines meeting here (written, not read back)
  std::vector<Pair> codes;
};

struct Area {
  int id = 0;
  double x = 0.0, y = 0.0;
  std::vector<int> lines;  // signed line ids, 0 between rings
  std::vector<Pair> codes;
};

struct Line {
  int id = 0;
  int start_node = 0, end_node = 0, left_area = 0, right_area = 0;
  std::vector<std::pair<double, double>> points;
  std::vector<Pair> codes;
};

struct DlgFile {
  std::string banner = "USGS-NMD  DLG DATA - CHARACTER FORMAT - 09-29-87 VERSION";
  std::string place = "SYNTHETIC QUADRANGLE, XX";
  std::string dates = "1999,";
  int scale = 24000;
  int reference_system = 1;  // UTM
  int zone = 19;
  int units = 2;                         // meters
  std::string horizontal_datum = "  0";  // record 4, columns 67-69, as text (may be blank)
  std::string vertical_datum = "  0";    // columns 70-72
  std::string category = "ROADS AND TRAILS";
  std::vector<Node> nodes;
  std::vector<Area> areas;
  std::vector<Line> lines;
};

enum class Form {
  kFixed,       // 80-character records without line ends
  kLines,       // 80-character lines with line ends
  kShortLines,  // lines with trailing blanks stripped
};

// The file's records, each exactly 80 characters.
std::vector<std::string> records(const DlgFile& file);
// The records in one of the three forms.
std::string render(const DlgFile& file, Form form);
bool write_file(const std::string& path, const DlgFile& file, Form form);

// A row of `cells` square cells (a ladder of 3 x cells + 1 lines, 2 x cells + 2 nodes,
// cells + 1 areas, the first being the outside), each line carrying `points_per_line`
// points and a road code; every tenth line also carries a route number.
DlgFile ladder(int cells, int points_per_line);

}  // namespace corvane::dlgopt_fixture
