// The intermediate files of one line module, kept so that polygon rings can fetch any
// line's points by record id with three look-ups instead of holding coordinates in memory:
//   "<stem>.bdl"  record-id table: entry k (4 bytes at 4 x k) is the sequence number of
//                 the line whose id is k, or -1 when no line has that id;
//   "<stem>.bxx"  one LineIndexEntry (12 bytes) per line, in module order;
//   "<stem>.bxt"  the points of every line, line after line, 16 bytes (x, y) each.
// Integers are 32-bit signed little-endian, reals IEEE 754 doubles little-endian.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/c_file.h"
#include "formats/shp_records.h"
#include "sdts/topology/mapped_file.h"

namespace corvane::sdts {

struct LineIndexEntry {
  std::int32_t line_id;
  std::int32_t num_points;
  std::int32_t offset;  // byte offset of the line's first point in the .bxt file
};

inline constexpr long kRecordIdEntrySize = 4;
inline constexpr long kLineIndexEntrySize = 12;
inline constexpr long kLinePointSize = 16;

// The stem of the names of a line module's intermediate files, which are work files of the
// conversion: the module's file name up to its first "." (never a directory's ".").
std::string Line_Files_Stem(const std::string& module_path);

class LineFilesWriter {
 public:
  // Record ids up to this many entries past the number of lines are accepted: enough for
  // any gaps a real module leaves, while a damaged id cannot make the table grow to
  // gigabytes.
  static constexpr std::int64_t kIdSlack = 1 << 20;

  // `expected_lines`: the module's record count, when the transfer states one.
  explicit LineFilesWriter(long expected_lines) : expected_lines_(expected_lines) {}

  // Creates the three work files (.bdl, .bxt, .bxx, in this order), sized for a module of
  // `module_bytes`; those that go to disk are listed for deletion at the end of the
  // conversion. Empty on success, else the name or path that failed.
  std::string open(const std::string& stem, std::int64_t module_bytes);

  // Whether `line_id` can be entered in the record-id table.
  bool accepts_id(std::int32_t line_id) const;
  // Enters the next line (sequence number = lines added so far) under `line_id`, which
  // accepts_id must have allowed. An id at or below one already seen is entered at its
  // own position, so the table never points an id at another line. False when a write failed.
  bool add_record_id(std::int32_t line_id);

  enum class LineWrite { ok, index_failed, points_failed };
  // Appends the line's index entry and its points.
  LineWrite add_line(std::int32_t line_id, std::span<const corvane::formats::SHPVertex> points);

  void close();

 private:
  long expected_lines_;
  corvane::formats::CFile bdl_, bxt_, bxx_;
  std::int64_t next_expected_id_ = 0;
  std::int32_t sequence_ = 0;
  std::int64_t bxt_offset_ = 0;
  std::vector<std::uint8_t> bytes_;
};

class LineFilesReader {
 public:
  // Opens the three work files (.bxx, .bxt, .bdl, in this order) for reading. Empty on
  // success, else the name that failed.
  std::string open(const std::string& stem);

  // Reads the points of line `line_id` into `points` (resized to what was read). An id
  // without a line, or an index that cannot be read, is fatal for the conversion. Returns
  // false when the coordinate file held fewer points than the index says.
  bool fetch(std::int32_t line_id, std::vector<corvane::formats::SHPVertex>& points);

 private:
  MappedFile bdl_, bxt_, bxx_;
};

}  // namespace corvane::sdts
