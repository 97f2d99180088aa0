// A running bounding box; it starts empty (1e99, 1e99, -1e99, -1e99) and widens point by point.
#pragma once

#include <algorithm>

struct BoundingBox {
  double x_min = 1e99, y_min = 1e99, x_max = -1e99, y_max = -1e99;

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
};
