#include "platform/byte_order.h"
#include "sdts/iso8211/iso8211.h"

int ISO_Bytes_To_Int(const char* bytes, std::int32_t* value, int reverse) {
  const auto* b = reinterpret_cast<const std::uint8_t*>(bytes);
  *value = reverse != 0 ? corvane::bytes::get_be32s(b) : corvane::bytes::get_le32s(b);
  return 1;
}

int ISO_Byte_Order(int* flag) {
  *flag = 0;
  return 1;
}
