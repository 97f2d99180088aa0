// Cuts one field of a data record into its values, by the field's description.
#pragma once

#include <cstddef>

#include "sdts/iso8211/iso_data_field.h"
#include "sdts/iso8211/iso_field_description.h"

namespace corvane::iso8211 {

enum class IsoCutResult {
  cut,        // the values are in the field
  need_more,  // open-ended: the field's end lies beyond the bytes given
  failed,     // malformed field
};

enum class IsoFieldExtent {
  // `size` is the field's length from the directory.
  known,
  // The field ends at its field terminator somewhere within `size` bytes. Used for records
  // that reuse an "R" leader's directory while their text fields vary in length.
  open,
};

// Cuts `data[0..size)` into `field.values` (and dimensions read from the data), their bytes
// appended to `store`; `consumed` is how many bytes the field took.
IsoCutResult Iso_Cut_Field(const IsoFieldDescription& description, const char* data,
                           std::size_t size, IsoFieldExtent extent, IsoValueStore& store,
                           IsoDataField& field, std::size_t& consumed);

}  // namespace corvane::iso8211
