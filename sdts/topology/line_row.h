// The rows of the topology tables, composed without printf.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace corvane::sdts {

// The record length of the table: deletion flag, five N(8) columns and LENGTH N(12,4).
inline constexpr std::size_t kLineRowLength = 53;
using LineRow = std::array<char, kLineRowLength>;

// " %-8d%-8d%-8d%-8d%-8d%-12.4lf" of the line's ids and length, cut to the record length.
// A number wider than its column pushes the later ones right, as printf does.
LineRow Line_Row(std::int32_t line_id, std::int32_t start_node, std::int32_t end_node,
                 std::int32_t left, std::int32_t right, double length);

// The row of a node, point or polygon table, whose only column is the id: " %-8d" cut to
// the record length.
inline constexpr std::size_t kIdRowLength = 9;
using IdRow = std::array<char, kIdRowLength>;
IdRow Id_Row(std::int32_t id);

}  // namespace corvane::sdts
