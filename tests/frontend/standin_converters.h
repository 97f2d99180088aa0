// Converters that stand in for Display and DisplayOpt at their boundary, doing what the input's
// text asks: "result=2" (outputs written, one reason shown) or "result=1" (a reason shown,
// nothing written), else a complete conversion; "pause" holds the run directory open for
// 300 ms. Each makes the run directory STEMshp holding STEM.log; the SDTS one also leaves
// names.txt (title "Stand-in Title").
#pragma once

#include <string>
#include <vector>

#include "frontend/batch/item_runner.h"

namespace corvane::test {

struct StandInCall {
  char converter;  // 'D' for Display, 'O' for DisplayOpt
  std::string input;
};
// Every call, in order.
extern std::vector<StandInCall> g_stand_in_calls;

batch::Converters stand_in_converters();

}  // namespace corvane::test
