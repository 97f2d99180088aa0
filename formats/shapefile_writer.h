// Writes the two files of a shapefile pair (.shp and .shx) item by item. Each item is built
// as a byte image of exactly its size by a prepare routine and written by a write routine.
// What the routines keep between items lives in the pair's own SHPWriter, so pairs may be
// written side by side.
//
// Calling order for one pair (ShapefilePair follows it):
//   1. open both files "wb"; header = SHP_New_Header(writer, type);
//   2. SHP_Write_Header on the .shp, then on the .shx (placeholders);
//   3. next-record offset = 100, box = {1e99, 1e99, -1e99, -1e99};
//   4. per shape n = 1, 2, ...: SHP_Write_Record_Header(writer, {n, content bytes});
//      SHP_Write_Point / SHP_Write_Arc / SHP_Write_Poly;
//      SHP_Write_Index(writer, {next-record offset, writer.record_bytes});
//      next offset = writer.shp_offset; widen the box;
//   5. header.file_length = writer.shp_offset, header box = box; SHP_Write_Header on the .shp;
//   6. header.file_length = writer.shx_offset; SHP_Write_Header on the .shx;
//   7. close both files.
//
// The offsets advance by the bytes each routine writes, so they match the files' positions
// only while the pair is written in this order.
//
// Write failures are fatal for the conversion (corvane::fatal: message, then FatalError),
// except a short index entry write, which is reported and answered with -1.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "formats/shp_records.h"

namespace corvane::formats {

using SHPImage = std::vector<std::uint8_t>;

// The state of writing one shapefile pair.
struct SHPWriter {
  // Content length in bytes of the last Point, PolyLine or Polygon record written.
  std::int32_t record_bytes = 0;
  // The .shp file's position after the last header, record header or record content written.
  std::int32_t shp_offset = 100;
  // The .shx file's position after the last header or index entry written.
  std::int32_t shx_offset = 100;
  // PolyLine and Polygon records are composed here. It only grows, since a fresh image per
  // record would cost an allocation and a clearing of every byte.
  SHPImage shape_image;
};

inline constexpr int SHP_LITTLE_ENDIAN = 0;
inline constexpr int SHP_BIG_ENDIAN = 1;

// Puts `value` at `dest` in the requested order (SHP_LITTLE_ENDIAN or SHP_BIG_ENDIAN),
// whatever the host's order.
void SHP_Copy_Field(std::uint8_t* dest, std::int32_t value, int byte_order);
// Doubles are always little-endian in a shapefile.
void SHP_Copy_Field(std::uint8_t* dest, double value);

// File code 9994, file length 100 bytes, version 1000, `shape_type`, a zero bounding box.
// Starts a new pair on `writer`: both its offsets go to 100 (the bare headers).
SHPHeader SHP_New_Header(SHPWriter& writer, std::int32_t shape_type);

// Content length in bytes: 20 for type 1; 44 + 4 x parts + 16 x points for types 3 and 5.
// Any other type is reported ("Unknown shapeType = %d\n") and refused with -1.
std::int32_t SHP_Record_Size(std::int32_t shape_type, const SHPArc& arc);
std::int32_t SHP_Record_Size(std::int32_t shape_type, const SHPPoint& point);

// Images. The header and index preparers halve the record's byte counts in place; a content
// image is as long as its record's content. An empty image means the item could not be
// prepared (already reported).
SHPImage SHP_Prepare_Header(SHPHeader& header);
SHPImage SHP_Prepare_Point(const SHPPoint& point);
SHPImage SHP_Prepare_Arc(const SHPArc& arc);
SHPImage SHP_Prepare_Poly(const SHPArc& arc);
SHPImage SHP_Prepare_Index(SHPIndexEntry& entry);

// Seeks to byte 0 and writes the 100-byte header. 0, or -1 when no image could be prepared.
int SHP_Write_Header(std::FILE* file, SHPHeader& header);
// 8 bytes at the current position; advances writer.shp_offset. 0.
int SHP_Write_Record_Header(SHPWriter& writer, std::FILE* file, SHPRecordHeader& record_header);
// Record contents at the current position; each sets writer.record_bytes and advances
// writer.shp_offset. 0, or -1 when the shape cannot be written (already reported).
int SHP_Write_Point(SHPWriter& writer, std::FILE* file, const SHPPoint& point);
int SHP_Write_Arc(SHPWriter& writer, std::FILE* file, const SHPArc& arc);
int SHP_Write_Poly(SHPWriter& writer, std::FILE* file, const SHPArc& arc);
// 8 bytes at the current position; advances writer.shx_offset. 0, or -1 when the write
// fell short.
int SHP_Write_Index(SHPWriter& writer, std::FILE* file, SHPIndexEntry& entry);

}  // namespace corvane::formats
