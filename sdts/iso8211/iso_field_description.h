// One field of the DDR: what its data records' fields hold and how they are cut into values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sdts/iso8211/iso_format_node.h"
#include "sdts/iso8211/iso_format_walk.h"
#include "sdts/iso8211/iso_labels.h"

namespace corvane::iso8211 {

struct IsoFieldDescription {
  std::string tag;
  std::int32_t field_length = 0;
  std::int32_t field_position = 0;
  std::string field_controls;  // empty at interchange level 1
  std::string field_name;
  std::int32_t number_of_dimensions = 0;  // from a numeric array descriptor; 0 when none
  std::vector<std::int32_t> dimension_extents;
  std::int32_t first_extent = 0;
  std::optional<IsoLabels> labels;
  std::optional<IsoFormatNode> formats;  // the root
  IsoFormatSequence format_sequence;     // laid out once the whole DDR is read
  // As written in the DDR, for dumps.
  std::string array_descriptor_text;
  std::string format_controls_text;

  char structure_code() const { return field_controls.empty() ? 0 : field_controls[0]; }
  // Every format has a width: the field's length does not depend on its data.
  bool has_fixed_length() const;
};

}  // namespace corvane::iso8211
