// Writes the two files of a shapefile pair (.shp and .shx) item by item. Each item is built
// as a byte image of exactly its size by a prepare routine and written by a write routine.
//
// Calling order for one pair:
//   1. open both files "wb"; header = SHP_New_Header(type);
//   2. SHP_Write_Header on the .shp, then on the .shx (placeholders);
//   3. SHP_Shp_Offset = 100, next-record offset = 100, box = {1e99, 1e99, -1e99, -1e99};
//   4. per shape n = 1, 2, ...: SHP_Write_Record_Header({n, content bytes});
//      SHP_Write_Point / SHP_Write_Arc / SHP_Write_Poly;
//      SHP_Write_Index({next-record offset, SHP_Record_Bytes}); next offset = SHP_Shp_Offset;
//      widen the box;
//   5. header.file_length = SHP_Shp_Offset, header box = box; rewind the .shp; SHP_Write_Header;
//   6. header.file_length = SHP_Shx_Offset; rewind the .shx; SHP_Write_Header;
//   7. close both files.
//
// The offsets advance by the bytes each routine writes (the header sets SHP_Shp_Offset to 100),
// so they match the files' positions only while the pair is written in this order.
//
// Write failures are fatal for the conversion (corvane::fatal: message, then FatalError),
// except a short index entry write, which is reported and answered with -1.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "formats/shp_counters.h"
#include "formats/shp_records.h"

namespace corvane::formats {

using SHPImage = std::vector<std::uint8_t>;

inline constexpr int SHP_LITTLE_ENDIAN = 0;
inline constexpr int SHP_BIG_ENDIAN = 1;

// Puts `value` at `dest` in the requested order (SHP_LITTLE_ENDIAN or SHP_BIG_ENDIAN),
// whatever the host's order.
void SHP_Copy_Field(std::uint8_t* dest, std::int32_t value, int byte_order);
// Doubles are always little-endian in a shapefile.
void SHP_Copy_Field(std::uint8_t* dest, double value);

// File code 9994, file length 100 bytes, version 1000, `shape_type`, a zero bounding box.
// Starts a new pair: both offset counters go to 100 (the bare headers).
SHPHeader SHP_New_Header(std::int32_t shape_type);

// Content length in bytes: 20 for type 1; 44 + 4 x parts + 16 x points for types 3 and 5.
// Any other type is reported ("Unknown shapeType = %d\n") and refused with -1.
std::int32_t SHP_Record_Size(std::int32_t shape_type, const SHPArc& arc);
std::int32_t SHP_Record_Size(std::int32_t shape_type, const SHPPoint& point);

// Images. The header, record header and index preparers halve the record's byte counts
// in place; the content preparers set SHP_Record_Bytes. An empty image means the item
// could not be prepared (already reported).
SHPImage SHP_Prepare_Header(SHPHeader& header);
SHPImage SHP_Prepare_Record_Header(SHPRecordHeader& record_header);
SHPImage SHP_Prepare_Point(const SHPPoint& point);
SHPImage SHP_Prepare_Arc(const SHPArc& arc);
SHPImage SHP_Prepare_Poly(const SHPArc& arc);
SHPImage SHP_Prepare_Index(SHPIndexEntry& entry);

// Seeks to byte 0 and writes the 100-byte header. 0, or -1 when no image could be prepared.
int SHP_Write_Header(std::FILE* file, SHPHeader& header);
// 8 bytes at the current position. 0.
int SHP_Write_Record_Header(std::FILE* file, SHPRecordHeader& record_header);
// Record contents at the current position; each sets SHP_Shp_Offset afterwards. 0.
int SHP_Write_Point(std::FILE* file, const SHPPoint& point);
int SHP_Write_Arc(std::FILE* file, const SHPArc& arc);
int SHP_Write_Poly(std::FILE* file, const SHPArc& arc);
// 8 bytes at the current position; sets SHP_Shx_Offset. 0, or -1 when the write fell short.
int SHP_Write_Index(std::FILE* file, SHPIndexEntry& entry);

}  // namespace corvane::formats
