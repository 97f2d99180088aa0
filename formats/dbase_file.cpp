#include "formats/dbase_file.h"

#include <algorithm>
#include <cstring>

#include "formats/dbf_layout.h"
#include "formats/format_trace.h"
#include "platform/byte_order.h"
#include "platform/message_sink.h"

namespace corvane::formats {

namespace {

constexpr char kCorrupt[] = "*** DBF file corrupt ***";
constexpr std::size_t kNameBytes = 11;

int traced_exit(const char* routine, int code) {
  format_trace_exit(routine, code);
  return code;
}

}  // namespace

void DBaseFile::set_file_name(const std::string& name) { file_name_ = name; }

int DBaseFile::open(const char* how, char mode, const char* routine, const char* failure) {
  format_trace_begin(routine);
  // Written tables go out in large blocks; read tables are read by windows of their own.
  stream_ = open_c_file(file_name_, how, mode == 'W' ? kBulkStreamBuffer : 0);
  window_count_ = 0;
  if (!stream_) {
    format_trace_error(routine, failure, file_name_.c_str());
    return traced_exit(routine, 1);
  }
  mode_ = mode;
  header_written_ = false;
  return traced_exit(routine, 0);
}

int DBaseFile::open_for_read() {
  return open("rb", 'R', "DBaseFile::open_for_read()", "*** Error on open read file ***");
}

int DBaseFile::open_for_write() {
  return open("wb", 'W', "DBaseFile::open_for_write()", "*** Error on open write file ***");
}

long DBaseFile::file_size() const {
  const long here = std::ftell(stream_.get());
  if (here < 0 || std::fseek(stream_.get(), 0, SEEK_END) != 0) return -1;
  const long size = std::ftell(stream_.get());
  std::fseek(stream_.get(), here, SEEK_SET);
  return size;
}

int DBaseFile::corrupt(const char* routine) {
  format_trace_error(routine, kCorrupt, file_name_.c_str());
  num_records_ = 0;
  return 1;
}

int DBaseFile::read_db_header() {
  constexpr char kRoutine[] = "DBaseFile::read_db_header()";
  format_trace_begin(kRoutine);
  int failed = _read_db_header();
  if (failed == 0) failed = _read_db_field_header();
  return traced_exit(kRoutine, failed);
}

int DBaseFile::_read_db_header() {
  constexpr char kRoutine[] = "DBaseFile::_read_db_header";
  format_trace_begin(kRoutine);
  if (!stream_ || std::fread(header_.data(), header_.size(), 1, stream_.get()) != 1)
    return traced_exit(kRoutine, corrupt(kRoutine));
  header_length_ = bytes::get_le16(header_.data() + 8);
  const std::uint32_t records = bytes::get_le32(header_.data() + 4);
  const std::uint16_t record_length = bytes::get_le16(header_.data() + 10);
  // Every size the header claims must fit in the file (and the record in our buffer)
  // before anything is read by it.
  const long size = file_size();
  const bool fits = header_length_ >= dbf_header_length(0) && header_length_ <= size &&
                    record_length >= 1 && record_length <= kRecordBufferSize &&
                    static_cast<long long>(records) * record_length <= size - header_length_;
  if (!fits) return traced_exit(kRoutine, corrupt(kRoutine));
  num_fields_ = (header_length_ - 33) / 32;
  num_records_ = static_cast<std::int32_t>(records);
  record_length_ = record_length;
  return traced_exit(kRoutine, 0);
}

int DBaseFile::_read_db_field_header() {
  constexpr char kRoutine[] = "DBaseFile::_read_db_field_header()";
  format_trace_begin(kRoutine);
  const std::int32_t claimed_length = record_length_;
  fields_.clear();
  record_length_ = 1;
  for (std::int32_t i = 0; i < num_fields_; ++i) {
    DBFImage descriptor{};
    if (std::fread(descriptor.data(), descriptor.size(), 1, stream_.get()) != 1)
      return traced_exit(kRoutine, corrupt(kRoutine));
    const char* name = reinterpret_cast<const char*>(descriptor.data());
    add_field(std::string(name, strnlen(name, kNameBytes)), static_cast<char>(descriptor[11]),
              descriptor[16], descriptor[17]);
  }
  std::fgetc(stream_.get());  // the terminator, whatever it holds
  // Records are read at the stride the header gave; descriptors that add up to another
  // length would split every record in the wrong place.
  if (record_length_ != claimed_length) return traced_exit(kRoutine, corrupt(kRoutine));
  return traced_exit(kRoutine, 0);
}

void DBaseFile::add_field(const std::string& name, char type, std::uint8_t length,
                          std::uint8_t decimals) {
  fields_.push_back(DBaseField{name, type, length, decimals});
  record_length_ += length;
}

void DBaseFile::add_fields(const std::vector<DBaseField>& fields) {
  // A copy first: `fields` may be this table's own list, which add_field grows.
  for (const DBaseField& field : std::vector<DBaseField>(fields))
    add_field(field.name, field.type, field.length, field.decimals);
}

int DBaseFile::write_db_header() {
  constexpr char kRoutine[] = "DBaseFile::write_db_header()";
  format_trace_begin(kRoutine);
  int failed = _write_db_header();
  if (failed == 0) failed = _write_db_field_header();
  header_written_ = failed == 0;
  return traced_exit(kRoutine, failed);
}

int DBaseFile::_write_db_header() {
  constexpr char kRoutine[] = "DBaseFile::_write_db_header";
  format_trace_begin(kRoutine);
  num_records_ = 0;
  num_fields_ = static_cast<std::int32_t>(fields_.size());
  record_length_ = 1;
  for (const DBaseField& field : fields_) record_length_ += field.length;
  const long header_length = dbf_header_length(num_fields_);
  if (record_length_ >= static_cast<std::int32_t>(kRecordBufferSize)) {
    show_message("ERROR: Record buffer is too small");
    return traced_exit(kRoutine, 1);
  }
  if (header_length > 0xFFFF) {
    show_message("ERROR: Too many fields for a dBase header");
    return traced_exit(kRoutine, 1);
  }
  if (!stream_ || mode_ != 'W') return traced_exit(kRoutine, 1);
  header_length_ = static_cast<std::uint16_t>(header_length);
  header_ = dbf_main_header(0, header_length_, static_cast<std::uint16_t>(record_length_));
  const bool written = std::fwrite(header_.data(), header_.size(), 1, stream_.get()) == 1;
  return traced_exit(kRoutine, written ? 0 : 1);
}

int DBaseFile::_write_db_field_header() {
  constexpr char kRoutine[] = "DBaseFile::_write_db_field_header()";
  format_trace_begin(kRoutine);
  bool written = true;
  for (const DBaseField& field : fields_) {
    const DBFImage descriptor =
        dbf_field_descriptor(field.name, field.type, field.length, field.decimals);
    written = written && std::fwrite(descriptor.data(), descriptor.size(), 1, stream_.get()) == 1;
  }
  written = written && std::fputc(kDbfTerminator, stream_.get()) != EOF;
  return traced_exit(kRoutine, written ? 0 : 1);
}

void DBaseFile::clear_record() {
  std::fill_n(record_.begin(), record_dirty_, '\0');
  record_dirty_ = 0;
}

const char* DBaseFile::read_record(std::int32_t n) {
  constexpr char kRoutine[] = "DBaseFile::read_record()";
  clear_record();
  if (!stream_ || mode_ != 'R' || n < 1 || n > num_records_) {
    format_trace_error(kRoutine, "*** No such record ***", file_name_.c_str());
    return record_.data();
  }
  if (n < window_first_ || n >= window_first_ + window_count_) {
    if (!load_window(n)) {
      format_trace_error(kRoutine, kCorrupt, file_name_.c_str());
      return record_.data();
    }
  }
  const std::size_t length = static_cast<std::size_t>(record_length_);
  const char* record = window_.data() + static_cast<std::size_t>(n - window_first_) * length;
  record_dirty_ = length - 1;
  std::memcpy(record_.data(), record + 1, record_dirty_);
  return record_.data();
}

// Reads the records from n on, as many as the window holds (at least one).
bool DBaseFile::load_window(std::int32_t n) {
  window_count_ = 0;
  const std::size_t length = static_cast<std::size_t>(record_length_);
  const std::int32_t fit =
      static_cast<std::int32_t>(std::max<std::size_t>(1, kWindowBytes / length));
  const std::int32_t count = std::min(fit, num_records_ - n + 1);
  const long offset = header_length_ + static_cast<long>(n - 1) * record_length_;
  const std::size_t bytes = static_cast<std::size_t>(count) * length;
  window_.resize(bytes);
  if (std::fseek(stream_.get(), offset, SEEK_SET) != 0 ||
      std::fread(window_.data(), 1, bytes, stream_.get()) != bytes)
    return false;
  window_first_ = n;
  window_count_ = count;
  return true;
}

void DBaseFile::set_record(const std::string& text) {
  clear_record();
  const std::size_t room = std::min<std::size_t>(std::max(record_length_, 0), record_.size());
  record_dirty_ = text.copy(record_.data(), std::min(text.size(), room));
}

int DBaseFile::write_record() {
  constexpr char kRoutine[] = "DBaseFile::write_record()";
  if (!stream_ || !header_written_) return 1;
  const std::size_t length = static_cast<std::size_t>(record_length_);
  if (std::fwrite(record_.data(), 1, length, stream_.get()) != length) {
    format_trace_error(kRoutine, "*** Error writing record ***", file_name_.c_str());
    return 1;
  }
  ++num_records_;
  return 0;
}

int DBaseFile::update_db_header() {
  constexpr char kRoutine[] = "DBaseFile::update_db_header()";
  format_trace_begin(kRoutine);
  if (!stream_ || !header_written_) return traced_exit(kRoutine, 1);
  bytes::put_le32(header_.data() + 4, static_cast<std::uint32_t>(num_records_));
  bytes::put_le16(header_.data() + 10, static_cast<std::uint16_t>(record_length_));
  std::FILE* stream = stream_.get();
  // Back to the end afterwards, so records written after an update follow the last one.
  const bool written = std::fseek(stream, 0, SEEK_SET) == 0 &&
                       std::fwrite(header_.data(), header_.size(), 1, stream) == 1 &&
                       std::fseek(stream, 0, SEEK_END) == 0;
  return traced_exit(kRoutine, written ? 0 : 1);
}

int DBaseFile::close() {
  int failed = mode_ == 'W' ? update_db_header() : 0;
  if (stream_ && !close_c_file(stream_)) failed = 1;
  header_written_ = false;
  return failed;
}

}  // namespace corvane::formats
