#include "sdts/iso8211/iso_leader.h"

#include "sdts/iso8211/iso_limits.h"
#include "sdts/iso8211/iso_text.h"

namespace corvane::iso8211 {

namespace {

inline constexpr std::size_t kLeaderSize = 24;

// Leader items end early at a field terminator, which makes them too short: any terminator
// inside the leader fails it.
bool well_formed(std::string_view bytes) {
  return bytes.size() == kLeaderSize && bytes.find(ISO_FIELD_TERMINATOR) == std::string_view::npos;
}

std::int32_t digit(char c) { return Iso_Decimal(std::string_view(&c, 1)); }

bool in_range(std::int32_t v, std::int32_t low, std::int32_t high) { return v >= low && v <= high; }

// Positions 12 to 23, alike in the DDR and in data records.
bool parse_tail(std::string_view bytes, IsoLeader& leader) {
  leader.base_address = Iso_Decimal(bytes.substr(12, 5));
  leader.extended_character_set = std::string(bytes.substr(17, 3));
  leader.size_of_field_length = digit(bytes[20]);
  leader.size_of_field_position = digit(bytes[21]);
  leader.reserved_digit = digit(bytes[22]);
  leader.size_of_field_tag = digit(bytes[23]);
  return in_range(leader.size_of_field_length, 1, 9) &&
         in_range(leader.size_of_field_position, 1, 9) && in_range(leader.size_of_field_tag, 1, 7);
}

}  // namespace

bool Iso_Parse_DDR_Leader(std::string_view bytes, IsoLeader& leader) {
  if (!well_formed(bytes)) return false;
  leader = IsoLeader{};
  leader.record_length = Iso_Decimal(bytes.substr(0, 5));
  leader.interchange_level = digit(bytes[5]);
  leader.leader_identifier = bytes[6];
  leader.inline_code_extension = bytes[7];
  leader.version_number = bytes[8];
  leader.application_indicator = bytes[9];
  leader.field_control_length = Iso_Decimal(bytes.substr(10, 2));
  if (!in_range(leader.interchange_level, 1, 3) || leader.leader_identifier != 'L') return false;
  if (leader.field_control_length != (leader.interchange_level == 1 ? 0 : 6)) return false;
  return parse_tail(bytes, leader);
}

bool Iso_Parse_Data_Leader(std::string_view bytes, std::int32_t ddr_tag_size, IsoLeader& leader) {
  if (!well_formed(bytes)) return false;
  leader = IsoLeader{};
  leader.record_length = Iso_Decimal(bytes.substr(0, 5));
  leader.data_position_5 = std::string(bytes.substr(5, 1));
  leader.leader_identifier = bytes[6];
  leader.data_positions_7_to_11 = std::string(bytes.substr(7, 5));
  if (leader.leader_identifier != 'D' && leader.leader_identifier != 'R') return false;
  return parse_tail(bytes, leader) && leader.size_of_field_tag == ddr_tag_size;
}

}  // namespace corvane::iso8211
