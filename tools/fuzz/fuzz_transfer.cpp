#include "tools/fuzz/fuzz_transfer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "tools/sdts_fixture/sdts_fixture.h"

namespace corvane::fuzz {

using namespace sdts_fixture;

namespace {

constexpr char kIds[] = "(A(4),I(6))";

Value id(int number) { return fixed(rcid_text(number)); }

Field reference(const char* tag, const char* module, int number) {
  return {tag, {fixed(module), id(number)}};
}

// A point of a 100 m square at stored scale 0.01 (1 = 1 cm).
Value coordinate(std::int32_t metres) { return be32(metres * 100); }

Field point(std::int32_t x, std::int32_t y) {
  return {"SADR", {coordinate(300000 + x), coordinate(4700000 + y)}};
}

void attributes(SdtsTransfer& t) {
  Module& m = t.module("AHYF", "Attribute Primary");
  m.builder.field("ATPR", "1600;&", "ATTRIBUTE PRIMARY", "MODN!RCID", kIds)
      .field("ATTP", "1600;&", "PRIMARY ATTRIBUTES", "ENTITY_LABEL!NAME!ELEVATION!DEPTH",
             "(A(7),A(12),I(6),R(8))");
  for (int n = 1; n <= 2; ++n)
    m.add({reference("ATPR", "AHYF", n),
           {"ATTP",
            {fixed(n == 1 ? "0500412" : "0500421"), fixed(n == 1 ? "SHAWSHEEN   " : "NUTTING LAKE"),
             fixed("   " + std::to_string(100 * n)), fixed("   12.50")}}});
}

// Polygon 2, inside the outside polygon 1, is bounded by lines 1 and 2 between nodes 1 and 2;
// line 3 runs from node 2 into it.
void lines(SdtsTransfer& t) {
  Module& m = t.module("LE01", "Line");
  m.builder.field("LINE", "1600;&", "LINE", "MODN!RCID!OBRP", "(A(4),I(6),A(2))")
      .field("ATID", "2600;&", "ATTRIBUTE ID", "*MODN!RCID", kIds)
      .field("PIDL", "1600;&", "POLYGON ID LEFT", "MODN!RCID", kIds)
      .field("PIDR", "1600;&", "POLYGON ID RIGHT", "MODN!RCID", kIds)
      .field("SNID", "1600;&", "STARTNODE ID", "MODN!RCID", kIds)
      .field("ENID", "1600;&", "ENDNODE ID", "MODN!RCID", kIds)
      .field("SADR", "2600;&", "SPATIAL ADDRESS", "*X!Y", "((2B(32)))");
  struct Line {
    int attribute, left, right, from, to;
    std::vector<std::pair<std::int32_t, std::int32_t>> points;
  };
  const Line all[] = {{1, 2, 1, 1, 2, {{0, 0}, {100, 0}, {100, 100}}},
                      {2, 2, 1, 2, 1, {{100, 100}, {0, 100}, {0, 0}}},
                      {1, 2, 2, 2, 3, {{100, 100}, {50, 50}}}};
  int number = 0;
  for (const Line& line : all) {
    Field sadr{"SADR", {}};
    for (const auto& [x, y] : line.points) {
      const Field xy = point(x, y);
      sadr.values.insert(sadr.values.end(), xy.values.begin(), xy.values.end());
    }
    m.add({{"LINE", {fixed("LE01"), id(++number), fixed("LE")}},
           reference("ATID", "AHYF", line.attribute),
           reference("PIDL", "PC01", line.left),
           reference("PIDR", "PC01", line.right),
           reference("SNID", "NO01", line.from),
           reference("ENID", "NO01", line.to),
           sadr});
  }
}

// Point modules: "NO01" nodes, "NA01" an area point, "NE01" an entity point.
void points(SdtsTransfer& t, const char* name, const char* type,
            const std::vector<std::vector<Field>>& records) {
  Module& m = t.module(name, type);
  m.builder.field("PNTS", "1600;&", "POINT-NODE", "MODN!RCID!OBRP", "(A(4),I(6),A(2))")
      .field("SADR", "1600;&", "SPATIAL ADDRESS", "X!Y", "(2B(32))")
      .field("ARID", "1600;&", "AREA ID", "MODN!RCID", kIds)
      .field("ATID", "2600;&", "ATTRIBUTE ID", "*MODN!RCID", kIds);
  int number = 0;
  for (const std::vector<Field>& fields : records) {
    std::vector<Field> record = {
        {"PNTS", {fixed(name), id(++number), fixed(std::string(name, 2))}}};
    record.insert(record.end(), fields.begin(), fields.end());
    m.add(record);
  }
}

void polygons(SdtsTransfer& t) {
  Module& m = t.module("PC01", "Polygon");
  m.builder.field("POLY", "1600;&", "POLYGON", "MODN!RCID!OBRP", "(A(4),I(6),A(2))")
      .field("ATID", "2600;&", "ATTRIBUTE ID", "*MODN!RCID", kIds);
  m.add({{"POLY", {fixed("PC01"), id(1), fixed("PW")}}});
  m.add({{"POLY", {fixed("PC01"), id(2), fixed("PC")}}, reference("ATID", "AHYF", 2)});
}

}  // namespace

FuzzTransfer write_fuzz_transfer(const std::string& directory) {
  SdtsTransfer t(directory, "TR01");
  t.iden({});
  t.iref({});
  t.xref({});
  t.spdm({});
  for (const char* module : {"LE01", "NO01", "NA01", "NE01", "PC01", "AHYF"})
    t.cats(module, "HYDROGRAPHY");
  t.quality("DQHL", {"Compiled from a synthetic source."});
  attributes(t);
  lines(t);
  points(t, "NO01", "Point-Node", {{point(0, 0)}, {point(100, 100)}, {point(50, 50)}});
  points(t, "NA01", "Point-Node", {{point(20, 20), reference("ARID", "PC01", 2)}});
  points(t, "NE01", "Point-Node", {{point(70, 30), reference("ATID", "AHYF", 1)}});
  polygons(t);
  t.stat();
  FuzzTransfer out{t.write(), {}};
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    out.files.push_back(entry.path().string());
  std::sort(out.files.begin(), out.files.end());
  return out;
}

}  // namespace corvane::fuzz
