#include "dlgopt/shapefile_pair.h"

#include <algorithm>

#include "formats/shapefile_writer.h"

namespace corvane::dlgopt {

using namespace corvane::formats;

void BoundingBox::widen(double x, double y) {
  x_min = std::min(x_min, x);
  y_min = std::min(y_min, y);
  x_max = std::max(x_max, x);
  y_max = std::max(y_max, y);
}

void BoundingBox::widen(const BoundingBox& other) {
  x_min = std::min(x_min, other.x_min);
  y_min = std::min(y_min, other.y_min);
  x_max = std::max(x_max, other.x_max);
  y_max = std::max(y_max, other.y_max);
}

ShapefilePair::ShapefilePair(std::FILE* shp, std::FILE* shx, std::int32_t shape_type)
    : shp_(shp), shx_(shx), header_(SHP_New_Header(shape_type)) {
  SHP_Write_Header(shp_, header_);
  header_.file_length = 100;  // the write left it in words
  SHP_Write_Header(shx_, header_);
  // Both counters are shared by every pair; a pair without records must not report
  // the length of the previous pair's index.
  SHP_Shp_Offset = 100;
  SHP_Shx_Offset = 100;
}

void ShapefilePair::begin_record(std::int32_t content_bytes) {
  SHPRecordHeader record{++records_, content_bytes};
  SHP_Write_Record_Header(shp_, record);
}

void ShapefilePair::end_record() {
  SHPIndexEntry entry{next_offset_, SHP_Record_Bytes};
  SHP_Write_Index(shx_, entry);
  next_offset_ = SHP_Shp_Offset;
}

void ShapefilePair::add_point(double x, double y) {
  const SHPPoint point{SHP_POINT, x, y};
  begin_record(SHP_Record_Size(SHP_POINT, point));
  SHP_Write_Point(shp_, point);
  end_record();
  box_.widen(x, y);
}

void ShapefilePair::add_arc(const SHPArc& arc) {
  begin_record(SHP_Record_Size(arc.shape_type, arc));
  if (arc.shape_type == SHP_POLYGON) {
    SHP_Write_Poly(shp_, arc);
  } else {
    SHP_Write_Arc(shp_, arc);
  }
  end_record();
  box_.widen(BoundingBox{arc.x_min, arc.y_min, arc.x_max, arc.y_max});
}

void ShapefilePair::finish() {
  header_.x_min = box_.x_min;
  header_.y_min = box_.y_min;
  header_.x_max = box_.x_max;
  header_.y_max = box_.y_max;
  header_.file_length = SHP_Shp_Offset;
  SHP_Write_Header(shp_, header_);
  header_.file_length = SHP_Shx_Offset;
  SHP_Write_Header(shx_, header_);
}

}  // namespace corvane::dlgopt
