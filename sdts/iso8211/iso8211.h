// The ISO 8211 reader: every SDTS module file is read through these routines.
//
// Calling order for one file: ISO_Open_File, ISO_Read_DDR, then ISO_Read_Subfield followed by
// ISO_Check_Subfield for each subfield until the status is ISO_STATUS_END_OF_FILE, then
// ISO_End_File. Every routine returns 1 on success and 0 on failure and never reports anything
// itself: the callers trace or report. Several files may be open at once; the stream handle
// returned by ISO_Open_File identifies the file in every later call.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/byte_order.h"

namespace corvane::iso8211 {

// Where the subfield just read stands in the record structure. When several apply,
// END_OF_RECORD and END_OF_FILE win over all others, START_OF_RECORD wins over END_OF_FIELD
// and START_OF_FIELD, and END_OF_FIELD wins over START_OF_FIELD.
inline constexpr int ISO_STATUS_FAILED = 0;           // the call failed
inline constexpr int ISO_STATUS_OK = 1;               // a subfield inside a field
inline constexpr int ISO_STATUS_START_OF_RECORD = 2;  // first subfield of a data record
inline constexpr int ISO_STATUS_END_OF_RECORD = 3;    // last subfield of a record, more follow
inline constexpr int ISO_STATUS_END_OF_FILE = 4;      // last subfield of the last record; on a
                                                      // failed call: the stream is at its end
inline constexpr int ISO_STATUS_END_OF_FIELD = 5;     // last subfield of a field inside a record
inline constexpr int ISO_STATUS_START_OF_FIELD = 6;   // first subfield of a later field

// The tag buffer of ISO_Read_Subfield: tags have at most 7 characters plus the zero.
inline constexpr int ISO_TAG_BUFFER_SIZE = 8;

// Opens `path` for reading (`mode` "r" or "R") and peeks at its leader. Out: interchange level
// (1 to 3), inline code extension indicator, extended character set indicator (3 characters and a
// zero, so `ext_charset` must hold 4 bytes) and the stream handle used by every later call.
// On failure nothing stays open or registered and `*stream` is null.
int ISO_Open_File(const char* path, const char* mode, int* level, char* inline_code,
                  char* ext_charset, std::FILE** stream);

// Parses the data descriptive record (once per file) and copies its raw bytes with a terminating
// zero into `buffer` of `buffer_size` bytes; a DDR that does not fit is refused. `*status` becomes
// ISO_STATUS_END_OF_RECORD when data records follow, ISO_STATUS_END_OF_FILE when the file ends
// after the DDR; on failure ISO_STATUS_END_OF_FILE when the stream is at its end, else
// ISO_STATUS_FAILED. Afterwards the stream stands at the first data record.
int ISO_Read_DDR(std::FILE* stream, char* buffer, int buffer_size, int* status);

// Delivers the next subfield: the tag of its field (`tag`: ISO_TAG_BUFFER_SIZE bytes), the record
// leader's identifier ('D' or 'R'), the value with a terminating zero (binary values are raw bytes
// and may contain zeros, so use `*length`), and the status. A value that does not fit into
// `value_size` bytes (length plus the zero) is refused: the call fails.
int ISO_Read_Subfield(std::FILE* stream, char* tag, char* leader_id, char* value, int value_size,
                      int* length, int* status);

// Describes the subfield just read from field `tag`: its label (the current label of every label
// group joined with "!", e.g. "MODN" or "!X") and its format (e.g. "A", "I(6)", "B(32)", "A(,)").
// Both texts get a terminating zero; a text that does not fit its buffer is refused.
int ISO_Check_Subfield(std::FILE* stream, const char* tag, char* label, int label_size,
                       char* format, int format_size);

// One value handed out by ISO_Read_Record_Values, with what
// ISO_Read_Subfield and ISO_Check_Subfield would have told about it. The pointers stay valid
// until the next call on the stream.
struct IsoValueRef {
  const char* bytes;  // the value (binary values are raw bytes; text is cut at a zero byte)
  int length;
  // The texts stay in place while the module is read. Runs are handed out by the hundred,
  // so this stays a plain record that costs nothing to set up.
  const char* label;   // with a terminating zero
  const char* format;  // with a terminating zero
  const char* tag;     // the field's tag, with a terminating zero
  int status;          // what ISO_Read_Subfield would have given for this value
  int label_length;    // of label, without its terminating zero
  int format_length;   // of format, without its terminating zero
};

// Coordinates and attribute values come as long runs of subfields. After ISO_Read_Subfield
// delivered a subfield, hands out up to `max_values` of the subfields that follow it in its
// record at once, as that many ISO_Read_Subfield and ISO_Check_Subfield calls would (same
// values, tags, labels, formats and statuses; `*status` is what the last of them would have
// given, and later calls go on after it). It stops after the record's last subfield, before a
// value longer than `max_length` bytes (which a single call then refuses as usual) and before
// a field it cannot hand out this way (one holding dimensions, labels too many to keep, or no
// values), which single calls then deliver. `*count` may be 0. Returns 0 only for an unknown
// stream.
int ISO_Read_Record_Values(std::FILE* stream, IsoValueRef* values, int max_values, int max_length,
                           int* count, int* status);

// Releases everything the file owns, closes the stream and sets `*stream` to null.
int ISO_End_File(std::FILE** stream);

// Turns 4 bytes into a 32-bit signed integer: with `reverse` != 0 the first byte is the most
// significant, with 0 the first byte is the least significant. Always returns 1. Inline:
// every coordinate of a module goes through it.
inline int ISO_Bytes_To_Int(const char* bytes, std::int32_t* value, int reverse) {
  const auto* b = reinterpret_cast<const std::uint8_t*>(bytes);
  *value = reverse != 0 ? corvane::bytes::get_be32s(b) : corvane::bytes::get_le32s(b);
  return 1;
}

// Sets `*flag` to 0 and returns 1. Callers pass (flag == 0) as the reverse flag of
// ISO_Bytes_To_Int, so binary integers in module files are read most significant byte first.
int ISO_Byte_Order(int* flag);

}  // namespace corvane::iso8211
