#include "sdts/iso8211/iso_format_walk.h"

IsoFormatWalk::IsoFormatWalk(const IsoFormatNode& root) : root_(root), reuse_(&root) {
  for (const auto& item : root.children)
    if (item.parenthesised) reuse_ = &item;
}

const IsoFormatNode& IsoFormatWalk::next() {
  for (;;) {
    if (stack_.empty()) {
      const IsoFormatNode& item = started_ ? *reuse_ : root_;
      stack_.push_back({&item.children, 0, item.repeat_count});
      started_ = true;
    }
    Frame& frame = stack_.back();
    if (frame.index == frame.list->size()) {
      if (--frame.remaining > 0)
        frame.index = 0;
      else
        stack_.pop_back();
      continue;
    }
    const IsoFormatNode& node = (*frame.list)[frame.index++];
    if (node.type != 0) return node;
    stack_.push_back({&node.children, 0, node.repeat_count});
  }
}
