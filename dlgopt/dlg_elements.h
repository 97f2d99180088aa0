// The elements of a DLG-3 optional-format file: nodes, areas and lines with their
// attribute code pairs, read from an element record and its continuation records.
#pragma once

#include <cstdint>
#include <string>
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
  int number = 0;  // position in the area section, from 1
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
  bool lines_sorted = false;  // sorted by id because their ids were not their positions from 1
};

// What reading one element came to.
struct ElementRead {
  enum Result { kRead, kDamaged, kCut };
  Result result = kRead;
  std::string reason;  // why the element is damaged: "its record ...", "coordinate pair 5 ..."
};

// Element records open with a letter (N, A or L); continuation records never do.
inline bool is_element_record(const std::string& record) {
  const char c = static_cast<char>(record[0] | 0x20);
  return c >= 'a' && c <= 'z';
}

// Each reads element `number` (from 1) whose element record the reader stands on, with its
// continuation records, and leaves the reader on the record after them: after a damaged
// element, on the next element record. kCut when the file ends inside the element.
ElementRead ReadNodeRecord(DlgRecordReader& reader, int number, DlgNode& node);
ElementRead ReadAreaRecord(DlgRecordReader& reader, int number, DlgArea& area);
ElementRead ReadLineRecord(DlgRecordReader& reader, int number, DlgLine& line);

// Moves the reader past its record to the next element record, or to the end.
void SkipToElementRecord(DlgRecordReader& reader);

// How many of `count` list entries the rest of the file can hold at most, so that a count
// read from a damaged file never causes a huge allocation.
std::size_t bounded_count(long count, const DlgRecordReader& reader, int entries_per_record);

}  // namespace corvane::dlgopt
