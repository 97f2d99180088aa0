#include "sdts/topology/polygon_chain.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "platform/fatal_error.h"
#include "sdts/run/progress_dialog.h"
#include "sdts/run/run_state.h"
#include "sdts/run/trace.h"

namespace corvane::sdts {

PolygonChain::PolygonChain(int number, std::size_t capacity)
    : number_(number), capacity_(capacity) {
  entries_.reserve(capacity);
}

void PolygonChain::add(std::int32_t signed_link_id) {
  if (entries_.size() >= capacity_)
    corvane::fatal("ERROR: number of nodes in the chain is too big");
  entries_.push_back(signed_link_id);
}

void SDTSPolygon::index_links() {
  by_start_.resize(links_.size());
  std::iota(by_start_.begin(), by_start_.end(), 0u);
  std::stable_sort(by_start_.begin(), by_start_.end(), [this](std::uint32_t a, std::uint32_t b) {
    return links_[a].start_node < links_[b].start_node;
  });
  next_free_ = by_start_;
  std::iota(next_free_.begin(), next_free_.end(), 0u);
}

PolygonLink* SDTSPolygon::find_next_link(std::int32_t node) {
  if (by_start_.size() != links_.size()) index_links();
  const auto starts_before = [this](std::uint32_t pos, std::int32_t n) {
    return links_[pos].start_node < n;
  };
  const auto group = std::lower_bound(by_start_.begin(), by_start_.end(), node, starts_before);
  const std::size_t first = static_cast<std::size_t>(group - by_start_.begin());
  const auto in_group = [&](std::size_t k) {
    return k < by_start_.size() && links_[by_start_[k]].start_node == node;
  };
  if (!in_group(first)) return nullptr;
  std::size_t k = next_free_[first];
  while (in_group(k) && links_[by_start_[k]].used) ++k;
  next_free_[first] = static_cast<std::uint32_t>(k);
  return in_group(k) ? &links_[by_start_[k]] : nullptr;
}

namespace {

// Link ids are record ids, which the line writer accepts only when not negative.
std::int32_t signed_id(const PolygonLink& link) {
  return link.direction < 0 ? -link.link_id : link.link_id;
}

}  // namespace

int SDTSPolygon::make_chain() {
  static constexpr const char* kRoutine = "SDTSPolygon::make_chain()";
  static const std::string kChainingStatus = "Chaining polygon boundaries...";
  TRACE_BEGIN(kRoutine);
  const std::size_t m = links_.size();
  g_progress->set_range(0, static_cast<int>(m));
  // Set once for a run of polygons, so a window that lists its steps shows it once.
  if (g_progress->status() != kChainingStatus) g_progress->set_status(kChainingStatus);
  index_links();
  int chain_number = 0;
  int handled = 0;
  for (PolygonLink& first : links_) {
    if (first.used) continue;
    PolygonChain chain(chain_number++, m);
    chain.add(signed_id(first));
    const std::int32_t start = first.start_node;
    std::int32_t current = first.end_node;
    bool closed = current == start;
    while (!closed) {
      PolygonLink* next = find_next_link(current);
      if (next == nullptr) break;
      chain.add(signed_id(*next));
      next->used = 1;
      current = next->end_node;
      closed = current == start;
    }
    first.used = 1;
    if (closed) {
      rings_.push_back(std::move(chain));
    } else {
      TRACE_PRINT(kRoutine, SDTS_Message("Poly ID = %d is not closed", id_));
    }
    g_progress->set_position(handled++);
  }
  // The index serves chaining only; every polygon of a module holds its links until the
  // module is written, so nothing more may stay per link.
  by_start_ = {};
  next_free_ = {};
  TRACE_EXIT(kRoutine, 0);
  return 0;
}

void SDTSPolygon::dump() const {
  if (!g_trace_on) return;
  for (const PolygonLink& link : links_) {
    TRACE_PRINT("SDTSPolygon::dump", SDTS_Message("%d %d %d %d", link.link_id, link.start_node,
                                                  link.end_node, link.direction));
  }
}

void SDTSPolygons::add_link(std::int32_t polygon_id, const PolygonLink& link) {
  find_or_add(polygon_id)->second.add_link(link);
}

std::map<std::int32_t, SDTSPolygon>::iterator SDTSPolygons::find_or_add(std::int32_t polygon_id) {
  // A line's two sides go to two polygons, and the next line mostly borders one of them or
  // the one after it in id order: looking there first spares most searches of the tree.
  for (auto& recent : recent_) {
    if (recent == polygons_.end()) continue;
    if (recent->first == polygon_id) return recent;
    const auto after = std::next(recent);
    if (after != polygons_.end() && after->first == polygon_id) return recent = after;
  }
  const auto found = polygons_.try_emplace(polygon_id, polygon_id).first;
  recent_[1] = recent_[0];
  recent_[0] = found;
  return found;
}

void SDTSPolygons::make_chains() {
  for (auto& [id, polygon] : polygons_) polygon.make_chain();
}

void SDTSPolygons::dump() const {
  if (!g_trace_on) return;
  for (const auto& [id, polygon] : polygons_) {
    TRACE_PRINT("SDTSPolygons::dump", SDTS_Message("%d", id));
    polygon.dump();
    dump_chian(polygon);
  }
}

void SDTSPolygons::dump_chian(const SDTSPolygon& polygon) const {
  if (!g_trace_on) return;
  for (const PolygonChain& ring : polygon.rings()) {
    for (std::int32_t entry : ring.entries()) {
      TRACE_PRINT("SDTSPolygons::dump_chian",
                  SDTS_Message("chain = %d linkID = %d", ring.number(), entry));
    }
  }
}

}  // namespace corvane::sdts
