#include "tests/support/output_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/byte_order.h"

namespace corvane::test {

namespace {

const std::uint8_t* at(const std::string& data, std::size_t offset) {
  return reinterpret_cast<const std::uint8_t*>(data.data()) + offset;
}

}  // namespace

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_file(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

std::vector<XY> ShpRecord::part(std::size_t k) const {
  const auto end = k + 1 < parts.size() ? points.begin() + parts[k + 1] : points.end();
  return {points.begin() + parts[k], end};
}

Shapefile read_shapefile(const std::string& stem) {
  Shapefile shp;
  const std::string data = read_file(stem + ".shp"), index = read_file(stem + ".shx");
  if (data.size() < 100 || index.size() < 100) {
    ADD_FAILURE() << "no shapefile " << stem;
    return shp;
  }
  shp.file_length = bytes::get_be32s(at(data, 24)) * 2;
  shp.shape_type = bytes::get_le32s(at(data, 32));
  for (int k = 0; k < 4; ++k) shp.box[k] = bytes::get_le_double(at(data, 36 + 8 * k));
  for (std::size_t i = 100; i + 8 <= index.size(); i += 8)
    shp.index.emplace_back(bytes::get_be32s(at(index, i)) * 2,
                           bytes::get_be32s(at(index, i + 4)) * 2);
  for (std::size_t i = 100; i + 12 <= data.size();
       i += 8 + static_cast<std::size_t>(shp.records.back().content_length)) {
    ShpRecord& r = shp.records.emplace_back();
    r.number = bytes::get_be32s(at(data, i));
    r.content_length = bytes::get_be32s(at(data, i + 4)) * 2;
    const std::uint8_t* c = at(data, i + 8);
    r.shape_type = bytes::get_le32s(c);
    if (r.shape_type == 1) {
      r.points.emplace_back(bytes::get_le_double(c + 4), bytes::get_le_double(c + 12));
      continue;
    }
    for (int k = 0; k < 4; ++k) r.box[k] = bytes::get_le_double(c + 4 + 8 * k);
    const std::int32_t parts = bytes::get_le32s(c + 36), points = bytes::get_le32s(c + 40);
    for (std::int32_t k = 0; k < parts; ++k) r.parts.push_back(bytes::get_le32s(c + 44 + 4 * k));
    const std::uint8_t* p = c + 44 + 4 * parts;
    for (std::int32_t k = 0; k < points; ++k)
      r.points.emplace_back(bytes::get_le_double(p + 16 * k), bytes::get_le_double(p + 16 * k + 8));
  }
  return shp;
}

DbfTable read_dbf(const std::string& path) {
  DbfTable t;
  const std::string data = read_file(path);
  t.file_size = data.size();
  if (data.size() < 32) {
    ADD_FAILURE() << "no table " << path;
    return t;
  }
  t.records = bytes::get_le32(at(data, 4));
  t.header_length = bytes::get_le16(at(data, 8));
  t.record_length = bytes::get_le16(at(data, 10));
  for (std::size_t i = 32; i + 32 <= t.header_length; i += 32) {
    const std::string d = data.substr(i, 32);
    std::string text = d.substr(0, d.find('\0')) + " " + d[11] + "(" +
                       std::to_string(static_cast<unsigned char>(d[16]));
    if (d[17] != 0) text += "." + std::to_string(static_cast<int>(d[17]));
    t.fields.push_back(text + ")");
  }
  std::size_t i = t.header_length;
  for (std::uint32_t k = 0; k < t.records && i + t.record_length <= data.size();
       ++k, i += t.record_length)
    t.rows.push_back(data.substr(i, t.record_length));
  t.tail = data.substr(std::min(i, data.size()));
  return t;
}

double signed_area(const std::vector<XY>& ring) {
  double twice = 0.0;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i)
    twice += ring[i].first * ring[i + 1].second - ring[i + 1].first * ring[i].second;
  return twice / 2.0;
}

}  // namespace corvane::test
