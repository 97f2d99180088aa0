#include "sdts/topology/shape_pair.h"

#include "formats/layer_reference.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

using namespace corvane::formats;

bool ShapePair::open_shp(const std::string& path) {
  shp_ = open_c_file(path, "wb", kBulkStreamBuffer);
  shp_path_ = path;
  WORK_LINE(path);
  return shp_ != nullptr;
}

bool ShapePair::open_shx(const std::string& path) {
  shx_ = open_c_file(path, "wb", kBulkStreamBuffer);
  return shx_ != nullptr;
}

void ShapePair::begin(std::int32_t shape_type) {
  header_ = SHP_New_Header(shape_type);
  SHP_Write_Header(shp_.get(), header_);
  SHP_Write_Header(shx_.get(), header_);
  SHP_Shp_Offset = 100;
  next_offset_ = 100;
}

void ShapePair::write_index() {
  SHPIndexEntry entry{next_offset_, SHP_Record_Bytes};
  SHP_Write_Index(shx_.get(), entry);
  next_offset_ = SHP_Shp_Offset;
}

void ShapePair::write_point(std::int32_t number, const SHPPoint& point) {
  SHPRecordHeader record_header{number, 20};
  SHP_Write_Record_Header(shp_.get(), record_header);
  SHP_Write_Point(shp_.get(), point);
  write_index();
}

void ShapePair::write_arc(std::int32_t number, const SHPArc& arc) {
  SHPRecordHeader record_header{number, SHP_Record_Size(SHP_POLYLINE, arc)};
  SHP_Write_Record_Header(shp_.get(), record_header);
  SHP_Write_Arc(shp_.get(), arc);
  write_index();
}

void ShapePair::write_poly(std::int32_t number, const SHPArc& arc) {
  SHPRecordHeader record_header{number, SHP_Record_Size(SHP_POLYGON, arc)};
  SHP_Write_Record_Header(shp_.get(), record_header);
  SHP_Write_Poly(shp_.get(), arc);
  write_index();
}

void ShapePair::finish(const BoundingBox& box) {
  header_.file_length = SHP_Shp_Offset;
  header_.x_min = box.x_min;
  header_.x_max = box.x_max;
  header_.y_min = box.y_min;
  header_.y_max = box.y_max;
  SHP_Write_Header(shp_.get(), header_);
  header_.file_length = SHP_Shx_Offset;
  SHP_Write_Header(shx_.get(), header_);
  shp_.reset();
  shx_.reset();
  PRJ_Finish_Layer(shp_path_);
}

}  // namespace corvane::sdts
