// Polygons assembled from the lines of a converted transfer: ring walk and orientation,
// islands, unclosed and self-touching polygons, record order, and the id table.
#include <gtest/gtest.h>

#include "platform/message_sink.h"
#include "platform/paths.h"
#include "tests/sdts/topology/topology_fixture.h"

namespace {

using topo_test::TestLine;
using Ring = std::vector<std::pair<double, double>>;

class PolygonShapeTest : public ::testing::Test {
 protected:
  void SetUp() override { corvane::install_message_sink(&messages_); }
  void TearDown() override { corvane::install_message_sink(nullptr); }
  corvane::paths::WorkDirectory dir_{"topo-polygons-"};
  corvane::RecordingMessageSink messages_;
};

TEST_F(PolygonShapeTest, SquaresAndIslandComeOutClockwiseWithIslandsCounterClockwise) {
  topo_test::TopoTransfer t(dir_.file("in"));
  t.lines("LE01", {
      // Polygon 2, digitised clockwise: on the right of its lines.
      {1, 1, 2, 1, 2, {{0, 0}, {0, 10}}, {}},
      {2, 2, 3, 1, 2, {{0, 10}, {10, 10}}, {}},
      {3, 3, 4, 1, 2, {{10, 10}, {10, 0}}, {}},
      {4, 4, 1, 1, 2, {{10, 0}, {0, 0}}, {}},
      {5, 5, 6, 2, 2, {{2, 2}, {3, 3}}, {}},  // same polygon on both sides: bounds nothing
      // Polygon 3, digitised counter-clockwise: on the left of its lines.
      {6, 11, 12, 3, 1, {{20, 0}, {30, 0}}, {}},
      {7, 12, 13, 3, 1, {{30, 0}, {30, 10}}, {}},
      {8, 13, 14, 3, 1, {{30, 10}, {20, 10}}, {}},
      {9, 14, 11, 3, 1, {{20, 10}, {20, 0}}, {}},
      // Polygon 4 with the island polygon 5, bounded by one closed line.
      {10, 21, 22, 1, 4, {{40, 0}, {40, 10}}, {}},
      {11, 22, 23, 1, 4, {{40, 10}, {50, 10}}, {}},
      {12, 23, 24, 1, 4, {{50, 10}, {50, 0}}, {}},
      {13, 24, 21, 1, 4, {{50, 0}, {40, 0}}, {}},
      {14, 25, 25, 4, 5, {{43, 3}, {43, 7}, {47, 7}, {47, 3}, {43, 3}}, {}},
  });
  const std::string run = t.convert(dir_.path());
  const topo_test::Shapefile shp = topo_test::read_shapefile(run + "/PC01");
  EXPECT_EQ(shp.shape_type, 5);
  ASSERT_EQ(shp.records.size(), 4u);

  const topo_test::ShpRecord& square = shp.records[0];
  EXPECT_EQ(square.parts, std::vector<std::int32_t>{0});
  EXPECT_EQ(square.points, (Ring{{0, 0}, {0, 10}, {0, 10}, {10, 10}, {10, 10}, {10, 0}, {10, 0}, {0, 0}}));
  EXPECT_EQ(square.content_length, 44 + 4 + 16 * 8);

  const topo_test::ShpRecord& reversed = shp.records[1];
  EXPECT_EQ(reversed.points, (Ring{{30, 0}, {20, 0}, {20, 0}, {20, 10}, {20, 10}, {30, 10}, {30, 10}, {30, 0}}));
  EXPECT_LT(topo_test::signed_area(reversed.points), 0.0);

  const topo_test::ShpRecord& holed = shp.records[2];
  ASSERT_EQ(holed.parts.size(), 2u);
  EXPECT_DOUBLE_EQ(topo_test::signed_area(topo_test::part_points(holed, 0)), -100.0);
  const Ring island = topo_test::part_points(holed, 1);
  EXPECT_EQ(island, (Ring{{43, 3}, {47, 3}, {47, 7}, {43, 7}, {43, 3}}));
  EXPECT_DOUBLE_EQ(topo_test::signed_area(island), 16.0);
  EXPECT_EQ(holed.box[0], 40.0);
  EXPECT_EQ(holed.box[3], 10.0);
  EXPECT_DOUBLE_EQ(topo_test::signed_area(shp.records[3].points), -16.0);
  EXPECT_EQ(shp.box[0], 0.0);
  EXPECT_EQ(shp.box[2], 50.0);

  const topo_test::DbfTable table = topo_test::read_dbf(run + "/PC01.dbf");
  EXPECT_EQ(table.field_names, std::vector<std::string>{"PC01_id"});
  EXPECT_EQ(table.records, 4u);
  EXPECT_EQ(table.rows, (std::vector<std::string>{" 2       ", " 3       ", " 4       ", " 5       "}));
  EXPECT_EQ(table.tail, "\x1a");
}

TEST_F(PolygonShapeTest, SelfTouchingUnclosedAndPointlessLinesInIdOrder) {
  topo_test::TopoTransfer t(dir_.file("in"));
  t.lines("LE01", {
      // Polygon 7: two loops meeting at node 33; at 33 line 3 comes before line 7.
      {1, 31, 32, 1, 7, {{60, 0}, {60, 5}}, {}},
      {2, 32, 33, 1, 7, {{60, 5}, {65, 5}}, {}},
      {3, 33, 34, 1, 7, {{65, 5}, {65, 10}}, {}},
      {4, 34, 35, 1, 7, {{65, 10}, {70, 10}}, {}},
      {5, 35, 36, 1, 7, {{70, 10}, {70, 5}}, {}},
      {6, 36, 33, 1, 7, {{70, 5}, {65, 5}}, {}},
      {7, 33, 37, 1, 7, {{65, 5}, {65, 0}}, {}},
      {8, 37, 31, 1, 7, {{65, 0}, {60, 0}}, {}},
      // Polygon 6 never closes.
      {9, 41, 42, 1, 6, {{80, 0}, {80, 5}}, {}},
      {10, 42, 43, 1, 6, {{80, 5}, {85, 5}}, {}},
      // Polygon 8 has a boundary line without points.
      {11, 51, 52, 1, 8, {{90, 0}, {90, 10}}, {}},
      {12, 52, 53, 1, 8, {{90, 10}, {100, 0}}, {}},
      {13, 53, 51, 1, 8, {}, {}},
  });
  const std::string run = t.convert(dir_.path());
  const topo_test::Shapefile shp = topo_test::read_shapefile(run + "/PC01");
  ASSERT_EQ(shp.records.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(shp.records[k].number, static_cast<std::int32_t>(k + 1));
  EXPECT_EQ(topo_test::read_dbf(run + "/PC01.dbf").rows,
            (std::vector<std::string>{" 6       ", " 7       ", " 8       "}));

  const topo_test::ShpRecord& unclosed = shp.records[0];
  EXPECT_TRUE(unclosed.parts.empty());
  EXPECT_TRUE(unclosed.points.empty());
  EXPECT_EQ(unclosed.content_length, 44);
  EXPECT_EQ(unclosed.box[0], 1e99);
  EXPECT_EQ(unclosed.box[2], -1e99);

  const topo_test::ShpRecord& figure = shp.records[1];
  EXPECT_EQ(figure.parts, std::vector<std::int32_t>{0});
  EXPECT_EQ(figure.points,
            (Ring{{60, 0}, {60, 5}, {60, 5}, {65, 5}, {65, 5}, {65, 10}, {65, 10}, {70, 10}, {70, 10}, {70, 5},
                  {70, 5}, {65, 5}, {65, 5}, {65, 0}, {65, 0}, {60, 0}}));

  const topo_test::ShpRecord& pointless = shp.records[2];
  EXPECT_EQ(pointless.parts, std::vector<std::int32_t>{0});
  EXPECT_EQ(pointless.points, (Ring{{90, 0}, {90, 10}, {90, 10}, {100, 0}}));
  // The unclosed polygon widens nothing.
  EXPECT_EQ(shp.box[0], 60.0);
}

}  // namespace
