// One field of the current data record, cut into values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sdts/iso8211/iso_format_node.h"

struct IsoValue {
  std::optional<std::string> bytes;           // absent for an empty character value
  const IsoFormatNode* format = nullptr;      // the format it was cut with; null when none
};

struct IsoDataField {
  std::string tag;
  std::int32_t field_length = 0;
  std::int32_t field_position = 0;
  std::int32_t number_of_dimensions = 0;  // read from the record's data; 0 when none
  std::vector<std::int32_t> dimension_extents;
  std::vector<IsoValue> values;  // in delivery order
};
