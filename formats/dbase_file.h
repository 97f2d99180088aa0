// A dBase III table read or written record by record.
//
// Writing: set_file_name; open_for_write; add_field / add_fields; write_db_header;
//          per record set_record then write_record; close (rewrites the header with the count).
// Reading: set_file_name; open_for_read; read_db_header; read_record as needed; close.
//
// Operations answer 0 for success and 1 for failure. Errors are traced through the host's
// trace facility (formats/format_trace.h); a too-long record is also shown as a message.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/c_file.h"
#include "formats/dbase_field.h"

namespace corvane::formats {

class DBaseFile {
 public:
  static constexpr std::size_t kRecordBufferSize = 5000;

  void set_file_name(const std::string& name);
  int open_for_read();
  int open_for_write();

  // Reads the main header and the field descriptors; 1 when either is corrupt or
  // claims more than the file holds.
  int read_db_header();
  // Appends a field; its length adds to the record length.
  void add_field(const std::string& name, char type, std::uint8_t length, std::uint8_t decimals);
  void add_fields(const std::vector<DBaseField>& fields);
  const std::vector<DBaseField>& get_fields() const { return fields_; }

  // Writes the header (0 records) and the descriptors; 1, with nothing written, when the
  // record length is 5000 or more.
  int write_db_header();

  // Record n (from 1) without its deletion flag, as text. Empty when n is not a record of
  // the table or cannot be read (traced). Valid until the next record operation.
  const char* read_record(std::int32_t n);
  // Copies at most record-length characters of `text` into the record; the rest is zero bytes.
  void set_record(const std::string& text);
  // Writes the record (record-length bytes) at the current position and counts it.
  int write_record();

  // Puts the count into the header and rewrites its 32 bytes (writing tables only).
  int update_db_header();
  // update_db_header on a table being written, then closes the stream.
  int close();

  std::int32_t num_fields() const { return num_fields_; }
  std::int32_t num_records() const { return num_records_; }
  std::int32_t record_length() const { return record_length_; }
  char mode() const { return mode_; }
  const std::string& file_name() const { return file_name_; }

 private:
  // A join reads many rows of its attribute table, mostly in ascending order: rows come from
  // a window of consecutive records read at once rather than a seek and a read per row.
  static constexpr std::size_t kWindowBytes = std::size_t{1} << 16;

  int _read_db_header();
  int _read_db_field_header();
  int _write_db_header();
  int _write_db_field_header();
  int open(const char* how, char mode, const char* routine, const char* failure);
  long file_size() const;
  int corrupt(const char* routine);
  void clear_record();
  bool load_window(std::int32_t n);

  std::int32_t num_fields_ = 0;
  std::int32_t num_records_ = 0;
  std::int32_t record_length_ = 0;  // deletion flag included once a header is read or written
  char mode_ = 0;
  CFile stream_;
  std::string file_name_;
  std::array<std::uint8_t, 32> header_{};
  std::vector<DBaseField> fields_;
  std::array<char, kRecordBufferSize> record_{};
  // Bytes of record_ that may not be zero: clearing only these keeps every record as if the
  // whole buffer were cleared, without clearing kRecordBufferSize bytes per record.
  std::size_t record_dirty_ = 0;
  std::vector<char> window_;
  std::int32_t window_first_ = 0;  // record number of the window's first record
  std::int32_t window_count_ = 0;
  std::uint16_t header_length_ = 0;
  bool header_written_ = false;
};

}  // namespace corvane::formats
