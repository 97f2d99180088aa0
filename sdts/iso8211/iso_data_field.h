// One field of the current data record, cut into values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sdts/iso8211/iso_field_description.h"
#include "sdts/iso8211/iso_format_node.h"

// A value's bytes live in the record's value store (IsoValueStore), one after another, so
// that cutting a record allocates nothing once the store has grown to the module's records.
struct IsoValue {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  bool present = false;                   // false for an empty character value
  const IsoFormatNode* format = nullptr;  // the format it was cut with; null when none
};

// The bytes of every value of the current record.
class IsoValueStore {
 public:
  void clear() { bytes_.clear(); }
  IsoValue add(std::string_view bytes, const IsoFormatNode* format) {
    IsoValue value{static_cast<std::uint32_t>(bytes_.size()), static_cast<std::uint32_t>(bytes.size()),
                   true, format};
    bytes_.append(bytes);
    return value;
  }
  // Room for `size` bytes of a value to be filled in place (bit-packed binary values).
  IsoValue add_zeros(std::size_t size, const IsoFormatNode* format, char*& data) {
    IsoValue value{static_cast<std::uint32_t>(bytes_.size()), static_cast<std::uint32_t>(size), true, format};
    bytes_.append(size, '\0');
    data = bytes_.data() + value.offset;
    return value;
  }
  std::string_view bytes(const IsoValue& value) const {
    return value.present ? std::string_view(bytes_.data() + value.offset, value.length) : std::string_view();
  }

 private:
  std::string bytes_;
};

struct IsoDataField {
  std::string tag;
  const IsoFieldDescription* description = nullptr;
  std::int32_t field_length = 0;
  std::int32_t field_position = 0;
  std::int32_t number_of_dimensions = 0;  // read from the record's data; 0 when none
  std::vector<std::int32_t> dimension_extents;
  std::vector<IsoValue> values;  // in delivery order
};
