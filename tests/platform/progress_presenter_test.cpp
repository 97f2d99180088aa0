#include "platform/progress_presenter.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(ProgressPresenter, TerminalBarDrawsOnlyWhenItMoves) {
  TerminalProgressPresenter terminal(true);
  ProgressLayout layout{"Title", {{3003, ""}}, 3003, true};
  testing::internal::CaptureStderr();
  terminal.open(layout);
  terminal.set_text(3003, "Building lines");
  terminal.set_range(0, 300000);
  for (int position = 0; position <= 300000; ++position) terminal.set_position(position);
  terminal.close();
  const std::string drawn = testing::internal::GetCapturedStderr();
  std::size_t draws = 0;
  for (std::size_t at = drawn.find("\r["); at != std::string::npos; at = drawn.find("\r[", at + 1))
    ++draws;
  // The status, the range, then one draw per cell of the bar.
  EXPECT_LE(draws, 33u);
  EXPECT_NE(drawn.find("[" + std::string(30, '#') + "] Building lines"), std::string::npos);
}
