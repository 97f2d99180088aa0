#include "tools/iso8211_fixture/iso8211_fixture.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "platform/byte_order.h"

namespace corvane::iso_fixture {

namespace {

std::string digits(long long v, int width) {
  std::string s = std::to_string(v);
  if (static_cast<int>(s.size()) > width)
    throw std::invalid_argument("fixture: number too wide: " + s);
  return std::string(width - s.size(), '0') + s;
}

int digit_count(long long v) { return static_cast<int>(std::to_string(v).size()); }

std::string binary32(std::int32_t v, bool big_endian) {
  std::uint8_t b[4];
  if (big_endian)
    bytes::put_be32s(b, v);
  else
    bytes::put_le32s(b, v);
  return std::string(reinterpret_cast<const char*>(b), 4);
}

std::string field_data(const Field& field) {
  std::string out;
  for (std::size_t i = 0; i < field.values.size(); ++i) {
    const Value& v = field.values[i];
    out += v.bytes();
    // Real transfers end the last value with the field terminator alone.
    if (v.delimiter() != 0 && i + 1 < field.values.size()) out += v.delimiter();
  }
  if (field.terminated) out += kFieldTerminator;
  return out;
}

}  // namespace

Value delimited(std::string text, char delimiter) { return Value(std::move(text), delimiter); }
Value fixed(std::string text) { return Value(std::move(text), 0); }
Value raw(std::string bytes) { return Value(std::move(bytes), 0); }
Value be32(std::int32_t v) { return raw(binary32(v, true)); }
Value le32(std::int32_t v) { return raw(binary32(v, false)); }

std::string make_record(char leader_id, int level, int field_control_length,
                        const std::vector<std::pair<std::string, std::string>>& fields,
                        bool zero_record_length) {
  if (fields.empty()) throw std::invalid_argument("fixture: a record needs at least one field");
  const std::size_t tag_size = fields.front().first.size();
  long long max_length = 0, position = 0;
  for (const auto& [tag, text] : fields) {
    if (tag.size() != tag_size || tag_size < 1 || tag_size > 7)
      throw std::invalid_argument("fixture: tags must all have the same size (1 to 7): " + tag);
    max_length = std::max<long long>(max_length, static_cast<long long>(text.size()));
    position += static_cast<long long>(text.size());
  }
  const long long last_position = position - static_cast<long long>(fields.back().second.size());
  const int size_of_length = std::max(1, digit_count(max_length));
  const int size_of_position = std::max(1, digit_count(last_position));
  if (size_of_length > 9 || size_of_position > 9)
    throw std::invalid_argument("fixture: field too long");

  std::string directory, area;
  position = 0;
  for (const auto& [tag, text] : fields) {
    directory += tag + digits(static_cast<long long>(text.size()), size_of_length) +
                 digits(position, size_of_position);
    position += static_cast<long long>(text.size());
    area += text;
  }
  directory += kFieldTerminator;
  const long long base = 24 + static_cast<long long>(directory.size());
  long long record_length = base + static_cast<long long>(area.size());
  if (zero_record_length || record_length > 99999) record_length = 0;

  std::string leader = digits(record_length, 5);
  if (leader_id == 'L') {
    leader += static_cast<char>('0' + level);
    leader += "L   ";
    leader += digits(field_control_length, 2);
  } else {
    leader += ' ';
    leader += leader_id;
    leader += "     ";
  }
  leader += digits(base, 5) + "   ";
  leader += static_cast<char>('0' + size_of_length);
  leader += static_cast<char>('0' + size_of_position);
  leader += '0';
  leader += static_cast<char>('0' + static_cast<int>(tag_size));
  return leader + directory + area;
}

Iso8211Builder::Iso8211Builder(DdrOptions options) : options_(std::move(options)) {
  if (options_.level < 1 || options_.level > 3)
    throw std::invalid_argument("fixture: level 1 to 3");
  if (options_.file_control_field) raw_field("0000", "0000;&", options_.title + kFieldTerminator);
}

Iso8211Builder& Iso8211Builder::raw_field(std::string tag, std::string controls, std::string text) {
  ddr_fields_.push_back({std::move(tag), (options_.level == 1 ? "" : controls) + text});
  return *this;
}

Iso8211Builder& Iso8211Builder::field(std::string tag, std::string controls, std::string name,
                                      std::string labels, std::string formats) {
  std::string text = name;
  if (options_.level > 1) {
    const bool elementary = !controls.empty() && controls[0] == '0';
    if (elementary) {
      if (!formats.empty()) text += kUnitTerminator + formats;
    } else if (!labels.empty() || !formats.empty()) {
      text += kUnitTerminator + labels;
      if (!formats.empty()) text += kUnitTerminator + formats;
    }
  }
  return raw_field(std::move(tag), std::move(controls), text + kFieldTerminator);
}

Iso8211Builder& Iso8211Builder::record(std::vector<Field> fields, char leader_id) {
  if (leader_id != 'D' && leader_id != 'R')
    throw std::invalid_argument("fixture: leader 'D' or 'R'");
  records_.push_back({leader_id, std::move(fields)});
  return *this;
}

std::vector<std::uint8_t> Iso8211Builder::ddr_bytes() const {
  std::vector<std::pair<std::string, std::string>> fields;
  for (const auto& f : ddr_fields_) fields.emplace_back(f.tag, f.text);
  const std::string ddr = make_record('L', options_.level, options_.level == 1 ? 0 : 6, fields,
                                      options_.zero_record_length);
  return {ddr.begin(), ddr.end()};
}

std::vector<std::uint8_t> Iso8211Builder::bytes() const {
  std::vector<std::uint8_t> out = ddr_bytes();
  bool reusing = false;
  for (const auto& r : records_) {
    std::vector<std::pair<std::string, std::string>> fields;
    for (const auto& f : r.fields) fields.emplace_back(f.tag, field_data(f));
    std::string bytes;
    if (reusing) {
      for (const auto& f : fields) bytes += f.second;
    } else {
      bytes = make_record(r.leader_id, 0, 0, fields, options_.zero_record_length);
      reusing = r.leader_id == 'R';
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

void Iso8211Builder::write(const std::string& path) const {
  const std::vector<std::uint8_t> data = bytes();
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f || std::fwrite(data.data(), 1, data.size(), f.get()) != data.size())
    throw std::runtime_error("fixture: cannot write " + path);
}

}  // namespace corvane::iso_fixture
