#include "sdts/topology/line_row.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

using namespace corvane::sdts;

namespace {

std::string printf_row(std::int32_t id, std::int32_t from, std::int32_t to, std::int32_t left,
                       std::int32_t right, double length) {
  char text[512];
  std::snprintf(text, sizeof text, " %-8d%-8d%-8d%-8d%-8d%-12.4lf", id, from, to, left, right,
                length);
  return std::string(text).substr(0, kLineRowLength);
}

std::string row_text(const LineRow& row) { return std::string(row.data(), row.size()); }

void expect_same(std::int32_t id, std::int32_t from, std::int32_t to, std::int32_t left,
                 std::int32_t right, double length) {
  EXPECT_EQ(row_text(Line_Row(id, from, to, left, right, length)),
            printf_row(id, from, to, left, right, length))
      << "length " << length;
}

// The table's rows were composed by printf; every byte must stay as it was.
TEST(LineRow, ColumnsAsPrintfComposesThem) {
  EXPECT_EQ(row_text(Line_Row(12, 3, 4, 1, 2, 0.0)),
            " 12      3       4       1       2       0.0000      ");
  expect_same(0, 0, 0, 0, 0, 0.0);
  // Numbers wider than their columns push the rest right; the row is then cut.
  constexpr std::int32_t kLow = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kHigh = std::numeric_limits<std::int32_t>::max();
  expect_same(kLow, kHigh, -1, 12345678, 123456789, 1234567.125);
  expect_same(kLow, kLow, kLow, kLow, kLow, 1e300);
  expect_same(1, 2, 3, 4, 5, 123456789012.5);
  expect_same(1, 2, 3, 4, 5, -0.0);
  expect_same(1, 2, 3, 4, 5, std::numeric_limits<double>::infinity());
  expect_same(1, 2, 3, 4, 5, std::numeric_limits<double>::quiet_NaN());
}

TEST(LineRow, LengthsRoundAsPrintfRoundsThem) {
  // Exact binary halves at the fifth decimal round to even in printf.
  for (double tie : {0.03125, 0.15625, 1.03125, 2.46875, 100.21875, 0.00005, 0.00015, 2.00025}) {
    expect_same(1, 1, 2, 3, 4, tie);
  }
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> metres(0.0, 50000.0);
  std::uniform_int_distribution<int> exponent(-20, 40);
  for (int i = 0; i < 200000; ++i) {
    expect_same(i, i + 1, i + 2, 1, i % 7, metres(random));
    expect_same(i, 1, 2, 3, 4, std::ldexp(metres(random) / 50000.0, exponent(random)));
    // Values on a 1/2^k grid hit exact ties often.
    expect_same(i, 1, 2, 3, 4, std::ldexp(static_cast<double>(i), -5 - i % 6));
    if (HasFailure()) break;
  }
}

TEST(IdRow, AsPrintfComposesIt) {
  for (const std::int32_t id :
       {0, 1, -1, 12345678, 123456789, -12345678, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max()}) {
    char text[32];
    std::snprintf(text, sizeof text, " %-8d", id);
    const IdRow row = Id_Row(id);
    EXPECT_EQ(std::string(row.data(), row.size()), std::string(text).substr(0, kIdRowLength)) << id;
  }
}

}  // namespace
