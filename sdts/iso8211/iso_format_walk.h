// Walks a field's format tree, handing out one typed format per value.
#pragma once

#include <cstdint>
#include <vector>

#include "sdts/iso8211/iso_format_node.h"

class IsoFormatWalk {
 public:
  // `root` must come from Iso_Parse_Formats (non-empty, pruned) and outlive the walk.
  explicit IsoFormatWalk(const IsoFormatNode& root);

  // The next typed format. Once the whole list is used up, the walk goes on with the rightmost
  // top-level "n(...)" group alone, or with the whole list again when there is none.
  const IsoFormatNode& next();

 private:
  struct Frame {
    const std::vector<IsoFormatNode>* list;
    std::size_t index;
    std::int32_t remaining;
  };
  const IsoFormatNode& root_;
  const IsoFormatNode* reuse_;
  std::vector<Frame> stack_;
  bool started_ = false;
};
