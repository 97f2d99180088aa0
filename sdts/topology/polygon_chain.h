// Polygons of the topology, assembled from the lines that bound them: every line adds a
// link to its right polygon (walked forward) and one to its left polygon (walked backward);
// chaining joins a polygon's links end node to start node into closed rings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace corvane::sdts {

// One boundary line of one polygon.
struct PolygonLink {
  std::int32_t link_id;     // the line's record id
  std::int32_t start_node;  // where the walk along the line begins
  std::int32_t end_node;    // where it ends
  std::int32_t direction;   // +1 walked as stored (right polygon), -1 backward (left polygon)
  std::int32_t used;        // 1 once placed in a ring attempt
};

// One ring: signed link ids (link id times direction) in walking order.
class PolygonChain {
 public:
  PolygonChain(int number, std::size_t capacity);
  // Appends an entry; a chain can never hold more entries than its polygon has links,
  // so overflowing it is fatal for the conversion.
  void add(std::int32_t signed_link_id);
  int number() const { return number_; }
  const std::vector<std::int32_t>& entries() const { return entries_; }

 private:
  int number_;
  std::size_t capacity_;
  std::vector<std::int32_t> entries_;
};

class SDTSPolygon {
 public:
  explicit SDTSPolygon(std::int32_t id) : id_(id) {}
  void add_link(const PolygonLink& link) { links_.push_back(link); }
  // Builds the closed rings of the polygon. Returns 0.
  int make_chain();
  // The first unused link, in line order, that starts at `node`; null when there is none.
  PolygonLink* find_next_link(std::int32_t node);
  void dump() const;

  std::int32_t id() const { return id_; }
  const std::vector<PolygonLink>& links() const { return links_; }
  // Closed rings in chain-number order.
  const std::vector<PolygonChain>& rings() const { return rings_; }

 private:
  void index_links();

  std::int32_t id_;
  std::vector<PolygonLink> links_;
  std::vector<PolygonChain> rings_;
  // Link positions sorted by start node (line order within a node), and per position the
  // first entry of its node group that may still be unused: used flags only ever get set,
  // so each search resumes where the last one for that node stopped.
  std::vector<std::uint32_t> by_start_;
  std::vector<std::uint32_t> next_free_;
};

// Every polygon bounded by the lines of one line module, by ascending id.
class SDTSPolygons {
 public:
  SDTSPolygons() = default;
  // It remembers positions in its own map, which a copy must not share.
  SDTSPolygons(const SDTSPolygons&) = delete;
  SDTSPolygons& operator=(const SDTSPolygons&) = delete;

  // Appends `link` to the polygon `polygon_id`, creating the polygon on its first link.
  void add_link(std::int32_t polygon_id, const PolygonLink& link);
  void make_chains();
  void dump() const;
  // Trace only: the rings of `polygon`, one line per entry.
  void dump_chian(const SDTSPolygon& polygon) const;

  const std::map<std::int32_t, SDTSPolygon>& polygons() const { return polygons_; }
  std::size_t size() const { return polygons_.size(); }

 private:
  std::map<std::int32_t, SDTSPolygon>::iterator find_or_add(std::int32_t polygon_id);

  std::map<std::int32_t, SDTSPolygon> polygons_;
  // The polygons found last (map iterators stay valid while polygons are added).
  std::map<std::int32_t, SDTSPolygon>::iterator recent_[2] = {polygons_.end(), polygons_.end()};
};

}  // namespace corvane::sdts
