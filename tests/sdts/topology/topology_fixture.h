// Synthetic transfers with line and point modules, converted whole, and readers for what
// the conversion writes, for the topology tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/sdts_fixture/sdts_fixture.h"

namespace topo_test {

struct Point {
  std::int32_t x, y;
};

// One line record as stored: ids, then its points (none: no SADR field at all).
struct TestLine {
  std::int32_t id, start_node, end_node, left, right;
  std::vector<Point> points;
  std::vector<std::pair<std::string, std::int32_t>> attributes;
};

// One point record; without a point it has no SADR field.
struct TestPoint {
  std::int32_t id;
  std::vector<Point> point;  // zero or one
  std::int32_t area = 0;     // an ARID reference when not 0
};

// A transfer with IDEN, IREF (scale 1, origin 0 unless given), XREF and STAT around the
// modules the test adds.
class TopoTransfer {
 public:
  TopoTransfer(const std::string& directory, const std::string& reference_system = "UTM",
               double scale = 1.0);
  // `id_width`: the width of the record-id subfields (real transfers use 6).
  void lines(const std::string& module, const std::vector<TestLine>& lines, int id_width = 6);
  void points(const std::string& module, const std::vector<TestPoint>& points);
  corvane::sdts_fixture::SdtsTransfer& transfer() { return transfer_; }
  // Writes the transfer and converts it into `output_parent`; returns the run directory.
  std::string convert(const std::string& output_parent, int expected_result = 0);

 private:
  corvane::sdts_fixture::SdtsTransfer transfer_;
};

struct ShpRecord {
  std::int32_t number = 0;
  std::int32_t content_length = 0;  // bytes
  std::int32_t shape_type = 0;
  double box[4] = {};  // Xmin, Ymin, Xmax, Ymax
  std::vector<std::int32_t> parts;
  std::vector<std::pair<double, double>> points;
};

struct Shapefile {
  std::int32_t file_length = 0;  // bytes
  std::int32_t shape_type = 0;
  double box[4] = {};
  std::vector<ShpRecord> records;
  std::vector<std::pair<std::int32_t, std::int32_t>> index;  // offset, length in bytes
};

Shapefile read_shapefile(const std::string& stem);

struct DbfTable {
  std::uint32_t records = 0;
  std::uint16_t header_length = 0, record_length = 0;
  std::vector<std::string> field_names;
  std::vector<std::string> rows;  // each record-length bytes, deletion flag first
  std::string tail;               // bytes after the last record
};

DbfTable read_dbf(const std::string& path);
std::vector<std::uint8_t> read_bytes(const std::string& path);
std::string read_text(const std::string& path);

// Shoelace area of a ring as written; negative for clockwise rings (y up).
double signed_area(const std::vector<std::pair<double, double>>& ring);
// The points of part `k` of a record.
std::vector<std::pair<double, double>> part_points(const ShpRecord& record, std::size_t k);

}  // namespace topo_test
