#include "dlgopt/dlg_elements.h"

#include <algorithm>
#include <string>

#include "dlgopt/dlg_field.h"

namespace corvane::dlgopt {

namespace {

constexpr int kSkippedListPerRecord = 12;
constexpr int kLineIdsPerRecord = 12;
constexpr int kCodePairsPerRecord = 6;
constexpr int kPointsPerRecord = 3;

// Records taken by a list of `count` entries.
long records_for(int count, int per_record) { return (count + per_record - 1) / per_record; }

// The element is damaged; the reader moves on to the next element record.
ElementRead damaged(DlgRecordReader& reader, std::string reason) {
  SkipToElementRecord(reader);
  return {ElementRead::kDamaged, std::move(reason)};
}

// Moves to the element's next continuation record; false (with `outcome` saying why) when
// the file ends first, an element record comes first or the record is overlong.
bool next_continuation(DlgRecordReader& reader, ElementRead& outcome) {
  if (!reader.next()) {
    outcome = {ElementRead::kCut, {}};
  } else if (is_element_record(reader.record())) {
    // The reader stays on it: it opens the next element.
    outcome = {ElementRead::kDamaged, "its counts call for more records than follow it"};
  } else if (reader.overlong()) {
    outcome = damaged(reader, "a record of it holds more than blanks beyond column 80");
  } else {
    return true;
  }
  return false;
}

bool skip_records(DlgRecordReader& reader, long count, ElementRead& outcome) {
  for (long i = 0; i < count; ++i) {
    if (!next_continuation(reader, outcome)) return false;
  }
  return true;
}

// Reads a list of `count` entries, `per_record` to a record of the records that follow, each
// `width` columns wide; `parse` takes the entry at a column of a record, false when it is not
// one. `entry_name` names an entry in the reason of a damaged element.
template <typename Entry, typename Parse>
bool read_list(DlgRecordReader& reader, int count, int per_record, int width,
               const char* entry_name, std::vector<Entry>& entries, ElementRead& outcome,
               Parse parse) {
  entries.clear();
  entries.reserve(bounded_count(count, reader, per_record));
  for (int k = 0; k < count; ++k) {
    const int column = (k % per_record) * width;
    if (column == 0 && !next_continuation(reader, outcome)) return false;
    Entry& entry = entries.emplace_back();
    if (!parse(reader.record(), column, entry)) {
      outcome = damaged(reader, std::string(entry_name) + " " + std::to_string(k + 1) + " reads " +
                                    Quoted(CopyField(reader.record(), column, width)));
      return false;
    }
  }
  return true;
}

bool read_code_pairs(DlgRecordReader& reader, int count, std::vector<DlgCodePair>& pairs,
                     ElementRead& outcome) {
  return read_list(reader, count, kCodePairsPerRecord, 12, "attribute pair", pairs, outcome,
                   [](const std::string& record, int column, DlgCodePair& pair) {
                     return ParseField(record, column, 6, pair.major) &&
                            ParseField(record, column + 6, 6, pair.minor);
                   });
}

// Reads `fields` of the element record into `values`, which must all be well formed and none
// negative. The reason of the first that is not goes to `outcome`.
template <std::size_t N>
bool read_counts(DlgRecordReader& reader, const NamedField (&fields)[N], int (&values)[N],
                 ElementRead& outcome) {
  if (reader.overlong()) {
    outcome = damaged(reader, "its record holds more than blanks beyond column 80");
    return false;
  }
  const std::string& record = reader.record();
  for (std::size_t k = 0; k < N; ++k) {
    if (!ParseField(record, fields[k], values[k]) || values[k] < 0) {
      outcome = damaged(reader, DescribeField(record, fields[k]));
      return false;
    }
  }
  return true;
}

// The representative point of a node or area record, columns 7-30.
bool read_point(DlgRecordReader& reader, double& x, double& y, ElementRead& outcome) {
  const std::string& record = reader.record();
  if (ParseField(record, 6, 12, x) && ParseField(record, 18, 12, y)) return true;
  outcome = damaged(reader, DescribeField(record, {7, 24, "X and Y"}));
  return false;
}

// The end of an element read in full: the reader moves to the record after it.
ElementRead complete(DlgRecordReader& reader) {
  reader.next();
  return {};
}

constexpr NamedField kNodeFields[] = {{2, 5, "node id"},
                                      {31, 6, "number of line ids"},
                                      {37, 6, "number of area ids"},
                                      {49, 6, "number of attribute pairs"},
                                      {55, 6, "number of further records"}};
constexpr NamedField kAreaFields[] = {{2, 5, "area id"},
                                      {31, 6, "number of node ids"},
                                      {37, 6, "number of line ids"},
                                      {49, 6, "number of attribute pairs"}};
constexpr NamedField kLineFields[] = {{2, 5, "line id"},
                                      {7, 6, "start node id"},
                                      {13, 6, "end node id"},
                                      {19, 6, "left area id"},
                                      {25, 6, "right area id"},
                                      {43, 6, "number of coordinate pairs"},
                                      {49, 6, "number of attribute pairs"}};

}  // namespace

void SkipToElementRecord(DlgRecordReader& reader) {
  while (reader.next() && !is_element_record(reader.record())) {
  }
}

std::size_t bounded_count(long count, const DlgRecordReader& reader, int entries_per_record) {
  if (count <= 0) return 0;
  // A record takes at least one byte (an empty line), and holds at most this many entries.
  const std::uint64_t most =
      reader.remaining_bytes() * static_cast<std::uint64_t>(entries_per_record);
  return static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(count), most));
}

