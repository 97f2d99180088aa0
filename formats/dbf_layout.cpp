#include "formats/dbf_layout.h"

#include <ctime>

#include "platform/byte_order.h"

namespace corvane::formats {

DBFImage dbf_main_header(std::uint32_t num_records, std::uint16_t header_length,
                         std::uint16_t record_length) {
  DBFImage image{};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  image[0] = 3;
  image[1] = static_cast<std::uint8_t>(local.tm_year);
  image[2] = static_cast<std::uint8_t>(local.tm_mon + 1);
  image[3] = static_cast<std::uint8_t>(local.tm_mday);
  bytes::put_le32(image.data() + 4, num_records);
  bytes::put_le16(image.data() + 8, header_length);
  bytes::put_le16(image.data() + 10, record_length);
  return image;
}

DBFImage dbf_field_descriptor(std::string_view name, char type, std::uint8_t length,
                              std::uint8_t decimals) {
  DBFImage image{};
  const std::string_view kept = name.substr(0, kDbfMaxNameLength);
  kept.copy(reinterpret_cast<char*>(image.data()), kept.size());
  image[11] = static_cast<std::uint8_t>(type);
  image[16] = length;
  image[17] = decimals;
  return image;
}

}  // namespace corvane::formats
