#include "sdts/iso8211/iso_field_description.h"

namespace corvane::iso8211 {

namespace {

bool all_widths(const IsoFormatNode& node) {
  if (node.type != 0) return node.width > 0;
  for (const auto& child : node.children)
    if (!all_widths(child)) return false;
  return true;
}

}  // namespace

bool IsoFieldDescription::has_fixed_length() const { return formats && all_widths(*formats); }

}  // namespace corvane::iso8211