ElementRead ReadNodeRecord(DlgRecordReader& reader, int, DlgNode& node) {
  ElementRead outcome;
  int values[std::size(kNodeFields)] = {};
  if (!read_counts(reader, kNodeFields, values, outcome) ||
      !read_point(reader, node.x, node.y, outcome)) {
    return outcome;
  }
  const auto [id, first_list, second_list, pairs, further] = values;
  node.id = id;
  if (!skip_records(reader,
                    records_for(first_list, kSkippedListPerRecord) +
                        records_for(second_list, kSkippedListPerRecord),
                    outcome) ||
      !read_code_pairs(reader, pairs, node.codes, outcome) ||
      !skip_records(reader, further, outcome)) {
    return outcome;
  }
  return complete(reader);
}

ElementRead ReadAreaRecord(DlgRecordReader& reader, int number, DlgArea& area) {
  ElementRead outcome;
  int values[std::size(kAreaFields)] = {};
  if (!read_counts(reader, kAreaFields, values, outcome) ||
      !read_point(reader, area.x, area.y, outcome)) {
    return outcome;
  }
  const auto [id, first_list, line_ids, pairs] = values;
  area.number = number;
  area.id = id;
  if (!skip_records(reader, records_for(first_list, kSkippedListPerRecord), outcome) ||
      !read_list(reader, line_ids, kLineIdsPerRecord, 6, "line id", area.lines, outcome,
                 [](const std::string& record, int column, std::int32_t& line) {
                   return ParseField(record, column, 6, line);
                 }) ||
      !read_code_pairs(reader, pairs, area.codes, outcome)) {
    return outcome;
  }
  return complete(reader);
}

ElementRead ReadLineRecord(DlgRecordReader& reader, int, DlgLine& line) {
  ElementRead outcome;
  int values[std::size(kLineFields)] = {};
  if (!read_counts(reader, kLineFields, values, outcome)) return outcome;
  const auto [id, start_node, end_node, left_area, right_area, point_count, pairs] = values;
  line.id = id;
  line.start_node = start_node;
  line.end_node = end_node;
  line.left_area = left_area;
  line.right_area = right_area;
  if (!read_list(reader, point_count, kPointsPerRecord, 24, "coordinate pair", line.points, outcome,
                 [](const std::string& record, int column, formats::SHPVertex& point) {
                   return ParseField(record, column, 12, point.x) &&
                          ParseField(record, column + 12, 12, point.y);
                 }) ||
      !read_code_pairs(reader, pairs, line.codes, outcome)) {
    return outcome;
  }
  return complete(reader);
}

}  // namespace corvane::dlgopt
