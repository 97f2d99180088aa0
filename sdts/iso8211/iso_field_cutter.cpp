#include "sdts/iso8211/iso_field_cutter.h"

#include <cstring>
#include <string_view>

#include "sdts/iso8211/iso_format_walk.h"
#include "sdts/iso8211/iso_limits.h"
#include "sdts/iso8211/iso_text.h"

namespace corvane::iso8211 {

namespace {

// The bytes of one field and the reading position in them, down to the bit for bit-packed
// binary subfields.
class FieldCursor {
 public:
  FieldCursor(const char* data, std::size_t size, bool open)
      : data_(data), size_(size), open_(open) {}

  // Running out of bytes: a damaged field when its length is known, else the field goes on
  // beyond the bytes given.
  IsoCutResult short_read() const { return open_ ? IsoCutResult::need_more : IsoCutResult::failed; }

  bool at_end() const { return pos_ >= size_; }
  // The field terminator at the reading position ends the field (and is no value of `next`).
  // After a value ended by its delimiter it ends an empty last value instead ("72^_^^" holds
  // "72" and an empty value); when the field's end is open, it may be data of a binary format.
  bool field_ends_here(const IsoFormatNode& next) const {
    if (bit_ != 0 || pos_ >= size_ || data_[pos_] != ISO_FIELD_TERMINATOR) return false;
    if (!open_ && pos_ + 1 != size_) return false;
    if (next.width == 0) return !after_delimiter_;
    return !(open_ && next.is_fixed_binary());
  }
  void skip_terminator() { ++pos_; }
  std::size_t position() const { return pos_; }
  bool ended() const { return ended_; }

  // A character subfield starts on a byte boundary: the rest of a bit-packed byte is dropped.
  void align() {
    after_delimiter_ = false;
    if (bit_ != 0) {
      ++pos_;
      bit_ = 0;
    }
  }

  IsoCutResult take_bits(const IsoFormatNode& format, IsoValueStore& store, IsoValue& value) {
    after_delimiter_ = false;
    const std::int32_t width = format.width;
    const std::uint64_t available = (std::uint64_t{size_} - std::min(pos_, size_)) * 8;
    if (pos_ >= size_ || std::uint64_t(width) + bit_ > available) return short_read();
    const std::size_t out_size = (static_cast<std::size_t>(width) + 7) / 8;
    if (bit_ == 0 && width % 8 == 0) {
      value = store.add(std::string_view(data_ + pos_, out_size), &format);
    } else {
      char* out = nullptr;
      value = store.add_zeros(out_size, &format, out);
      for (std::int32_t i = 0; i < width; ++i) {
        const std::size_t source = pos_ * 8 + bit_ + static_cast<std::size_t>(i);
        const int bit = (static_cast<unsigned char>(data_[source / 8]) >> (7 - source % 8)) & 1;
        out[i / 8] = static_cast<char>(out[i / 8] | (bit << (7 - i % 8)));
      }
    }
    const std::size_t next = pos_ * 8 + bit_ + static_cast<std::size_t>(width);
    pos_ = next / 8;
    bit_ = static_cast<int>(next % 8);
    return IsoCutResult::cut;
  }

  // "B" without a width: one digit d, d digits of a bit count b, then ceil(b/8) bytes.
  IsoCutResult take_counted_binary(std::string_view& out) {
    align();
    if (at_end()) return short_read();
    const char d = data_[pos_];
    if (d < '0' || d > '9') return IsoCutResult::failed;
    const std::size_t digits = static_cast<std::size_t>(d - '0');
    if (size_ - pos_ < 1 + digits) return short_read();
    const std::int32_t bits = Iso_Decimal(std::string_view(data_ + pos_ + 1, digits));
    if (bits < 0) return IsoCutResult::failed;
    const std::size_t total = 1 + digits + (static_cast<std::size_t>(bits) + 7) / 8;
    if (size_ - pos_ < total) return short_read();
    out = std::string_view(data_ + pos_, total);
    pos_ += total;
    return IsoCutResult::cut;
  }

  // `width` characters; a field terminator in the last of them ends the value and the field.
  IsoCutResult take_fixed(std::int32_t width, std::string_view& out) {
    align();
    const std::size_t w = static_cast<std::size_t>(width);
    for (std::size_t i = 0; i < w; ++i) {
      if (pos_ + i >= size_) return short_read();
      if (data_[pos_ + i] != ISO_FIELD_TERMINATOR) continue;
      if (i + 1 < w) return IsoCutResult::failed;
      out = std::string_view(data_ + pos_, i);
      pos_ += w;
      ended_ = true;
      return IsoCutResult::cut;
    }
    out = std::string_view(data_ + pos_, w);
    pos_ += w;
    return IsoCutResult::cut;
  }

