// A running bounding box; it starts empty (1e99, 1e99, -1e99, -1e99) and widens point by point.
#pragma once

#include <algorithm>

namespace corvane::formats {

struct BoundingBox {
  double x_min = 1e99, y_min = 1e99, x_max = -1e99, y_max = -1e99;

  // The box a shape or header carries (anything with x_min, y_min, x_max and y_max).
  template <typename Record>
  static BoundingBox of(const Record& record) {
    return {record.x_min, record.y_min, record.x_max, record.y_max};
  }

  void widen_x(double x) {
    x_min = std::min(x_min, x);
    x_max = std::max(x_max, x);
  }
  void widen_y(double y) {
    y_min = std::min(y_min, y);
    y_max = std::max(y_max, y);
  }
  void widen(double x, double y) {
    widen_x(x);
    widen_y(y);
  }
  void widen(const BoundingBox& other) {
    x_min = std::min(x_min, other.x_min);
    y_min = std::min(y_min, other.y_min);
    x_max = std::max(x_max, other.x_max);
    y_max = std::max(y_max, other.y_max);
  }

  // Puts the box into a shape or header.
  template <typename Record>
  void copy_to(Record& record) const {
    record.x_min = x_min;
    record.y_min = y_min;
    record.x_max = x_max;
    record.y_max = y_max;
  }
};

}  // namespace corvane::formats
