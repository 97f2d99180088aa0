// The elements of a DLG-3 optional-format file: nodes, areas and lines with their
// attribute code pairs, read from an element record and its continuation records.
#pragma once

#include <cstdint>
#include <vector>

#include "dlgopt/dlg_record_reader.h"
#include "formats/shp_records.h"

namespace corvane::dlgopt {

struct DlgCodePair {
  std::int32_t major = 0;
  std::int32_t minor = 0;
};

struct DlgNode {
  int id = 0;
  double x = 0.0;
  double y = 0.0;
  std::vector<DlgCodePair> codes;
};

struct DlgArea {
  int id = 0;
  double x = 0.0;  // representative point
  double y = 0.0;
  // Line ids bounding the area: negative when the line runs against the ring, 0 between rings.
  std::vector<std::int32_t> lines;
  std::vector<DlgCodePair> codes;
};

struct DlgLine {
  int id = 0;
  int start_node = 0;
  int end_node = 0;
  int left_area = 0;
  int right_area = 0;
  std::vector<formats::SHPVertex> points;
  std::vector<DlgCodePair> codes;

  // A point feature carried as a line: two points from a node back to itself.
  bool degenerate() const { return points.size() == 2 && start_node == end_node; }
};

// All elements of one file, alive until the conversion ends.
struct DlgElements {
  std::vector<DlgNode> nodes;
  std::vector<DlgArea> areas;
  std::vector<DlgLine> lines;
  bool lines_in_order = true;  // line ids equal their positions from 1
  bool lines_sorted = false;   // sorted by id because they were not in order
};

// Each reads element `index` (from 0): its element record and all its continuation records.
// A record of the wrong type or a file that ends inside the element ends the conversion.
void ReadNodeRecord(DlgRecordReader& reader, int index, DlgNode& node);
void ReadAreaRecord(DlgRecordReader& reader, int index, DlgArea& area);
void ReadLineRecord(DlgRecordReader& reader, int index, DlgLine& line);

// How many of `count` list entries the rest of the file can hold at most, so that a count
// read from a damaged file never causes a huge allocation.
std::size_t bounded_count(long count, const DlgRecordReader& reader, int entries_per_record);

}  // namespace corvane::dlgopt
