// One column of a DBaseFile.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::formats {

struct DBaseField {
  std::string name;
  char type = 'C';
  std::uint8_t length = 0;
  std::uint8_t decimals = 0;
};

}  // namespace corvane::formats
