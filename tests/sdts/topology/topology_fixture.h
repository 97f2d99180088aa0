// Synthetic transfers with line and point modules, converted whole, for the topology tests;
// the outputs are read with tests/support/output_files.h in a tests/support/sandbox.h.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/sandbox.h"
#include "tools/sdts_fixture/sdts_fixture.h"

namespace topo_test {

using namespace corvane::test;

struct Point {
  std::int32_t x, y;
};

// One line record as stored: ids, then its points (none: no SADR field at all).
struct TestLine {
  std::int32_t id, start_node, end_node, left, right;
  std::vector<Point> points;
};

// One point record; without a point it has no SADR field.
struct TestPoint {
  std::int32_t id;
  std::vector<Point> point;  // zero or one
  std::int32_t area = 0;     // an ARID reference when not 0
};

// A transfer with IDEN, IREF (scale `scale`, origin 0), XREF and STAT around the modules the
// test adds.
class TopoTransfer {
 public:
  TopoTransfer(const std::string& directory, const std::string& reference_system = "UTM",
               double scale = 1.0);
  // `id_width`: the width of the record-id subfields (real transfers use 6).
  void lines(const std::string& module, const std::vector<TestLine>& lines, int id_width = 6);
  void points(const std::string& module, const std::vector<TestPoint>& points);
  // Writes the transfer and converts it into `output_parent`; returns the run directory.
  std::string convert(const std::string& output_parent, int expected_result = 0);

 private:
  corvane::sdts_fixture::SdtsTransfer transfer_;
};

}  // namespace topo_test
