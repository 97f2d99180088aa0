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
long records_for(int count, int per_record) {
  return count <= 0 ? 0 : (count + per_record - 1) / per_record;
}

// Elements are counted from 1 here: this line is for the reader of the log.
[[noreturn]] void file_ends_early(const char* kind, int index) {
  opt_fatal("DLG file ends early, in " + std::string(kind) + " " + std::to_string(index + 1) +
            "\nQuitting");
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

// Reads a list of `count` entries, `per_record` to a record of the records that follow, each
// `width` columns wide; `parse` takes the entry at a column of a record.
template <typename Entry, typename Parse>
void read_list(DlgRecordReader& reader, int count, int per_record, int width, const char* kind,
               int index, std::vector<Entry>& entries, Parse parse) {
  entries.clear();
  entries.reserve(bounded_count(count, reader, per_record));
  std::string record;
  for (int k = 0; k < count; ++k) {
    const int column = (k % per_record) * width;
    if (column == 0 && !reader.read(record)) file_ends_early(kind, index);
    entries.push_back(parse(record, column));
  }
}

std::vector<DlgCodePair> read_code_pairs(DlgRecordReader& reader, int count, const char* kind,
                                         int index) {
  std::vector<DlgCodePair> pairs;
  read_list(reader, count, kCodePairsPerRecord, 12, kind, index, pairs,
            [](const std::string& record, int column) {
              DlgCodePair pair;
              ParseField(record, column, 6, pair.major);
              ParseField(record, column + 6, 6, pair.minor);
              return pair;
            });
  return pairs;
}

// Node and area records open alike: id, representative point, the counts of two lists and
// of the code pairs.
struct PointElementHead {
  std::string record;
  int first_list = 0;
  int second_list = 0;
  int pairs = 0;
};

template <typename Element>
PointElementHead read_point_element(DlgRecordReader& reader, const char* kind, int index, char type,
                                    Element& element) {
  PointElementHead head{read_element_record(reader, kind, index, type)};
  ParseField(head.record, 1, 5, element.id);
  ParseField(head.record, 6, 12, element.x);
  ParseField(head.record, 18, 12, element.y);
  ParseField(head.record, 30, 6, head.first_list);
  ParseField(head.record, 36, 6, head.second_list);
  ParseField(head.record, 48, 6, head.pairs);
  return head;
}

}  // namespace

std::size_t bounded_count(long count, const DlgRecordReader& reader, int entries_per_record) {
  if (count <= 0) return 0;
  // A record takes at least one byte (an empty line), and holds at most this many entries.
  const std::uint64_t most =
      reader.remaining_bytes() * static_cast<std::uint64_t>(entries_per_record);
  return static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(count), most));
}

void ReadNodeRecord(DlgRecordReader& reader, int index, DlgNode& node) {
  const PointElementHead head = read_point_element(reader, "node", index, 'N', node);
  int further = 0;
  ParseField(head.record, 54, 6, further);
  const long lists = records_for(head.first_list, kSkippedListPerRecord) +
                     records_for(head.second_list, kSkippedListPerRecord);
  skip_records(reader, lists, "node", index);
  node.codes = read_code_pairs(reader, head.pairs, "node", index);
  skip_records(reader, std::max(further, 0), "node", index);
}

void ReadAreaRecord(DlgRecordReader& reader, int index, DlgArea& area) {
  const PointElementHead head = read_point_element(reader, "area", index, 'A', area);
  skip_records(reader, records_for(head.first_list, kSkippedListPerRecord), "area", index);

  read_list(reader, head.second_list, kLineIdsPerRecord, 6, "area", index, area.lines,
            [](const std::string& record, int column) {
              int id = 0;
              ParseField(record, column, 6, id);
              return id;
            });
  area.codes = read_code_pairs(reader, head.pairs, "area", index);
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

  read_list(reader, point_count, kPointsPerRecord, 24, "line", index, line.points,
            [](const std::string& record, int column) {
              formats::SHPVertex point;
              ParseField(record, column, 12, point.x);
              ParseField(record, column + 12, 12, point.y);
              return point;
            });
  line.codes = read_code_pairs(reader, pairs, "line", index);
}

}  // namespace corvane::dlgopt
