// Walks a field's format tree, handing out one typed format per value.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sdts/iso8211/iso_format_node.h"
#include "sdts/iso8211/iso_limits.h"

namespace corvane::iso8211 {

// A field's typed formats in the order the walk hands them out: the whole list once, then
// the part that repeats. Laid out once per file, so that cutting a value costs no tree
// walking; empty when the repeat counts make it too long to lay out.
struct IsoFormatSequence {
  std::vector<const IsoFormatNode*> first;
  std::vector<const IsoFormatNode*> again;
  // Set when every value has this one format, a binary of whole bytes (coordinates).
  const IsoFormatNode* only_whole_bytes = nullptr;
  // Every value is text of a fixed width ("(A(4),I(6))").
  bool only_fixed_text = false;
  bool empty() const { return first.empty(); }
};

// The sequence of `root` (from Iso_Parse_Formats); the nodes it points to belong to `root`.
IsoFormatSequence Iso_Lay_Out_Formats(const IsoFormatNode& root);

class IsoFormatWalk {
 public:
  // `root` must come from Iso_Parse_Formats (non-empty, pruned) and outlive the walk; so must
  // `sequence`, its laid-out form, when given and not empty.
  explicit IsoFormatWalk(const IsoFormatNode& root, const IsoFormatSequence* sequence = nullptr);

  // The next typed format. Once the whole list is used up, the walk goes on with the rightmost
  // top-level "n(...)" group alone, or with the whole list again when there is none.
  const IsoFormatNode& next() {
    if (pass_ == nullptr) return next_in_tree();
    if (index_ == pass_->size()) {
      pass_ = &sequence_->again;
      index_ = 0;
    }
    return *(*pass_)[index_++];
  }

 private:
  const IsoFormatNode& next_in_tree();

  struct Frame {
    const std::vector<IsoFormatNode>* list;
    std::size_t index;
    std::int32_t remaining;
  };
  const IsoFormatNode& root_;
  const IsoFormatNode* reuse_;
  const IsoFormatSequence* sequence_ = nullptr;
  const std::vector<const IsoFormatNode*>* pass_ = nullptr;  // null: walking the tree
  std::size_t index_ = 0;
  // The root and one frame per nested counted group; the parser refuses deeper nesting.
  std::array<Frame, ISO_MAX_FORMAT_DEPTH + 2> stack_;
  std::size_t depth_ = 0;
  bool started_ = false;
};

}  // namespace corvane::iso8211
