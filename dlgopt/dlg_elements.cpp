#include "dlgopt/dlg_elements.h"

#include <algorithm>
#include <string>

#include "dlgopt/dlg_field.h"
#include "dlgopt/run_state.h"

namespace corvane::dlgopt {

namespace {

constexpr int kSkippedListPerRecord = 12;
constexpr int kLineIdsPerRecord = 12;
constexpr int kCodePairsPerRecord = 6;
constexpr int kPointsPerRecord = 3;

// Records taken by a list of `count` entries; negative counts (damaged files) take none.
long records_for(int count, int per_record) { return count <= 0 ? 0 : (count + per_record - 1) / per_record; }

// Elements are counted from 1 here: this line is for the reader of the log.
[[noreturn]] void file_ends_early(const char* kind, int index) {
  opt_fatal("DLG file ends early, in " + std::string(kind) + " " + std::to_string(index + 1) + "\nQuitting");
}

std::string read_element_record(DlgRecordReader& reader, const char* kind, int index, char type) {
  std::string record;
  if (!reader.read(record)) file_ends_early(kind, index);
  char found = 0;
  ParseField(record, 0, 1, found);
  if (found != type) opt_fatal("error reading " + std::string(kind) + " " + std::to_string(index));
  return record;
}

void skip_records(DlgRecordReader& reader, long count, const char* kind, int index) {
  if (!reader.skip(count)) file_ends_early(kind, index);
}

std::vector<DlgCodePair> read_code_pairs(DlgRecordReader& reader, int count, const char* kind, int index) {
  std::vector<DlgCodePair> pairs;
  pairs.reserve(bounded_count(count, reader, kCodePairsPerRecord));
  std::string record;
  for (int k = 0; k < count; ++k) {
    const int column = (k % kCodePairsPerRecord) * 12;
    if (column == 0 && !reader.read(record)) file_ends_early(kind, index);
    DlgCodePair pair;
    ParseField(record, column, 6, pair.major);
    ParseField(record, column + 6, 6, pair.minor);
    pairs.push_back(pair);
  }
  return pairs;
}

}  // namespace

std::size_t bounded_count(long count, const DlgRecordReader& reader, int entries_per_record) {
  if (count <= 0) return 0;
  // A record takes at least one byte (an empty line), and holds at most this many entries.
  const std::uint64_t most = reader.remaining_bytes() * static_cast<std::uint64_t>(entries_per_record);
  return static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(count), most));
}

void ReadNodeRecord(DlgRecordReader& reader, int index, DlgNode& node) {
  const std::string record = read_element_record(reader, "node", index, 'N');
  int list_a = 0, list_b = 0, pairs = 0, further = 0;
  ParseField(record, 1, 5, node.id);
  ParseField(record, 6, 12, node.x);
  ParseField(record, 18, 12, node.y);
  ParseField(record, 30, 6, list_a);
  ParseField(record, 36, 6, list_b);
  ParseField(record, 48, 6, pairs);
  ParseField(record, 54, 6, further);
  skip_records(reader, records_for(list_a, kSkippedListPerRecord) + records_for(list_b, kSkippedListPerRecord), "node",
               index);
  node.codes = read_code_pairs(reader, pairs, "node", index);
  skip_records(reader, std::max(further, 0), "node", index);
}

void ReadAreaRecord(DlgRecordReader& reader, int index, DlgArea& area) {
  const std::string record = read_element_record(reader, "area", index, 'A');
  int first_list = 0, line_count = 0, pairs = 0;
  ParseField(record, 1, 5, area.id);
  ParseField(record, 6, 12, area.x);
  ParseField(record, 18, 12, area.y);
  ParseField(record, 30, 6, first_list);
  ParseField(record, 36, 6, line_count);
  ParseField(record, 48, 6, pairs);
  skip_records(reader, records_for(first_list, kSkippedListPerRecord), "area", index);

  area.lines.clear();
  area.lines.reserve(bounded_count(line_count, reader, kLineIdsPerRecord));
  std::string list;
  for (int k = 0; k < line_count; ++k) {
    const int column = (k % kLineIdsPerRecord) * 6;
    if (column == 0 && !reader.read(list)) file_ends_early("area", index);
    int id = 0;
    ParseField(list, column, 6, id);
    area.lines.push_back(id);
  }
  area.codes = read_code_pairs(reader, pairs, "area", index);
}

void ReadLineRecord(DlgRecordReader& reader, int index, DlgLine& line) {
  const std::string record = read_element_record(reader, "line", index, 'L');
  int point_count = 0, pairs = 0;
  ParseField(record, 1, 5, line.id);
  ParseField(record, 6, 6, line.start_node);
  ParseField(record, 12, 6, line.end_node);
  ParseField(record, 18, 6, line.left_area);
  ParseField(record, 24, 6, line.right_area);
  ParseField(record, 42, 6, point_count);
  ParseField(record, 48, 6, pairs);

  line.points.clear();
  line.points.reserve(bounded_count(point_count, reader, kPointsPerRecord));
  std::string coordinates;
  for (int k = 0; k < point_count; ++k) {
    const int column = (k % kPointsPerRecord) * 24;
    if (column == 0 && !reader.read(coordinates)) file_ends_early("line", index);
    formats::SHPVertex point;
    ParseField(coordinates, column, 12, point.x);
    ParseField(coordinates, column + 12, 12, point.y);
    line.points.push_back(point);
  }
  line.codes = read_code_pairs(reader, pairs, "line", index);
}

}  // namespace corvane::dlgopt
