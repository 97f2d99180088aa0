// One field of the current data record, cut into values.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "sdts/iso8211/iso_field_description.h"
#include "sdts/iso8211/iso_format_node.h"

namespace corvane::iso8211 {

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
  void clear() { used_ = 0; }
  IsoValue add(std::string_view bytes, const IsoFormatNode* format) {
    const IsoValue value = take(bytes.size(), format);
    char* out = bytes_.data() + value.offset;
    // Coordinates, the bulk of every spatial module, are 4-byte binary values: a copy of a
    // known length needs no call into the C library.
    if (bytes.size() == 4)
      std::memcpy(out, bytes.data(), 4);
    else if (!bytes.empty())
      std::memcpy(out, bytes.data(), bytes.size());
    return value;
  }
  // Room for `size` bytes of a value to be filled in place (bit-packed binary values).
  IsoValue add_zeros(std::size_t size, const IsoFormatNode* format, char*& data) {
    const IsoValue value = take(size, format);
    data = bytes_.data() + value.offset;
    std::memset(data, 0, size);
    return value;
  }
  std::string_view bytes(const IsoValue& value) const {
    return value.present ? std::string_view(bytes_.data() + value.offset, value.length)
                         : std::string_view();
  }
  // The value as callers read it: binary values whole, character values as text ending at
  // their first zero byte.
  std::string_view text(const IsoValue& value) const {
    const std::string_view all = bytes(value);
    if (value.format != nullptr && value.format->is_binary()) return all;
    return all.substr(0, all.find('\0'));
  }

 private:
  IsoValue take(std::size_t size, const IsoFormatNode* format) {
    if (used_ + size > bytes_.size()) bytes_.resize(std::max(2 * bytes_.size(), used_ + size));
    const IsoValue value{static_cast<std::uint32_t>(used_), static_cast<std::uint32_t>(size), true,
                         format};
    used_ += size;
    return value;
  }

  std::vector<char> bytes_;
  std::size_t used_ = 0;
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

// The current data record's fields. The slots stay from record to record, so that a field
// reuses the value list of the field in the same place of the previous record instead of
// growing a new one value by value.
class IsoRecordFields {
 public:
  void clear() { count_ = 0; }
  // A new empty field at the end.
  IsoDataField& add() {
    if (count_ == slots_.size()) slots_.emplace_back();
    IsoDataField& field = slots_[count_++];
    field.number_of_dimensions = 0;
    field.dimension_extents.clear();
    field.values.clear();
    return field;
  }
  std::size_t size() const { return count_; }
  const IsoDataField& operator[](std::size_t i) const { return slots_[i]; }

 private:
  std::vector<IsoDataField> slots_;
  std::size_t count_ = 0;
};

}  // namespace corvane::iso8211
