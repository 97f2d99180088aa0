#include "dlgopt/polygon_staging.h"

#include <array>
#include <string>
#include <vector>

#include "dlgopt/run_state.h"
#include "platform/byte_order.h"

namespace corvane::dlgopt {

namespace {
// A polygon's content length (44 + 4 x rings + 16 x points bytes) must fit the 32-bit
// length of its record; this bound keeps it well inside.
constexpr std::int64_t kMostPolygonPoints = 100'000'000;
}  // namespace

bool PolygonStaging::open() {
  const std::array<std::pair<formats::CFile*, const char*>, 4> files = {
      {{&points_, "pts.tmp"}, {&heads_, "head.tmp"}, {&boxes_, "box.tmp"}, {&parts_, "parts.tmp"}}};
  for (const auto& [file, name] : files) {
    *file = formats::open_c_file(g_opt_work_file.file(name), "wb+");
    if (!*file) {
      report_output_failure(g_opt_work_file.file(name));
      return false;
    }
  }
  return true;
}

void PolygonStaging::begin_area(int area_id) {
  area_id_ = area_id;
  rings_ = 1;
  ring_points_ = 0;
  area_points_ = 0;
  box_ = formats::BoundingBox{};
}

void PolygonStaging::next_ring() {
  put_int(heads_.get(), static_cast<std::int32_t>(ring_points_));
  ring_points_ = 0;
  ++rings_;
}

void PolygonStaging::add_points(std::span<const formats::SHPVertex> points, bool reversed) {
  area_points_ += static_cast<std::int64_t>(points.size());
  if (area_points_ > kMostPolygonPoints) {
    opt_fatal("Area " + std::to_string(area_id_) + " has too many points for a shapefile");
  }
  for (std::size_t k = 0; k < points.size(); ++k) {
    const formats::SHPVertex& p = reversed ? points[points.size() - 1 - k] : points[k];
    put_double(points_.get(), p.x);
    put_double(points_.get(), p.y);
    box_.widen(p.x, p.y);
  }
  ring_points_ += static_cast<std::int64_t>(points.size());
}

void PolygonStaging::end_area() {
  put_int(parts_.get(), rings_);
  put_int(heads_.get(), static_cast<std::int32_t>(ring_points_));
  put_double(boxes_.get(), box_.x_min);
  put_double(boxes_.get(), box_.y_min);
  put_double(boxes_.get(), box_.x_max);
  put_double(boxes_.get(), box_.y_max);
}

void PolygonStaging::rewind() {
  for (formats::CFile* file : {&points_, &heads_, &boxes_, &parts_}) {
    if (std::fflush(file->get()) != 0) staging_failed();
    std::rewind(file->get());
  }
}

bool PolygonStaging::read_polygon(formats::SHPArc& polygon) {
  std::uint8_t first[4];
  if (std::fread(first, 1, sizeof first, parts_.get()) != sizeof first) return false;
  const std::int32_t rings = bytes::get_le32s(first);
  if (rings < 1 || rings > kMostPolygonPoints) staging_failed();

  polygon.shape_type = formats::SHP_POLYGON;
  polygon.parts.assign(static_cast<std::size_t>(rings), 0);
  std::int64_t total = 0;
  for (std::int32_t k = 0; k < rings; ++k) {
    polygon.parts[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(total);
    const std::int32_t count = get_int(heads_.get());
    if (count < 0) staging_failed();
    total += count;
    if (total > kMostPolygonPoints) staging_failed();
  }
  polygon.x_min = get_double(boxes_.get());
  polygon.y_min = get_double(boxes_.get());
  polygon.x_max = get_double(boxes_.get());
  polygon.y_max = get_double(boxes_.get());

  std::vector<std::uint8_t> raw(static_cast<std::size_t>(total) * 16);
  if (std::fread(raw.data(), 1, raw.size(), points_.get()) != raw.size()) staging_failed();
  polygon.points.resize(static_cast<std::size_t>(total));
  for (std::size_t j = 0; j < polygon.points.size(); ++j) {
    polygon.points[j].x = bytes::get_le_double(&raw[16 * j]);
    polygon.points[j].y = bytes::get_le_double(&raw[16 * j + 8]);
  }
  return true;
}

void PolygonStaging::put_int(std::FILE* file, std::int32_t value) {
  std::uint8_t raw[4];
  bytes::put_le32s(raw, value);
  if (std::fwrite(raw, 1, sizeof raw, file) != sizeof raw) staging_failed();
}

void PolygonStaging::put_double(std::FILE* file, double value) {
  std::uint8_t raw[8];
  bytes::put_le_double(raw, value);
  if (std::fwrite(raw, 1, sizeof raw, file) != sizeof raw) staging_failed();
}

std::int32_t PolygonStaging::get_int(std::FILE* file) {
  std::uint8_t raw[4];
  if (std::fread(raw, 1, sizeof raw, file) != sizeof raw) staging_failed();
  return bytes::get_le32s(raw);
}

double PolygonStaging::get_double(std::FILE* file) {
  std::uint8_t raw[8];
  if (std::fread(raw, 1, sizeof raw, file) != sizeof raw) staging_failed();
  return bytes::get_le_double(raw);
}

void PolygonStaging::staging_failed() {
  opt_fatal("Cannot write or read the polygon staging files in " + g_opt_work_file.directory());
}

}  // namespace corvane::dlgopt
