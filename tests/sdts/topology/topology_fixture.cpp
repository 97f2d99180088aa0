#include "tests/sdts/topology/topology_fixture.h"

#include <cstdio>

#include "sdts/driver/conversion.h"

using namespace corvane::sdts;

namespace topo_test {

using namespace corvane::sdts_fixture;

namespace {

Value id_value(std::int32_t id, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%*d", width, id);
  return fixed(text);
}

}  // namespace

TopoTransfer::TopoTransfer(const std::string& directory, const std::string& reference_system,
                           double scale)
    : transfer_(directory, "TR01") {
  transfer_.iden({});
  transfer_.iref({.sfax = scale, .sfay = scale, .xorg = 0.0, .yorg = 0.0, .format = 'R'});
  transfer_.xref({reference_system, "NAS", "19"});
}

void TopoTransfer::lines(const std::string& name, const std::vector<TestLine>& lines,
                         int id_width) {
  Module& m = transfer_.module(name, "Line");
  const std::string ids = "(A(4),I(" + std::to_string(id_width) + "))";
  m.builder
      .field("LINE", "1600;&", "LINE", "MODN!RCID!OBRP",
             "(A(4),I(" + std::to_string(id_width) + "),A(2))")
      .field("PIDL", "1600;&", "POLYGON ID LEFT", "MODN!RCID", ids)
      .field("PIDR", "1600;&", "POLYGON ID RIGHT", "MODN!RCID", ids)
      .field("SNID", "1600;&", "STARTNODE ID", "MODN!RCID", ids)
      .field("ENID", "1600;&", "ENDNODE ID", "MODN!RCID", ids)
      .field("SADR", "2600;&", "SPATIAL ADDRESS", "*X!Y", "((2B(32)))");
  for (const TestLine& line : lines) {
    std::vector<Field> fields = {{"LINE", {fixed(name), id_value(line.id, id_width), fixed("LE")}},
                                 {"PIDL", {fixed("PC01"), id_value(line.left, id_width)}},
                                 {"PIDR", {fixed("PC01"), id_value(line.right, id_width)}},
                                 {"SNID", {fixed("NO01"), id_value(line.start_node, id_width)}},
                                 {"ENID", {fixed("NO01"), id_value(line.end_node, id_width)}}};
    if (!line.points.empty()) {
      Field& sadr = fields.emplace_back(Field{"SADR", {}});
      for (const Point& p : line.points)
        sadr.values.insert(sadr.values.end(), {be32(p.x), be32(p.y)});
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
    std::vector<Field> fields = {
        {"PNTS", {fixed(name), id_value(p.id, 6), fixed(name.substr(0, 2))}}};
    for (const Point& xy : p.point) fields.push_back({"SADR", {be32(xy.x), be32(xy.y)}});
    if (p.area != 0) fields.push_back({"ARID", {fixed("PC01"), id_value(p.area, 6)}});
    m.add(fields);
  }
}

std::string TopoTransfer::convert(const std::string& output_parent, int expected_result) {
  transfer_.stat();
  const std::string catalog = transfer_.write();
  EXPECT_EQ(SDTS_Convert(catalog.c_str(), output_parent.c_str()), expected_result);
  const std::string names = read_file(output_parent + "/names.txt");
  return output_parent + "/" + names.substr(0, names.find('\n'));
}

}  // namespace topo_test
