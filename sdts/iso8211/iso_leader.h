// The 24-byte leader of the DDR or of a data record, as parsed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::iso8211 {

struct IsoLeader {
  std::int32_t record_length = 0;
  std::int32_t interchange_level = 0;  // DDR only; a data record's position 5 is kept as text below
  char leader_identifier = 0;          // "L" in the DDR, "D" or "R" in data records
  char inline_code_extension = 0;
  char version_number = 0;
  char application_indicator = 0;
  std::int32_t field_control_length = 0;
  std::string data_position_5;         // data records: the character at position 5
  std::string data_positions_7_to_11;  // data records: positions 7 to 11 as text
  std::int32_t base_address = 0;
  std::string extended_character_set;  // 3 characters
  std::int32_t size_of_field_length = 0;
  std::int32_t size_of_field_position = 0;
  std::int32_t reserved_digit = 0;
  std::int32_t size_of_field_tag = 0;
};

// Parses and checks the DDR's 24-byte leader.
bool Iso_Parse_DDR_Leader(std::string_view bytes, IsoLeader& leader);
// Parses and checks a data record's 24-byte leader against the DDR's tag size.
bool Iso_Parse_Data_Leader(std::string_view bytes, std::int32_t ddr_tag_size, IsoLeader& leader);

}  // namespace corvane::iso8211
