// The attribute references of a spatial module's objects. Each object record carries its
// own field (LINE, PNTS, POLY) with its id, and ATID fields naming attribute records; the
// join tables get one row per reference when the record ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sdts/attributes/dbf_tables.h"

namespace corvane::sdts {

class ObjectJoins {
 public:
  // Takes a subfield of the object's own field `object_tag` (the module name of the first
  // record names the join tables; RCID is the object's id) or of an attribute reference;
  // false for any other subfield. `value` is the subfield's text.
  bool take(std::string_view object_tag, std::string_view tag, std::string_view label,
            const char* value);
  // At the end of every object record: its references become rows.
  void end_record();
  // After the last record.
  void close() { tables_.close_tables(); }

  std::int32_t object_id() const { return object_id_; }

 private:
  SDTSDbfTables tables_;
  bool first_record_ = true;
  std::int32_t object_id_ = 0;
  std::string attr_module_;
};

}  // namespace corvane::sdts
