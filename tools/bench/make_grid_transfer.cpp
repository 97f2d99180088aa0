// Writes a synthetic SDTS transfer whose line module is a grid of rows x cols square
// polygons: (rows + 1) x cols + rows x (cols + 1) lines of five points each, every
// polygon bounded by four lines. The line and polygon modules are streamed record by
// record, so a transfer of millions of lines needs no more memory than one record.
//
// Usage: make_grid_transfer <directory> <rows> <cols>   (prints the catalog's path)
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "tools/iso8211_fixture/iso8211_fixture.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace {

using namespace corvane::sdts_fixture;
using corvane::iso_fixture::kFieldTerminator;
using corvane::iso_fixture::make_record;

constexpr int kCell = 10000;  // stored units per cell side (100 m at scale 0.01)

std::string id_field(const char* module, long id) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%8ld", module, id);
  return text + std::string(1, kFieldTerminator);
}

std::string be32_text(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  return {static_cast<char>(u >> 24), static_cast<char>(u >> 16), static_cast<char>(u >> 8),
          static_cast<char>(u)};
}

class Streamed {
 public:
  Streamed(const std::string& path, const Module& module) : file_(std::fopen(path.c_str(), "wb")) {
    if (file_ == nullptr) throw std::runtime_error("cannot write " + path);
    const std::vector<std::uint8_t> ddr = module.builder.ddr_bytes();
    std::fwrite(ddr.data(), 1, ddr.size(), file_);
  }
  ~Streamed() { std::fclose(file_); }
  void record(long number, std::vector<std::pair<std::string, std::string>> fields) {
    char rcid[16];
    std::snprintf(rcid, sizeof rcid, "%8ld", number);
    fields.insert(fields.begin(), {"0001", rcid + std::string(1, kFieldTerminator)});
    const std::string bytes = make_record('D', 0, 0, fields);
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
  }

 private:
  std::FILE* file_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_grid_transfer <directory> <rows> <cols>\n";
    return 2;
  }
  const std::string dir = argv[1];
  const long rows = std::atol(argv[2]), cols = std::atol(argv[3]);
  const auto polygon = [&](long r, long c) {
    return r < 0 || r >= rows || c < 0 || c >= cols ? 1L : 2 + r * cols + c;
  };
  const auto node = [&](long r, long c) { return 1 + r * (cols + 1) + c; };

  SdtsTransfer t(dir, "GR01");
  t.iden({.title = "SYNTHETIC GRID / BENCHMARK"});
  t.iref({.sfax = 0.01, .sfay = 0.01, .xorg = 300000.0, .yorg = 4000000.0});
  t.xref({"UTM", "NAS", "19"});
  Module& lines = t.module("LE01", "Line");
  lines.builder.field("LINE", "1600;&", "LINE", "MODN!RCID", "(A(4),I(8))")
      .field("PIDL", "1600;&", "POLYGON ID LEFT", "MODN!RCID", "(A(4),I(8))")
      .field("PIDR", "1600;&", "POLYGON ID RIGHT", "MODN!RCID", "(A(4),I(8))")
      .field("SNID", "1600;&", "STARTNODE ID", "MODN!RCID", "(A(4),I(8))")
      .field("ENID", "1600;&", "ENDNODE ID", "MODN!RCID", "(A(4),I(8))")
      .field("SADR", "2600;&", "SPATIAL ADDRESS", "*X!Y", "((2B(32)))");
  Module& polygons = t.module("PC01", "Polygon");
  polygons.builder.field("POLY", "1600;&", "POLYGON", "MODN!RCID", "(A(4),I(8))");
  const std::string catalog = t.write();

  long count = 0;
  {
    Streamed out(t.module_path("LE01"), lines);
    const auto line = [&](long x0, long y0, long dx, long dy, long from, long to, long left,
                          long right) {
      std::string sadr;
      for (int k = 0; k <= 4; ++k) {
        sadr += be32_text(static_cast<std::int32_t>(x0 + dx * k * kCell / 4));
        sadr += be32_text(static_cast<std::int32_t>(y0 + dy * k * kCell / 4));
      }
      ++count;
      out.record(count, {{"LINE", id_field("LE01", count)},
                         {"PIDL", id_field("PC01", left)},
                         {"PIDR", id_field("PC01", right)},
                         {"SNID", id_field("NO01", from)},
                         {"ENID", id_field("NO01", to)},
                         {"SADR", sadr + kFieldTerminator}});
    };
    for (long r = 0; r <= rows; ++r) {
      // Eastward: the cell above is on the left, the cell below on the right.
      for (long c = 0; c < cols; ++c)
        line(c * kCell, r * kCell, 1, 0, node(r, c), node(r, c + 1), polygon(r, c),
             polygon(r - 1, c));
      if (r == rows) break;
      // Northward: the cell to the west is on the left, the cell to the east on the right.
      for (long c = 0; c <= cols; ++c)
        line(c * kCell, r * kCell, 0, 1, node(r, c), node(r + 1, c), polygon(r, c - 1),
             polygon(r, c));
    }
  }
  {
    Streamed out(t.module_path("PC01"), polygons);
    for (long id = 1; id <= 1 + rows * cols; ++id) out.record(id, {{"POLY", id_field("PC01", id)}});
  }
  std::cout << catalog << "\n" << count << " lines, " << rows * cols << " polygons\n";
  return 0;
}