  // Characters up to `delimiter` (consumed) or up to the field terminator, which ends the field.
  IsoCutResult take_delimited(char delimiter, std::string_view& out) {
    align();
    for (std::size_t i = pos_; i < size_; ++i) {
      if (i - pos_ > ISO_SCRATCH_SIZE) return IsoCutResult::failed;
      if (data_[i] != delimiter && data_[i] != ISO_FIELD_TERMINATOR) continue;
      out = std::string_view(data_ + pos_, i - pos_);
      ended_ = data_[i] == ISO_FIELD_TERMINATOR;
      after_delimiter_ = !ended_;
      pos_ = i + 1;
      return IsoCutResult::cut;
    }
    return short_read();
  }

 private:
  const char* data_;
  std::size_t size_;
  bool open_;
  std::size_t pos_ = 0;
  int bit_ = 0;  // bits of data_[pos_] already taken by bit-packed subfields
  bool ended_ = false;
  bool after_delimiter_ = false;  // the last value ended at its delimiter
};

IsoCutResult cut_value(FieldCursor& cursor, const IsoFormatNode& format, IsoValueStore& store,
                       IsoValue& value) {
  if (format.is_fixed_binary()) return cursor.take_bits(format, store, value);
  std::string_view bytes;
  IsoCutResult result;
  if (format.is_binary())
    result = cursor.take_counted_binary(bytes);
  else if (format.width > 0)
    result = cursor.take_fixed(format.width, bytes);
  else
    result =
        cursor.take_delimited(format.delimiter ? format.delimiter : ISO_UNIT_TERMINATOR, bytes);
  value.format = &format;
  if (result == IsoCutResult::cut && (!bytes.empty() || format.is_binary()))
    value = store.add(bytes, &format);
  return result;
}

bool has_data_dimensions(const IsoFieldDescription& d) {
  const char code = d.structure_code();
  return code != 0 && code != '0' && code != '1' && !d.labels && d.number_of_dimensions == 0;
}

// The number of dimensions and each extent, each ended by a unit terminator.
IsoCutResult cut_dimensions(std::string_view text, IsoDataField& field, std::size_t& used) {
  used = 0;
  auto next_number = [&](std::int32_t& n) {
    const std::size_t end = text.find(ISO_UNIT_TERMINATOR, used);
    if (end == std::string_view::npos) return false;
    n = Iso_Decimal(text.substr(used, end - used));
    used = end + 1;
    return true;
  };
  std::int32_t count = 0;
  if (!next_number(count) || count < 2) return IsoCutResult::failed;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t extent = 0;
    if (!next_number(extent)) return IsoCutResult::failed;
    field.dimension_extents.push_back(extent);
  }
  field.number_of_dimensions = count;
  return IsoCutResult::cut;
}

IsoCutResult cut_unformatted(const IsoFieldDescription& d, std::string_view text,
                             IsoValueStore& store, IsoDataField& field) {
  auto add_pieces = [&](std::string_view t) {
    Iso_For_Each_Value(
        t, [&](std::string_view piece) { field.values.push_back(store.add(piece, nullptr)); });
  };
  const std::string_view to_terminator = text.substr(0, text.find(ISO_FIELD_TERMINATOR));
  if (d.labels) {
    add_pieces(to_terminator);
  } else if (d.structure_code() == 0) {
    std::string_view whole = text;
    if (!whole.empty() && whole.back() == ISO_FIELD_TERMINATOR) whole.remove_suffix(1);
    field.values.push_back(whole.empty() ? IsoValue{} : store.add(whole, nullptr));
  } else if (d.structure_code() == '0' || d.structure_code() == '1') {
    add_pieces(text);
  } else {
    if (to_terminator.size() > ISO_SCRATCH_SIZE) return IsoCutResult::failed;
    std::size_t used = 0;
    if (has_data_dimensions(d) && cut_dimensions(to_terminator, field, used) != IsoCutResult::cut)
      return IsoCutResult::failed;
    add_pieces(to_terminator.substr(used));
  }
  return IsoCutResult::cut;
}

// The values of a field whose every value is one binary format of whole bytes lie at fixed
// steps: cut all at once, as the value-by-value walk below would. Its length is known: the
// values fill it, or all of it but a last field terminator (which wins when both fit).
IsoCutResult cut_whole_bytes(const IsoFormatNode& format, const char* data, std::size_t size,
                             IsoValueStore& store, IsoDataField& field) {
  const std::size_t step = static_cast<std::size_t>(format.width) / 8;
  std::size_t count = 0;
  if (size > step && (size - 1) % step == 0 && data[size - 1] == ISO_FIELD_TERMINATOR)
    count = (size - 1) / step;
  else if (size % step == 0)
    count = size / step;
  if (count == 0) return IsoCutResult::failed;
  const IsoValue all = store.add(std::string_view(data, count * step), &format);
  field.values.resize(count);
  for (std::size_t k = 0; k < count; ++k)
    field.values[k] = {all.offset + static_cast<std::uint32_t>(k * step),
                       static_cast<std::uint32_t>(step), true, &format};
  return IsoCutResult::cut;
}

// Text values of fixed widths, in a field of known length with no field terminator before its
// last byte, lie where their widths put them: cut as the value-by-value walk below would,
// without looking at each byte. A terminator as the last byte ends the field; inside the last
// value it cuts that value short.
IsoCutResult cut_fixed_text(const IsoFieldDescription& d, const char* data, std::size_t size,
                            IsoValueStore& store, IsoDataField& field) {
  const bool terminated = size > 0 && data[size - 1] == ISO_FIELD_TERMINATOR;
  const IsoValue all = store.add(std::string_view(data, size), nullptr);
  IsoFormatWalk walk(*d.formats, &d.format_sequence);
  std::size_t pos = 0;
  for (;;) {
    if (pos == size || (terminated && pos == size - 1 && !field.values.empty())) {
      return field.values.empty() ? IsoCutResult::failed : IsoCutResult::cut;
    }
    const IsoFormatNode& format = walk.next();
    const std::size_t width = static_cast<std::size_t>(format.width);
    if (pos + width > size) return IsoCutResult::failed;
    const bool last = terminated && pos + width == size;
    const std::size_t length = last ? width - 1 : width;
    field.values.push_back(length == 0
                               ? IsoValue{0, 0, false, &format}
                               : IsoValue{all.offset + static_cast<std::uint32_t>(pos),
                                          static_cast<std::uint32_t>(length), true, &format});
    if (last) return IsoCutResult::cut;
    pos += width;
  }
}

IsoCutResult cut_formatted(const IsoFieldDescription& d, FieldCursor& cursor, IsoValueStore& store,
                           IsoDataField& field) {
  IsoFormatWalk walk(*d.formats, &d.format_sequence);
  while (!cursor.ended()) {
    if (cursor.at_end()) {
      if (!field.values.empty()) break;
      return cursor.short_read();
    }
    const IsoFormatNode& format = walk.next();
    if (!field.values.empty() && cursor.field_ends_here(format)) {
      cursor.skip_terminator();
      break;
    }
    IsoValue value;
    const IsoCutResult result = cut_value(cursor, format, store, value);
    if (result != IsoCutResult::cut) return result;
    field.values.push_back(value);
  }
  return IsoCutResult::cut;
}

}  // namespace

