#include "platform/byte_order.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

using namespace corvane::bytes;

TEST(ByteOrder, SameBytesWhateverTheHost) {
  std::array<std::uint8_t, 4> le{}, be{};
  put_le32(le.data(), 9994);
  put_be32(be.data(), 9994);
  EXPECT_EQ(le, (std::array<std::uint8_t, 4>{0x0A, 0x27, 0x00, 0x00}));
  EXPECT_EQ(be, (std::array<std::uint8_t, 4>{0x00, 0x00, 0x27, 0x0A}));
  EXPECT_EQ(get_le32(le.data()), 9994u);
  EXPECT_EQ(get_be32(be.data()), 9994u);
  put_le32s(le.data(), -1);
  EXPECT_EQ(get_le32s(le.data()), -1);
  put_be32s(be.data(), -2);
  EXPECT_EQ(be, (std::array<std::uint8_t, 4>{0xFF, 0xFF, 0xFF, 0xFE}));
  std::array<std::uint8_t, 8> d{};
  put_le_double(d.data(), 1.0);
  EXPECT_EQ(d, (std::array<std::uint8_t, 8>{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
  put_le_double(d.data(), -1e99);
  EXPECT_EQ(get_le_double(d.data()), -1e99);
}
