// Chaining a polygon's links into rings: which link is taken where several leave a node,
// what happens to links that never close, and that long boundaries chain in linear time.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/fatal_error.h"
#include "platform/message_sink.h"
#include "sdts/topology/polygon_chain.h"

using namespace corvane::sdts;

namespace {

std::vector<std::vector<std::int32_t>> rings_of(const SDTSPolygon& polygon) {
  std::vector<std::vector<std::int32_t>> rings;
  for (const PolygonChain& ring : polygon.rings()) rings.push_back(ring.entries());
  return rings;
}

TEST(PolygonChain, SquareClosesFromTheFirstLinkInLineOrder) {
  SDTSPolygon square(2);
  // Forward links of a square a-b-c-d, added out of walking order.
  square.add_link({3, 30, 40, +1, 0});
  square.add_link({1, 10, 20, +1, 0});
  square.add_link({4, 40, 10, +1, 0});
  square.add_link({2, 20, 30, +1, 0});
  square.make_chain();
  EXPECT_EQ(rings_of(square), (std::vector<std::vector<std::int32_t>>{{3, 4, 1, 2}}));
}

TEST(PolygonChain, BackwardLinksGiveNegativeEntries) {
  SDTSPolygon square(2);
  // Lines digitised the other way round: the polygon is on their left.
  square.add_link({1, 20, 10, -1, 0});
  square.add_link({2, 30, 20, -1, 0});
  square.add_link({3, 40, 30, -1, 0});
  square.add_link({4, 10, 40, -1, 0});
  square.make_chain();
  EXPECT_EQ(rings_of(square), (std::vector<std::vector<std::int32_t>>{{-1, -4, -3, -2}}));
}

TEST(PolygonChain, SelfTouchingPolygonFollowsLineOrderAndIslandsAreOwnRings) {
  SDTSPolygon figure(7);
  // Two loops meeting at node 5; at node 5 both link 3 and link 7 leave: 3 comes first.
  figure.add_link({1, 1, 2, +1, 0});
  figure.add_link({2, 2, 5, +1, 0});
  figure.add_link({3, 5, 6, +1, 0});
  figure.add_link({4, 6, 5, +1, 0});
  figure.add_link({7, 5, 8, +1, 0});
  figure.add_link({8, 8, 1, +1, 0});
  // A closed line on its own (start node = end node) is a ring of one entry.
  figure.add_link({9, 20, 20, -1, 0});
  figure.make_chain();
  EXPECT_EQ(rings_of(figure), (std::vector<std::vector<std::int32_t>>{{1, 2, 3, 4, 7, 8}, {-9}}));
  EXPECT_EQ(figure.find_next_link(5), nullptr);
}

TEST(PolygonChain, UnclosedLinksAreDroppedAndNumbersNotReused) {
  SDTSPolygon polygon(4);
  polygon.add_link({1, 1, 2, +1, 0});
  polygon.add_link({2, 2, 3, +1, 0});  // open path 1-2-3
  polygon.add_link({5, 7, 7, +1, 0});  // closed ring
  polygon.make_chain();
  ASSERT_EQ(polygon.rings().size(), 1u);
  // Chain 0 (links 1, 2) did not close; the ring kept is chain 1.
  EXPECT_EQ(polygon.rings()[0].number(), 1);
  EXPECT_EQ(polygon.rings()[0].entries(), std::vector<std::int32_t>{5});
  for (const PolygonLink& link : polygon.links()) EXPECT_EQ(link.used, 1);
}

TEST(PolygonChain, FindNextLinkTakesTheFirstUnusedInLineOrder) {
  SDTSPolygon polygon(3);
  polygon.add_link({1, 9, 2, +1, 0});
  polygon.add_link({2, 5, 3, +1, 0});
  polygon.add_link({3, 5, 4, +1, 0});
  PolygonLink* first = polygon.find_next_link(5);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->link_id, 2);
  first->used = 1;
  EXPECT_EQ(polygon.find_next_link(5)->link_id, 3);
  EXPECT_EQ(polygon.find_next_link(4), nullptr);
}

TEST(PolygonChain, ChainCannotOutgrowItsCapacity) {
  corvane::RecordingMessageSink messages;
  corvane::install_message_sink(&messages);
  PolygonChain chain(0, 1);
  chain.add(1);
  EXPECT_THROW(chain.add(2), corvane::FatalError);
  corvane::install_message_sink(nullptr);
  EXPECT_EQ(messages.messages, std::vector<std::string>{"ERROR: number of nodes in the chain is too big"});
}

TEST(PolygonChain, CollectionKeepsPolygonsByIdAndLinksInOrder) {
  SDTSPolygons polygons;
  polygons.add_link(5, {1, 1, 1, +1, 0});
  polygons.add_link(2, {2, 1, 1, +1, 0});
  polygons.add_link(5, {3, 2, 2, -1, 0});
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(polygons.polygons().begin()->first, 2);
  const SDTSPolygon& five = polygons.polygons().at(5);
  ASSERT_EQ(five.links().size(), 2u);
  EXPECT_EQ(five.links()[1].link_id, 3);
  polygons.make_chains();
  EXPECT_EQ(five.rings().size(), 2u);
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
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(polygon.rings().size(), 1u);
  const std::vector<std::int32_t>& ring = polygon.rings()[0].entries();
  ASSERT_EQ(ring.size(), static_cast<std::size_t>(2 * petals + 2));
  EXPECT_EQ(ring[1], 10);
  EXPECT_EQ(ring[2], 10 + petals);
  EXPECT_EQ(ring.back(), 2);
  EXPECT_LT(seconds, 5.0);
}

}  // namespace
