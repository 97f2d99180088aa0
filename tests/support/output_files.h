// Plain readers of what the converters write (shapefiles, dBase tables), decoded here byte by
// byte rather than through our writers' code, and whole-file reads and writes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace corvane::test {

std::string read_file(const std::string& path);
inline std::vector<std::uint8_t> file_bytes(const std::string& path) {
  const std::string bytes = read_file(path);
  return {bytes.begin(), bytes.end()};
}
void write_file(const std::string& path, const std::string& content);

using XY = std::pair<double, double>;

struct ShpRecord {
  std::int32_t number = 0;
  std::int32_t content_length = 0;  // bytes
  std::int32_t shape_type = 0;
  double box[4] = {};  // Xmin, Ymin, Xmax, Ymax
  std::vector<std::int32_t> parts;
  std::vector<XY> points;
  // The points of part `k`.
  std::vector<XY> part(std::size_t k) const;
};

struct Shapefile {
  std::int32_t file_length = 0;  // bytes, from the header
  std::int32_t shape_type = 0;
  double box[4] = {};
  std::vector<ShpRecord> records;
  std::vector<std::pair<std::int32_t, std::int32_t>> index;  // offset, length in bytes (.shx)
};
// `stem` + ".shp" and ".shx"; a test failure when either is missing.
Shapefile read_shapefile(const std::string& stem);

struct DbfTable {
  std::uint32_t records = 0;
  std::uint16_t header_length = 0, record_length = 0;
  std::vector<std::string> fields;  // "NAME C(5)", "NAME N(8.2)"
  std::vector<std::string> rows;    // each record-length bytes, deletion flag first
  std::string tail;                 // bytes after the last record
  std::size_t file_size = 0;
};
DbfTable read_dbf(const std::string& path);

// Shoelace area of a ring; negative for clockwise rings (y up).
double signed_area(const std::vector<XY>& ring);

}  // namespace corvane::test