IsoCutResult Iso_Cut_Field(const IsoFieldDescription& d, const char* data, std::size_t size,
                           IsoFieldExtent extent, IsoValueStore& store, IsoDataField& field,
                           std::size_t& consumed) {
  const bool open = extent == IsoFieldExtent::open;
  if (!d.formats) {
    // Without formats a field is text: its terminator is its end.
    if (open) {
      const void* end = std::memchr(data, ISO_FIELD_TERMINATOR, size);
      if (end == nullptr) return IsoCutResult::need_more;
      size = static_cast<std::size_t>(static_cast<const char*>(end) - data) + 1;
    }
    consumed = size;
    return cut_unformatted(d, std::string_view(data, size), store, field);
  }
  std::size_t used = 0;
  if (has_data_dimensions(d)) {
    const std::string_view text(data, size);
    if (cut_dimensions(text.substr(0, text.find(ISO_FIELD_TERMINATOR)), field, used) !=
        IsoCutResult::cut)
      return open && text.find(ISO_FIELD_TERMINATOR) == std::string_view::npos
                 ? IsoCutResult::need_more
                 : IsoCutResult::failed;
  }
  if (!open && used == 0 && d.format_sequence.only_whole_bytes != nullptr) {
    consumed = size;
    return cut_whole_bytes(*d.format_sequence.only_whole_bytes, data, size, store, field);
  }
  if (!open && used == 0 && d.format_sequence.only_fixed_text && size > 0 &&
      std::memchr(data, ISO_FIELD_TERMINATOR, size - 1) == nullptr) {
    consumed = size;
    return cut_fixed_text(d, data, size, store, field);
  }
  FieldCursor cursor(data + used, size - used, open);
  const IsoCutResult result = cut_formatted(d, cursor, store, field);
  consumed = used + cursor.position();
  if (!open) consumed = size;
  return result;
}

}  // namespace corvane::iso8211
