// Chaining a polygon's links into rings: which link is taken where several leave a node,
// what happens to links that never close, and that long boundaries chain in linear time.
#include "sdts/topology/polygon_chain.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/fatal_error.h"
#include "platform/message_sink.h"

using namespace corvane::sdts;

namespace {

using Rings = std::vector<std::vector<std::int32_t>>;

struct ChainCase {
  const char* name;
  std::vector<PolygonLink> links;  // link id, start node, end node, direction
  Rings rings;                     // signed link ids, each ring from its first link in line order
  std::vector<int> numbers;        // the kept rings' chain numbers
};

void PrintTo(const ChainCase& c, std::ostream* out) { *out << c.name; }

const ChainCase kChainCases[] = {
    // A square a-b-c-d whose links come out of walking order.
    {"SquareFromTheFirstLink",
     {{3, 30, 40, +1, 0}, {1, 10, 20, +1, 0}, {4, 40, 10, +1, 0}, {2, 20, 30, +1, 0}},
     {{3, 4, 1, 2}},
     {0}},
    // Lines digitised the other way round: the polygon is on their left.
    {"BackwardLinksNegative",
     {{1, 20, 10, -1, 0}, {2, 30, 20, -1, 0}, {3, 40, 30, -1, 0}, {4, 10, 40, -1, 0}},
     {{-1, -4, -3, -2}},
     {0}},
    // Two loops meeting at node 5, where links 3 and 7 both leave: 3 comes first. A closed line
    // on its own is a ring of one entry.
    {"SelfTouchingAndIsland",
     {{1, 1, 2, +1, 0},
      {2, 2, 5, +1, 0},
      {3, 5, 6, +1, 0},
      {4, 6, 5, +1, 0},
      {7, 5, 8, +1, 0},
      {8, 8, 1, +1, 0},
      {9, 20, 20, -1, 0}},
     {{1, 2, 3, 4, 7, 8}, {-9}},
     {0, 1}},
    // The open path 1-2-3 is dropped, and its chain number is not reused.
    {"UnclosedDropped", {{1, 1, 2, +1, 0}, {2, 2, 3, +1, 0}, {5, 7, 7, +1, 0}}, {{5}}, {1}},
};

class PolygonChainCase : public ::testing::TestWithParam<ChainCase> {};

TEST_P(PolygonChainCase, Rings) {
  SDTSPolygon polygon(2);
  for (const PolygonLink& link : GetParam().links) polygon.add_link(link);
  polygon.make_chain();
  Rings rings;
  std::vector<int> numbers;
  for (const PolygonChain& ring : polygon.rings()) {
    rings.push_back(ring.entries());
    numbers.push_back(ring.number());
  }
  EXPECT_EQ(rings, GetParam().rings);
  EXPECT_EQ(numbers, GetParam().numbers);
  for (const PolygonLink& link : polygon.links()) EXPECT_EQ(link.used, 1) << link.link_id;
  EXPECT_EQ(polygon.find_next_link(GetParam().links[0].start_node), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Polygons, PolygonChainCase, ::testing::ValuesIn(kChainCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PolygonChain, ChainCannotOutgrowItsCapacity) {
  corvane::RecordingMessageSink messages;
  corvane::install_message_sink(&messages);
  PolygonChain chain(0, 1);
  chain.add(1);
  EXPECT_THROW(chain.add(2), corvane::FatalError);
  corvane::install_message_sink(nullptr);
  EXPECT_EQ(messages.messages,
            std::vector<std::string>{"ERROR: number of nodes in the chain is too big"});
}

TEST(PolygonChain, ManyLinksLeavingOneNodeChainQuickly) {
  // A flower: from node 1 into the centre 0, then 100,000 petals 0 -> p -> 0, then back to
  // node 1. Each return to the centre asks for the next unused link leaving it; a search
  // that rescans from the first link every time would take minutes.
  SDTSPolygon polygon(2);
  const std::int32_t petals = 100000;
  polygon.add_link({1, 1, 0, +1, 0});
  for (std::int32_t k = 0; k < petals; ++k) polygon.add_link({10 + k, 0, 10 + k, +1, 0});
  for (std::int32_t k = 0; k < petals; ++k) polygon.add_link({10 + petals + k, 10 + k, 0, +1, 0});
  polygon.add_link({2, 0, 1, +1, 0});
  const auto start = std::chrono::steady_clock::now();
  polygon.make_chain();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(polygon.rings().size(), 1u);
  const std::vector<std::int32_t>& ring = polygon.rings()[0].entries();
  ASSERT_EQ(ring.size(), static_cast<std::size_t>(2 * petals + 2));
  EXPECT_EQ(ring[1], 10);
  EXPECT_EQ(ring[2], 10 + petals);
  EXPECT_EQ(ring.back(), 2);
  EXPECT_LT(seconds, 5.0);
}

}  // namespace
