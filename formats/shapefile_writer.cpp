#include "formats/shapefile_writer.h"

#include <cstdint>
#include <limits>
#include <new>
#include <string>

#include "platform/byte_order.h"
#include "platform/fatal_error.h"
#include "platform/message_sink.h"

namespace corvane::formats {

namespace {

constexpr std::size_t kHeaderBytes = 100;
constexpr std::size_t kRecordHeaderBytes = 8;
constexpr std::size_t kIndexEntryBytes = 8;
constexpr std::int32_t kPointBytes = 20;
constexpr std::int64_t kArcFixedBytes = 44;
constexpr const char* kArcFailed = "Error: malloc arc (SHP_Prepare_Arc)\n";
constexpr const char* kPolyFailed = "Error: malloc arc (SHP_Prepare_Poly)\n";

template <typename T>
std::string formatted(const char* format, T value) {
  char text[128];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A zeroed image of `size` bytes; an allocation failure ends the conversion with `message`.
SHPImage new_image(std::size_t size, const char* message) {
  try {
    return SHPImage(size, 0);
  } catch (const std::bad_alloc&) {
    fatal(message);
  }
}

// Record contents refer to the file position as a 32-bit count, so a file that grew past
// that cannot be described and must not be written on. The counters follow the streams'
// positions (asking a stream costs a system call per record).
void advance(std::int32_t& counter, std::size_t bytes) {
  const std::int64_t position = std::int64_t{counter} + static_cast<std::int64_t>(bytes);
  if (position > std::numeric_limits<std::int32_t>::max())
    fatal(formatted("Error: file position %ld cannot be recorded in a shapefile\n",
                    static_cast<long>(position)));
  counter = static_cast<std::int32_t>(position);
}

// The contents of a PolyLine or Polygon record, SHP_Record_Size bytes from `out` on.
void put_shape(const SHPArc& arc, std::uint8_t* out) {
  SHP_Copy_Field(out, arc.shape_type, SHP_LITTLE_ENDIAN);
  SHP_Copy_Field(out + 4, arc.x_min);
  SHP_Copy_Field(out + 12, arc.y_min);
  SHP_Copy_Field(out + 20, arc.x_max);
  SHP_Copy_Field(out + 28, arc.y_max);
  SHP_Copy_Field(out + 36, arc.num_parts(), SHP_LITTLE_ENDIAN);
  SHP_Copy_Field(out + 40, arc.num_points(), SHP_LITTLE_ENDIAN);
  std::uint8_t* part = out + kArcFixedBytes;
  for (std::int32_t first : arc.parts) {
    SHP_Copy_Field(part, first, SHP_LITTLE_ENDIAN);
    part += 4;
  }
  std::uint8_t* point = part;
  for (const SHPVertex& v : arc.points) {
    SHP_Copy_Field(point, v.x);
    SHP_Copy_Field(point + 8, v.y);
    point += 16;
  }
}

SHPImage prepare_shape(const SHPArc& arc, std::int32_t size_type, const char* message) {
  const std::int32_t size = SHP_Record_Size(size_type, arc);
  if (size < 0) return {};
  SHPImage image = new_image(static_cast<std::size_t>(size), message);
  put_shape(arc, image.data());
  return image;
}

// Record contents go out in one write of writer.record_bytes single bytes.
int write_content(SHPWriter& writer, std::FILE* file, const std::uint8_t* image) {
  const auto size = static_cast<std::size_t>(writer.record_bytes);
  const std::size_t written = std::fwrite(image, 1, size, file);
  if (written < size)
    fatal(formatted("Error: numWritten in record header is = %d\n", static_cast<int>(written)));
  advance(writer.shp_offset, size);
  return 0;
}

// An image grown for an exceptional shape is given back after its record.
constexpr std::size_t kKeptShapeImage = std::size_t{1} << 20;

int write_shape(SHPWriter& writer, std::FILE* file, const SHPArc& arc, std::int32_t size_type,
                const char* message) {
  const std::int32_t size = SHP_Record_Size(size_type, arc);
  if (size < 0) return -1;
  writer.record_bytes = size;
  SHPImage& image = writer.shape_image;
  // Never shrunk: growing clears the new bytes, which are all written anyway.
  try {
    if (image.size() < static_cast<std::size_t>(size)) image.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    fatal(message);
  }
  put_shape(arc, image.data());
  const int result = write_content(writer, file, image.data());
  if (image.capacity() > kKeptShapeImage) SHPImage().swap(image);
  return result;
}

void put_record_header(SHPRecordHeader& record_header, std::uint8_t* out) {
  record_header.content_length /= 2;
  SHP_Copy_Field(out, record_header.record_number, SHP_BIG_ENDIAN);
  SHP_Copy_Field(out + 4, record_header.content_length, SHP_BIG_ENDIAN);
}

void put_point(const SHPPoint& point, std::uint8_t* out) {
  SHP_Copy_Field(out, point.shape_type, SHP_LITTLE_ENDIAN);
  SHP_Copy_Field(out + 4, point.x);
  SHP_Copy_Field(out + 12, point.y);
}

void put_index(SHPIndexEntry& entry, std::uint8_t* out) {
  entry.offset /= 2;
  entry.content_length /= 2;
  SHP_Copy_Field(out, entry.offset, SHP_BIG_ENDIAN);
  SHP_Copy_Field(out + 4, entry.content_length, SHP_BIG_ENDIAN);
}

}  // namespace

void SHP_Copy_Field(std::uint8_t* dest, std::int32_t value, int byte_order) {
  if (byte_order == SHP_BIG_ENDIAN)
    bytes::put_be32s(dest, value);
  else
    bytes::put_le32s(dest, value);
}

void SHP_Copy_Field(std::uint8_t* dest, double value) { bytes::put_le_double(dest, value); }

SHPHeader SHP_New_Header(SHPWriter& writer, std::int32_t shape_type) {
  SHPHeader header;
  header.file_code = 9994;
  header.file_length = 100;
  header.version = 1000;
  header.shape_type = shape_type;
  // A writer that wrote a pair before must not lend this pair its lengths.
  writer.shp_offset = static_cast<std::int32_t>(kHeaderBytes);
  writer.shx_offset = static_cast<std::int32_t>(kHeaderBytes);
  return header;
}

std::int32_t SHP_Record_Size(std::int32_t shape_type, const SHPArc& arc) {
  if (shape_type == SHP_POINT) return kPointBytes;
  if (shape_type != SHP_POLYLINE && shape_type != SHP_POLYGON) {
    show_message(formatted("Unknown shapeType = %d\n", shape_type));
    return -1;
  }
  const std::int64_t size = kArcFixedBytes + 4 * static_cast<std::int64_t>(arc.parts.size()) +
                            16 * static_cast<std::int64_t>(arc.points.size());
  if (size > std::numeric_limits<std::int32_t>::max()) {
    show_message(
        formatted("Error: shape of %zu points is too large for a shapefile\n", arc.points.size()));
    return -1;
  }
  return static_cast<std::int32_t>(size);
}

std::int32_t SHP_Record_Size(std::int32_t shape_type, const SHPPoint&) {
  return SHP_Record_Size(shape_type, SHPArc{});
}

SHPImage SHP_Prepare_Header(SHPHeader& header) {
  SHPImage image;
  try {
    image.assign(kHeaderBytes, 0);
  } catch (const std::bad_alloc&) {
    show_message("Error: malloc Header (SHP_Prepare_Header)\n");
    return {};
  }
  header.file_length /= 2;
  std::uint8_t* out = image.data();
  SHP_Copy_Field(out, header.file_code, SHP_BIG_ENDIAN);
  SHP_Copy_Field(out + 24, header.file_length, SHP_BIG_ENDIAN);
  SHP_Copy_Field(out + 28, header.version, SHP_LITTLE_ENDIAN);
  SHP_Copy_Field(out + 32, header.shape_type, SHP_LITTLE_ENDIAN);
  SHP_Copy_Field(out + 36, header.x_min);
  SHP_Copy_Field(out + 44, header.y_min);
  SHP_Copy_Field(out + 52, header.x_max);
  SHP_Copy_Field(out + 60, header.y_max);
  return image;
}

SHPImage SHP_Prepare_Point(const SHPPoint& point) {
  SHPImage image = new_image(kPointBytes, "Error: malloc rec (SHP_Prepare_Point)\n");
  put_point(point, image.data());
  return image;
}

SHPImage SHP_Prepare_Arc(const SHPArc& arc) { return prepare_shape(arc, SHP_POLYLINE, kArcFailed); }

SHPImage SHP_Prepare_Poly(const SHPArc& arc) {
  return prepare_shape(arc, SHP_POLYGON, kPolyFailed);
}

SHPImage SHP_Prepare_Index(SHPIndexEntry& entry) {
  SHPImage image = new_image(kIndexEntryBytes, "Error: malloc point (SHP_Prepare_Index)\n");
  put_index(entry, image.data());
  return image;
}

int SHP_Write_Header(std::FILE* file, SHPHeader& header) {
  const SHPImage image = SHP_Prepare_Header(header);
  if (image.empty()) return -1;
  const int rtn_code = std::fseek(file, 0, SEEK_SET);
  if (rtn_code != 0) fatal(formatted("ERROR: rtnCode = %d (SHP_Write_Header)\n", rtn_code));
  // The header is written first and last, so flushing here also brings to light any
  // earlier buffered write that the disk refused, before the caller closes the file.
  int num_written = static_cast<int>(std::fwrite(image.data(), image.size(), 1, file));
  if (num_written == 1 && std::fflush(file) != 0) num_written = 0;
  if (num_written != 1) fatal(formatted("Error: numWritten = %d\n", num_written));
  return 0;
}

// The per-record items are composed on the stack: an image each would cost an allocation.
int SHP_Write_Record_Header(SHPWriter& writer, std::FILE* file, SHPRecordHeader& record_header) {
  std::uint8_t image[kRecordHeaderBytes];
  put_record_header(record_header, image);
  const std::size_t written = std::fwrite(image, sizeof image, 1, file);
  if (written != 1)
    fatal(formatted("Error: numWritten in record header is = %d\n", static_cast<int>(written)));
  advance(writer.shp_offset, kRecordHeaderBytes);
  return 0;
}

int SHP_Write_Point(SHPWriter& writer, std::FILE* file, const SHPPoint& point) {
  std::uint8_t image[kPointBytes];
  put_point(point, image);
  writer.record_bytes = kPointBytes;
  return write_content(writer, file, image);
}

int SHP_Write_Arc(SHPWriter& writer, std::FILE* file, const SHPArc& arc) {
  return write_shape(writer, file, arc, SHP_POLYLINE, kArcFailed);
}

int SHP_Write_Poly(SHPWriter& writer, std::FILE* file, const SHPArc& arc) {
  return write_shape(writer, file, arc, SHP_POLYGON, kPolyFailed);
}

int SHP_Write_Index(SHPWriter& writer, std::FILE* file, SHPIndexEntry& entry) {
  std::uint8_t image[kIndexEntryBytes];
  put_index(entry, image);
  const std::size_t written = std::fwrite(image, sizeof image, 1, file);
  if (written != 1) {
    show_message(formatted("Error: numWritten in shp index is = %d\n", static_cast<int>(written)));
    return -1;
  }
  advance(writer.shx_offset, kIndexEntryBytes);
  return 0;
}

}  // namespace corvane::formats
