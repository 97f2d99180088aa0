#include "formats/shapefile_pair.h"

#include "formats/layer_reference.h"

namespace corvane::formats {

bool ShapefilePair::open_shp(const std::string& path) {
  shp_ = open_c_file(path, "wb", kBulkStreamBuffer);
  shp_path_ = path;
  return shp_ != nullptr;
}

bool ShapefilePair::open_shx(const std::string& path) {
  shx_ = open_c_file(path, "wb", kBulkStreamBuffer);
  return shx_ != nullptr;
}

void ShapefilePair::begin(std::int32_t shape_type) {
  header_ = SHP_New_Header(writer_, shape_type);
  SHP_Write_Header(shp_.get(), header_);
  header_.file_length = 100;  // the write left it in words
  SHP_Write_Header(shx_.get(), header_);
}

void ShapefilePair::begin_record(std::int32_t content_bytes) {
  SHPRecordHeader record{++records_, content_bytes};
  SHP_Write_Record_Header(writer_, shp_.get(), record);
}

void ShapefilePair::end_record() {
  SHPIndexEntry entry{next_offset_, writer_.record_bytes};
  SHP_Write_Index(writer_, shx_.get(), entry);
  next_offset_ = writer_.shp_offset;
}

void ShapefilePair::add_point(const SHPPoint& point) {
  begin_record(SHP_Record_Size(SHP_POINT, point));
  SHP_Write_Point(writer_, shp_.get(), point);
  end_record();
  box_.widen(point.x, point.y);
}

void ShapefilePair::add_arc(const SHPArc& arc) {
  begin_record(SHP_Record_Size(arc.shape_type, arc));
  if (arc.shape_type == SHP_POLYGON) {
    SHP_Write_Poly(writer_, shp_.get(), arc);
  } else {
    SHP_Write_Arc(writer_, shp_.get(), arc);
  }
  end_record();
  box_.widen(BoundingBox::of(arc));
}

void ShapefilePair::finish() { finish(box_); }

void ShapefilePair::finish(const BoundingBox& box) {
  box.copy_to(header_);
  header_.file_length = writer_.shp_offset;
  SHP_Write_Header(shp_.get(), header_);
  header_.file_length = writer_.shx_offset;
  SHP_Write_Header(shx_.get(), header_);
  shp_.reset();
  shx_.reset();
  PRJ_Finish_Layer(shp_path_);
}

}  // namespace corvane::formats
