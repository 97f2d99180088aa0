// Modules converted whole, for what real data seldom or never holds (whose outputs the golden
// test pins, and whose polygons GEOS judges): lines without points or of one point, records
// without a point, geographic lengths, unclosed, self-touching and pointless polygons, the
// intermediate files' place, and modules refused for ids that would blow up the record-id table.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/sdts/topology/topology_fixture.h"

namespace topo_test {
namespace {

namespace fs = std::filesystem;
using Ring = std::vector<XY>;

class Shapes : public Sandbox {};

TEST_F(Shapes, LineRecordsRowsAndLengthsUnderADottedDirectory) {
  const std::string input = dir_.file("quads.v2");
  TopoTransfer t(input);
  std::vector<Point> long_line;
  for (int k = 0; k <= 6000; ++k) long_line.push_back({k, 0});
  t.lines("LE01", {{1, 1, 2, 1, 1, {}},
                   {2, 3, 3, 1, 1, {{5, 5}}},
                   {3, 4, 5, 1, 1, long_line},
                   {4, 6, 7, 1, 1, {{0, 0}, {3, 4}}}});
  const std::string run = t.convert(dir_.path());

  const Shapefile shp = read_shapefile(run + "/LE01");
  ASSERT_EQ(shp.records.size(), 4u);
  ASSERT_EQ(shp.index.size(), 4u);
  // A line without points is an empty record with the untouched box.
  const ShpRecord& empty = shp.records[0];
  EXPECT_EQ(empty.content_length, 48);
  EXPECT_EQ(empty.parts, std::vector<std::int32_t>{0});
  EXPECT_TRUE(empty.points.empty());
  EXPECT_EQ(std::vector<double>(empty.box, empty.box + 4),
            (std::vector<double>{1e99, 1e99, -1e99, -1e99}));
  EXPECT_EQ(shp.records[1].points.size(), 1u);
  EXPECT_EQ(shp.records[2].points.size(), 6001u);
  for (std::size_t k = 0; k < shp.records.size(); ++k) {
    EXPECT_EQ(shp.records[k].number, static_cast<std::int32_t>(k + 1));
    EXPECT_EQ(shp.index[k].second, shp.records[k].content_length);
  }
  EXPECT_EQ(shp.file_length, static_cast<std::int32_t>(fs::file_size(run + "/LE01.shp")));
  std::vector<std::string> lengths;
  for (const std::string& row : read_dbf(run + "/LE01.dbf").rows) lengths.push_back(row.substr(41));
  EXPECT_EQ(lengths, (std::vector<std::string>{"0.0000      ", "0.0000      ", "6000.0000   ",
                                               "5.0000      "}));

  // Lines with the same polygon on both sides bound nothing: an empty polygon shapefile.
  const Shapefile polygons = read_shapefile(run + "/PC01");
  EXPECT_TRUE(polygons.records.empty());
  EXPECT_EQ(polygons.file_length, 100);
  EXPECT_EQ(read_file(run + "/PC01.shx").size(), 100u);

  // Nothing was written beside the input.
  for (const auto& entry : fs::directory_iterator(input))
    EXPECT_EQ(entry.path().extension(), ".DDF") << entry.path();
}

TEST_F(Shapes, GeographicLengthsAreMiles) {
  for (const auto& [system, length] : {std::pair{"GEO", 69.057}, std::pair{"UTM", 1.0}}) {
    TopoTransfer t(dir_.file(system), system);
    t.lines("LE01", {{1, 1, 2, 1, 1, {{0, 0}, {1, 0}}}});
    fs::create_directories(dir_.file(std::string(system) + "/out"));
    const DbfTable dbf = read_dbf(t.convert(dir_.file(std::string(system) + "/out")) + "/LE01.dbf");
    ASSERT_EQ(dbf.rows.size(), 1u);
    EXPECT_NEAR(std::stod(dbf.rows[0].substr(41)), length, 5e-4) << system;
  }
}

TEST_F(Shapes, ModuleWithAHostileIdIsRefusedAndTheNextModuleConverts) {
  for (const std::int32_t bad : {-5, 2000000000}) {
    const std::string input = dir_.file("hostile" + std::to_string(bad));
    TopoTransfer t(input);
    t.lines("LE01",
            {{1, 1, 2, 1, 2, {{0, 0}, {1, 1}}},
             {bad, 2, 1, 1, 2, {{1, 1}, {0, 0}}},
             {3, 2, 1, 1, 2, {{1, 1}, {0, 0}}}},
            11);
    t.points("NO01", {{1, {{0, 0}}}, {2, {{1, 1}}}});
    fs::create_directories(input + "/out");
    const std::string run = t.convert(input + "/out", 1);
    EXPECT_EQ(read_shapefile(run + "/LE01").records.size(), 1u) << bad;
    EXPECT_EQ(read_dbf(run + "/LE01.dbf").records, 1u);
    EXPECT_FALSE(fs::exists(run + "/PC01.shp"));
    EXPECT_NE(read_file(run + "/TR01CATD.log")
                  .find("ERROR: line record id " + std::to_string(bad) + " in "),
              std::string::npos);
    EXPECT_NE(read_file(run + "/TR01CATD.log").find("ERROR: module LE01 ("), std::string::npos);
    EXPECT_EQ(read_shapefile(run + "/NO01").records.size(), 2u);
  }
}

// One Point record and one 9-byte row per record, a record without a point repeating the
// previous one, area points written like nodes.
TEST_F(Shapes, PointRecordsRowsAndRepeatedPoint) {
  TopoTransfer t(dir_.file("in"), "UTM", 0.01);
  t.points("NO01", {{1, {{1000, 2000}}}, {2, {{3000, 4000}}}, {3, {}}});
  t.points("NA01", {{7, {{500, 600}}, 2}, {8, {{700, 800}}, 3}});
  const std::string run = t.convert(dir_.path());
  for (const auto& [module, points, rows] :
       {std::tuple{"NO01", std::vector<XY>{{10, 20}, {30, 40}, {30, 40}},
                   std::vector<std::string>{" 1       ", " 2       ", " 3       "}},
        {"NA01", std::vector<XY>{{5, 6}, {7, 8}},
         std::vector<std::string>{" 7       ", " 8       "}}}) {
    const Shapefile shp = read_shapefile(run + "/" + module);
    std::vector<XY> got;
    for (std::size_t k = 0; k < shp.records.size(); ++k) {
      got.push_back(shp.records[k].points.at(0));
      EXPECT_EQ(shp.index.at(k), (std::pair<std::int32_t, std::int32_t>(100 + 28 * k, 20)));
    }
    EXPECT_EQ(got, points) << module;
    const DbfTable table = read_dbf(run + "/" + module + ".dbf");
    EXPECT_EQ(table.fields, std::vector<std::string>{std::string(module) + "_ID N(8)"});
    EXPECT_EQ(table.rows, rows);
  }
}

TEST_F(Shapes, SelfTouchingUnclosedAndPointlessPolygonsInIdOrder) {
  TopoTransfer t(dir_.file("in"));
  t.lines("LE01", {
                      // Polygon 7: two loops meeting at node 33; at 33 line 3 comes before line 7.
                      {1, 31, 32, 1, 7, {{60, 0}, {60, 5}}},
                      {2, 32, 33, 1, 7, {{60, 5}, {65, 5}}},
                      {3, 33, 34, 1, 7, {{65, 5}, {65, 10}}},
                      {4, 34, 35, 1, 7, {{65, 10}, {70, 10}}},
                      {5, 35, 36, 1, 7, {{70, 10}, {70, 5}}},
                      {6, 36, 33, 1, 7, {{70, 5}, {65, 5}}},
                      {7, 33, 37, 1, 7, {{65, 5}, {65, 0}}},
                      {8, 37, 31, 1, 7, {{65, 0}, {60, 0}}},
                      // Polygon 6 never closes.
                      {9, 41, 42, 1, 6, {{80, 0}, {80, 5}}},
                      {10, 42, 43, 1, 6, {{80, 5}, {85, 5}}},
                      // Polygon 8 has a boundary line without points.
                      {11, 51, 52, 1, 8, {{90, 0}, {90, 10}}},
                      {12, 52, 53, 1, 8, {{90, 10}, {100, 0}}},
                      {13, 53, 51, 1, 8, {}},
                  });
  const std::string run = t.convert(dir_.path());
  const Shapefile shp = read_shapefile(run + "/PC01");
  ASSERT_EQ(shp.records.size(), 3u);
  for (std::int32_t k = 0; k < 3; ++k) EXPECT_EQ(shp.records[k].number, k + 1);
  EXPECT_EQ(read_dbf(run + "/PC01.dbf").rows,
            (std::vector<std::string>{" 6       ", " 7       ", " 8       "}));
  const ShpRecord& unclosed = shp.records[0];
  EXPECT_TRUE(unclosed.parts.empty());
  EXPECT_TRUE(unclosed.points.empty());
  EXPECT_EQ(unclosed.content_length, 44);
  EXPECT_EQ(unclosed.box[0], 1e99);
  EXPECT_EQ(unclosed.box[2], -1e99);
  EXPECT_EQ(shp.records[1].parts, std::vector<std::int32_t>{0});
  EXPECT_EQ(shp.records[1].points, (Ring{{60, 0},
                                         {60, 5},
                                         {60, 5},
                                         {65, 5},
                                         {65, 5},
                                         {65, 10},
                                         {65, 10},
                                         {70, 10},
                                         {70, 10},
                                         {70, 5},
                                         {70, 5},
                                         {65, 5},
                                         {65, 5},
                                         {65, 0},
                                         {65, 0},
                                         {60, 0}}));
  EXPECT_EQ(shp.records[2].parts, std::vector<std::int32_t>{0});
  EXPECT_EQ(shp.records[2].points, (Ring{{90, 0}, {90, 10}, {90, 10}, {100, 0}}));
  EXPECT_EQ(shp.box[0], 60.0);  // the unclosed polygon widens nothing
}

}  // namespace
}  // namespace topo_test
