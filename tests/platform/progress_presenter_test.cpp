#include "platform/progress_presenter.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(ProgressPresenter, RecordingKeepsFieldsAndStatusHistory) {
  RecordingProgressPresenter rec;
  install_progress_presenter(&rec);
  ProgressLayout layout{"Title", {{3011, "Title:"}, {3003, ""}}, 3003, true};
  progress_presenter().open(layout);
  progress_presenter().set_text(3011, "CONCORD, MA");
  progress_presenter().set_text(3003, "step 1");
  progress_presenter().set_text(3003, "step 2");
  progress_presenter().set_range(0, 10);
  progress_presenter().set_position(4);
  progress_presenter().close();
  install_progress_presenter(nullptr);

  EXPECT_EQ(rec.fields[3011], "CONCORD, MA");
  EXPECT_EQ(rec.statuses, (std::vector<std::string>{"step 1", "step 2"}));
  EXPECT_EQ(rec.range_high, 10);
  EXPECT_EQ(rec.position, 4);
  EXPECT_FALSE(rec.is_open);
  EXPECT_EQ(&progress_presenter(), &progress_presenter());  // null presenter restored, usable
}

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
  for (std::size_t at = drawn.find("\r["); at != std::string::npos; at = drawn.find("\r[", at + 1)) ++draws;
  // The status, the range, then one draw per cell of the bar.
  EXPECT_LE(draws, 33u);
  EXPECT_NE(drawn.find("[" + std::string(30, '#') + "] Building lines"), std::string::npos);
}
