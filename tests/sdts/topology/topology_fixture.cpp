#include "tests/sdts/topology/topology_fixture.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/byte_order.h"
#include "sdts/driver/conversion.h"

using namespace corvane::sdts;

namespace topo_test {

using namespace corvane::sdts_fixture;
namespace bytes = corvane::bytes;

namespace {

Value id_value(std::int32_t id, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%*d", width, id);
  return fixed(text);
}

std::string id_format(int width) { return "(A(4),I(" + std::to_string(width) + "))"; }

}  // namespace

TopoTransfer::TopoTransfer(const std::string& directory, const std::string& reference_system, double scale)
    : transfer_(directory, "TR01") {
  transfer_.iden({});
  transfer_.iref({.sfax = scale, .sfay = scale, .xorg = 0.0, .yorg = 0.0, .format = 'R'});
  transfer_.xref({reference_system, "NAS", "19"});
}

void TopoTransfer::lines(const std::string& name, const std::vector<TestLine>& lines, int id_width) {
  Module& m = transfer_.module(name, "Line");
  const std::string ids = id_format(id_width);
  m.builder.field("LINE", "1600;&", "LINE", "MODN!RCID!OBRP", "(A(4),I(" + std::to_string(id_width) + "),A(2))")
      .field("ATID", "2600;&", "ATTRIBUTE ID", "*MODN!RCID", ids)
      .field("PIDL", "1600;&", "POLYGON ID LEFT", "MODN!RCID", ids)
      .field("PIDR", "1600;&", "POLYGON ID RIGHT", "MODN!RCID", ids)
      .field("SNID", "1600;&", "STARTNODE ID", "MODN!RCID", ids)
      .field("ENID", "1600;&", "ENDNODE ID", "MODN!RCID", ids)
      .field("SADR", "2600;&", "SPATIAL ADDRESS", "*X!Y", "((2B(32)))");
  for (const TestLine& line : lines) {
    std::vector<Field> fields;
    fields.push_back({"LINE", {fixed(name), id_value(line.id, id_width), fixed("LE")}});
    if (!line.attributes.empty()) {
      Field atid{"ATID", {}};
      for (const auto& [module, record] : line.attributes) {
        atid.values.push_back(fixed(module));
        atid.values.push_back(id_value(record, id_width));
      }
      fields.push_back(atid);
    }
    fields.push_back({"PIDL", {fixed("PC01"), id_value(line.left, id_width)}});
    fields.push_back({"PIDR", {fixed("PC01"), id_value(line.right, id_width)}});
    fields.push_back({"SNID", {fixed("NO01"), id_value(line.start_node, id_width)}});
    fields.push_back({"ENID", {fixed("NO01"), id_value(line.end_node, id_width)}});
    if (!line.points.empty()) {
      Field sadr{"SADR", {}};
      for (const Point& p : line.points) {
        sadr.values.push_back(be32(p.x));
        sadr.values.push_back(be32(p.y));
      }
      fields.push_back(sadr);
    }
    m.add(fields);
  }
}

void TopoTransfer::points(const std::string& name, const std::vector<TestPoint>& points) {
  Module& m = transfer_.module(name, "Point-Node");
  m.builder.field("PNTS", "1600;&", "POINT-NODE", "MODN!RCID!OBRP", "(A(4),I(6),A(2))")
      .field("SADR", "1600;&", "SPATIAL ADDRESS", "X!Y", "(2B(32))")
      .field("ARID", "1600;&", "AREA ID", "MODN!RCID", "(A(4),I(6))");
  for (const TestPoint& p : points) {
    std::vector<Field> fields;
    fields.push_back({"PNTS", {fixed(name), id_value(p.id, 6), fixed(name.substr(0, 2))}});
    for (const Point& xy : p.point) fields.push_back({"SADR", {be32(xy.x), be32(xy.y)}});
    if (p.area != 0) fields.push_back({"ARID", {fixed("PC01"), id_value(p.area, 6)}});
    m.add(fields);
  }
}

std::string TopoTransfer::convert(const std::string& output_parent, int expected_result) {
  transfer_.stat();
  const std::string catalog = transfer_.write();
  EXPECT_EQ(SDTS_Convert(catalog.c_str(), output_parent.c_str()), expected_result);
  std::string names = read_text(output_parent + "/names.txt");
  return output_parent + "/" + names.substr(0, names.find('\n'));
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string read_text(const std::string& path) {
  const std::vector<std::uint8_t> data = read_bytes(path);
  return {data.begin(), data.end()};
}

Shapefile read_shapefile(const std::string& stem) {
  Shapefile shp;
  const std::vector<std::uint8_t> data = read_bytes(stem + ".shp");
  const std::vector<std::uint8_t> index = read_bytes(stem + ".shx");
  if (data.size() < 100 || index.size() < 100) {
    ADD_FAILURE() << "no shapefile " << stem;
    return shp;
  }
  shp.file_length = bytes::get_be32s(&data[24]) * 2;
  shp.shape_type = bytes::get_le32s(&data[32]);
  for (int k = 0; k < 4; ++k) shp.box[k] = bytes::get_le_double(&data[36 + 8 * k]);
  for (std::size_t at = 100; at + 8 <= index.size(); at += 8) {
    shp.index.emplace_back(bytes::get_be32s(&index[at]) * 2, bytes::get_be32s(&index[at + 4]) * 2);
  }
  std::size_t at = 100;
  while (at + 12 <= data.size()) {
    ShpRecord r;
    r.number = bytes::get_be32s(&data[at]);
    r.content_length = bytes::get_be32s(&data[at + 4]) * 2;
    const std::uint8_t* c = &data[at + 8];
    r.shape_type = bytes::get_le32s(c);
    if (r.shape_type == 1) {
      r.points.emplace_back(bytes::get_le_double(c + 4), bytes::get_le_double(c + 12));
    } else {
      for (int k = 0; k < 4; ++k) r.box[k] = bytes::get_le_double(c + 4 + 8 * k);
      const std::int32_t parts = bytes::get_le32s(c + 36);
      const std::int32_t points = bytes::get_le32s(c + 40);
      for (std::int32_t k = 0; k < parts; ++k) r.parts.push_back(bytes::get_le32s(c + 44 + 4 * k));
      const std::uint8_t* p = c + 44 + 4 * parts;
      for (std::int32_t k = 0; k < points; ++k) {
        r.points.emplace_back(bytes::get_le_double(p + 16 * k), bytes::get_le_double(p + 16 * k + 8));
      }
    }
    at += 8 + static_cast<std::size_t>(r.content_length);
    shp.records.push_back(std::move(r));
  }
  return shp;
}

DbfTable read_dbf(const std::string& path) {
  DbfTable t;
  const std::vector<std::uint8_t> data = read_bytes(path);
  if (data.size() < 32) {
    ADD_FAILURE() << "no table " << path;
    return t;
  }
  t.records = bytes::get_le32(&data[4]);
  t.header_length = bytes::get_le16(&data[8]);
  t.record_length = bytes::get_le16(&data[10]);
  for (std::size_t at = 32; at + 32 <= t.header_length; at += 32) {
    t.field_names.emplace_back(reinterpret_cast<const char*>(&data[at]));
  }
  std::size_t at = t.header_length;
  for (std::uint32_t k = 0; k < t.records && at + t.record_length <= data.size(); ++k) {
    t.rows.emplace_back(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + t.record_length));
    at += t.record_length;
  }
  t.tail.assign(data.begin() + static_cast<long>(std::min(at, data.size())), data.end());
  return t;
}

double signed_area(const std::vector<std::pair<double, double>>& ring) {
  double twice = 0.0;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
    twice += ring[i].first * ring[i + 1].second - ring[i + 1].first * ring[i].second;
  }
  return twice / 2.0;
}

std::vector<std::pair<double, double>> part_points(const ShpRecord& record, std::size_t k) {
  const std::size_t begin = static_cast<std::size_t>(record.parts[k]);
  const std::size_t end = k + 1 < record.parts.size() ? static_cast<std::size_t>(record.parts[k + 1]) : record.points.size();
  return {record.points.begin() + static_cast<long>(begin), record.points.begin() + static_cast<long>(end)};
}

}  // namespace topo_test
