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
