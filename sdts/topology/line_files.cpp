#include "sdts/topology/line_files.h"

#include <algorithm>
#include <limits>
#include <tuple>

#include "platform/byte_order.h"
#include "platform/fatal_error.h"
#include "platform/paths.h"
#include "sdts/run/index_files.h"
#include "sdts/run/run_state.h"
#include "sdts/run/work_files.h"

namespace corvane::sdts {

namespace bytes = corvane::bytes;
using corvane::formats::SHPVertex;

std::string Line_Files_Stem(const std::string& module_path) {
  return corvane::paths::stem_to_first_dot(module_path);
}

namespace {

bool write_all(std::FILE* file, const std::vector<std::uint8_t>& data, std::size_t size) {
  return size == 0 || std::fwrite(data.data(), 1, size, file) == size;
}

}  // namespace

std::string LineFilesWriter::open(const std::string& stem, std::int64_t module_bytes) {
  // A point takes 8 bytes in a module and 16 in the coordinate file; a line's entries in
  // the two tables take far less than its record.
  constexpr std::int64_t kMostBytes = std::numeric_limits<std::int64_t>::max();
  const std::int64_t points_bytes = module_bytes > kMostBytes / 2 ? kMostBytes : 2 * module_bytes;
  for (auto [file, extension, expected] : {std::tuple{&bdl_, ".bdl", module_bytes / 4},
                                           {&bxt_, ".bxt", points_bytes},
                                           {&bxx_, ".bxx", module_bytes / 4}}) {
    const std::string name = stem + extension;
    WorkFiles::Created created = SDTS_Work_Files().create(name, expected);
    if (!created.stream) return created.path.empty() ? name : created.path;
    *file = std::move(created.stream);
    if (!created.path.empty()) IndexFiles::add_file(created.path);
  }
  return {};
}

bool LineFilesWriter::accepts_id(std::int32_t line_id) const {
  const std::int64_t lines = std::max<std::int64_t>(expected_lines_, sequence_ + 1);
  return line_id >= 0 && line_id <= lines + kIdSlack;
}

bool LineFilesWriter::add_record_id(std::int32_t line_id) {
  std::FILE* file = bdl_.get();
  std::uint8_t entry[kRecordIdEntrySize];
  if (line_id < next_expected_id_) {
    // An id out of ascending order goes to its own slot; the table then continues at its end.
    bytes::put_le32s(entry, sequence_++);
    const bool ok = std::fseek(file, line_id * kRecordIdEntrySize, SEEK_SET) == 0 &&
                    std::fwrite(entry, 1, sizeof entry, file) == sizeof entry &&
                    std::fseek(file, 0, SEEK_END) == 0;
    return ok;
  }
  const std::size_t gap = static_cast<std::size_t>(line_id - next_expected_id_);
  bytes_.assign(gap * kRecordIdEntrySize, 0xFF);
  bytes_.resize(bytes_.size() + kRecordIdEntrySize);
  bytes::put_le32s(bytes_.data() + gap * kRecordIdEntrySize, sequence_++);
  next_expected_id_ = static_cast<std::int64_t>(line_id) + 1;
  return write_all(file, bytes_, bytes_.size());
}

LineFilesWriter::LineWrite LineFilesWriter::add_line(std::int32_t line_id,
                                                     std::span<const SHPVertex> points) {
  // Offsets are 32-bit in the index; a coordinate file past that cannot be indexed.
  if (bxt_offset_ > std::numeric_limits<std::int32_t>::max()) return LineWrite::index_failed;
  std::uint8_t entry[kLineIndexEntrySize];
  bytes::put_le32s(entry, line_id);
  bytes::put_le32s(entry + 4, static_cast<std::int32_t>(points.size()));
  bytes::put_le32s(entry + 8, static_cast<std::int32_t>(bxt_offset_));
  if (std::fwrite(entry, sizeof entry, 1, bxx_.get()) != 1) return LineWrite::index_failed;

  // The buffer only grows: growing clears the new bytes, and every line would pay for that.
  const std::size_t size = points.size() * kLinePointSize;
  if (bytes_.size() < size) bytes_.resize(size);
  std::uint8_t* out = bytes_.data();
  for (const SHPVertex& p : points) {
    bytes::put_le_double(out, p.x);
    bytes::put_le_double(out + 8, p.y);
    out += kLinePointSize;
  }
  if (!write_all(bxt_.get(), bytes_, size)) return LineWrite::points_failed;
  bxt_offset_ += static_cast<std::int64_t>(size);
  return LineWrite::ok;
}

void LineFilesWriter::close() {
  bxx_.reset();
  bxt_.reset();
  bdl_.reset();
}

std::string LineFilesReader::open(const std::string& stem) {
  for (auto [file, extension] : {std::pair{&bxx_, ".bxx"}, {&bxt_, ".bxt"}, {&bdl_, ".bdl"}}) {
    const std::string name = stem + extension;
    if (!file->open(SDTS_Work_Files().open(name))) return name;
  }
  return {};
}

bool LineFilesReader::fetch(std::int32_t line_id, std::vector<SHPVertex>& points) {
  const std::uint8_t* id_entry =
      bdl_.at(static_cast<long>(line_id) * kRecordIdEntrySize, kRecordIdEntrySize);
  if (id_entry == nullptr) corvane::fatal("ERROR: read line binary index data");
  const std::int32_t sequence = bytes::get_le32s(id_entry);
  if (sequence == -1) corvane::fatal("ERROR: on Link index file");
  const std::uint8_t* entry =
      bxx_.at(static_cast<long>(sequence) * kLineIndexEntrySize, kLineIndexEntrySize);
  if (entry == nullptr) corvane::fatal("ERROR: read line binary index data");
  const long wanted = std::max(0, bytes::get_le32s(entry + 4));
  const long offset = bytes::get_le32s(entry + 8);
  // Never more than the coordinate file holds, whatever the index says.
  const long available =
      offset < 0 || offset > bxt_.size() ? 0 : (bxt_.size() - offset) / kLinePointSize;
  const long count = std::min(wanted, available);
  const std::uint8_t* in = bxt_.at(offset, count * kLinePointSize);
  points.resize(in != nullptr ? static_cast<std::size_t>(count) : 0);
  for (SHPVertex& p : points) {
    p.x = bytes::get_le_double(in);
    p.y = bytes::get_le_double(in + 8);
    in += kLinePointSize;
  }
  return static_cast<long>(points.size()) == wanted;
}

}  // namespace corvane::sdts
