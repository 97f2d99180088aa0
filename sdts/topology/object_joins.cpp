#include "sdts/topology/object_joins.h"

#include "sdts/modules/decimal_text.h"
#include "sdts/topology/subfield_label.h"

namespace corvane::sdts {

bool ObjectJoins::take(std::string_view object_tag, std::string_view tag, std::string_view label,
                       const char* value) {
  if (tag == object_tag) {
    if (Label_Is(label, "MODN") && first_record_) {
      tables_.set_name(value);
      first_record_ = false;
    } else if (Label_Is(label, "RCID")) {
      object_id_ = static_cast<std::int32_t>(SDTS_Decimal_Value(value));
    }
    return true;
  }
  if (tag != "ATID") return false;
  if (Label_Is(label, "MODN")) {
    attr_module_ = value;
  } else if (Label_Is(label, "RCID")) {
    tables_.insert_attr_id(object_id_, attr_module_,
                           static_cast<std::int32_t>(SDTS_Decimal_Value(value)));
  }
  return true;
}

void ObjectJoins::end_record() {
  tables_.write_records();
  tables_.dump();
  tables_.clear_joins();
}

}  // namespace corvane::sdts
