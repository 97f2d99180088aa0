// Node and point modules: one Point record and one 9-byte row per record, a record
// without a point repeating the previous one, area points written like nodes.
#include <gtest/gtest.h>

#include "platform/message_sink.h"
#include "platform/paths.h"
#include "tests/sdts/topology/topology_fixture.h"

namespace {

TEST(NodeShape, PointRecordsRowsAndRepeatedPoint) {
  corvane::paths::WorkDirectory dir("topo-nodes-");
  topo_test::TopoTransfer t(dir.file("in"), "UTM", 0.01);
  t.points("NO01", {{1, {{1000, 2000}}}, {2, {{3000, 4000}}}, {3, {}}});
  t.points("NA01", {{7, {{500, 600}}, 2}, {8, {{700, 800}}, 3}});
  const std::string run = t.convert(dir.path());

  const topo_test::Shapefile nodes = topo_test::read_shapefile(run + "/NO01");
  EXPECT_EQ(nodes.shape_type, 1);
  ASSERT_EQ(nodes.records.size(), 3u);
  ASSERT_EQ(nodes.index.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(nodes.records[k].number, static_cast<std::int32_t>(k + 1));
    EXPECT_EQ(nodes.records[k].content_length, 20);
    EXPECT_EQ(nodes.index[k], (std::pair<std::int32_t, std::int32_t>{100 + 28 * static_cast<std::int32_t>(k), 20}));
  }
  EXPECT_EQ(nodes.records[0].points[0], (std::pair<double, double>{10.0, 20.0}));
  EXPECT_EQ(nodes.records[2].points[0], (std::pair<double, double>{30.0, 40.0}));
  EXPECT_EQ(nodes.box[0], 10.0);
  EXPECT_EQ(nodes.box[3], 40.0);

  const topo_test::DbfTable table = topo_test::read_dbf(run + "/NO01.dbf");
  EXPECT_EQ(table.field_names, std::vector<std::string>{"NO01_ID"});
  EXPECT_EQ(table.records, 3u);
  EXPECT_EQ(table.record_length, 9);
  EXPECT_EQ(table.rows, (std::vector<std::string>{" 1       ", " 2       ", " 3       "}));
  EXPECT_TRUE(table.tail.empty());

  const topo_test::Shapefile areas = topo_test::read_shapefile(run + "/NA01");
  ASSERT_EQ(areas.records.size(), 2u);
  EXPECT_EQ(areas.records[1].points[0], (std::pair<double, double>{7.0, 8.0}));
  const topo_test::DbfTable area_table = topo_test::read_dbf(run + "/NA01.dbf");
  EXPECT_EQ(area_table.field_names, std::vector<std::string>{"NA01_ID"});
  EXPECT_EQ(area_table.rows, (std::vector<std::string>{" 7       ", " 8       "}));
}

}  // namespace
