#include "sdts/iso8211/iso_format_walk.h"

#include <algorithm>

namespace corvane::iso8211 {

namespace {

// Longer lists (large repeat counts) are walked in the tree instead.
constexpr std::size_t kMostLaidOut = 4096;

// The rightmost top-level "n(...)" group, or the root itself.
const IsoFormatNode& repeated_part(const IsoFormatNode& root) {
  const IsoFormatNode* reuse = &root;
  for (const auto& item : root.children)
    if (item.parenthesised) reuse = &item;
  return *reuse;
}

bool lay_out(const IsoFormatNode& group, std::vector<const IsoFormatNode*>& out) {
  for (std::int32_t r = 0; r < group.repeat_count; ++r) {
    for (const auto& node : group.children) {
      if (node.type == 0) {
        if (!lay_out(node, out)) return false;
      } else {
        if (out.size() == kMostLaidOut) return false;
        out.push_back(&node);
      }
    }
  }
  return true;
}

}  // namespace

IsoFormatSequence Iso_Lay_Out_Formats(const IsoFormatNode& root) {
  IsoFormatSequence sequence;
  if (!lay_out(root, sequence.first) || !lay_out(repeated_part(root), sequence.again) ||
      sequence.again.empty())
    return {};
  const IsoFormatNode* only = sequence.first.front();
  const auto is_only = [only](const IsoFormatNode* node) { return node == only; };
  if (only->is_fixed_binary() && only->width % 8 == 0 &&
      std::all_of(sequence.first.begin(), sequence.first.end(), is_only) &&
      std::all_of(sequence.again.begin(), sequence.again.end(), is_only))
    sequence.only_whole_bytes = only;
  const auto fixed_text = [](const IsoFormatNode* node) {
    return !node->is_binary() && node->width > 0;
  };
  sequence.only_fixed_text =
      std::all_of(sequence.first.begin(), sequence.first.end(), fixed_text) &&
      std::all_of(sequence.again.begin(), sequence.again.end(), fixed_text);
  return sequence;
}

IsoFormatWalk::IsoFormatWalk(const IsoFormatNode& root, const IsoFormatSequence* sequence)
    : root_(root), reuse_(&repeated_part(root)) {
  if (sequence != nullptr && !sequence->empty()) {
    sequence_ = sequence;
    pass_ = &sequence->first;
  }
}

const IsoFormatNode& IsoFormatWalk::next_in_tree() {
  for (;;) {
    if (depth_ == 0) {
      const IsoFormatNode& item = started_ ? *reuse_ : root_;
      stack_[depth_++] = {&item.children, 0, item.repeat_count};
      started_ = true;
    }
    Frame& frame = stack_[depth_ - 1];
    if (frame.index == frame.list->size()) {
      if (--frame.remaining > 0)
        frame.index = 0;
      else
        --depth_;
      continue;
    }
    const IsoFormatNode& node = (*frame.list)[frame.index++];
    if (node.type != 0) return node;
    stack_[depth_++] = {&node.children, 0, node.repeat_count};
  }
}

}  // namespace corvane::iso8211
