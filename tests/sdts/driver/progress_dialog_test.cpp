// The progress window passes on only positions that move its bar, and always both ends.
#include "sdts/run/progress_dialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/progress_presenter.h"

using namespace corvane::sdts;

namespace {

class PositionLog final : public corvane::ProgressPresenter {
 public:
  void open(const corvane::ProgressLayout&) override {}
  void set_text(int, const std::string&) override {}
  void set_range(int, int) override {}
  void set_position(int position) override { positions.push_back(position); }
  void repaint() override {}
  void close() override {}
  std::vector<int> positions;
};

class ProgressDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    corvane::install_progress_presenter(&log_);
    dialog_.create();
  }
  void TearDown() override {
    dialog_.destroy();
    corvane::install_progress_presenter(nullptr);
  }
  PositionLog log_;
  ProgressDialog dialog_;
};

TEST_F(ProgressDialogTest, ABarOfManyPositionsGetsAThousandStepsAndBothEnds) {
  dialog_.set_range(0, 250000);
  // Writers count subfields against a range of records, so positions run past the end.
  for (int position = 0; position <= 600000; ++position) dialog_.set_position(position);
  EXPECT_LE(log_.positions.size(), 1002u);
  EXPECT_GE(log_.positions.size(), 1000u);
  EXPECT_EQ(log_.positions.front(), 0);
  EXPECT_EQ(log_.positions.back(), 250000);
  for (std::size_t k = 1; k < log_.positions.size(); ++k)
    EXPECT_LT(log_.positions[k - 1], log_.positions[k]);

  // A new range starts afresh, and a short one shows every position.
  log_.positions.clear();
  dialog_.set_range(0, 5);
  for (int position : {0, 1, 2, 2, 3, 4, 5, 6}) dialog_.set_position(position);
  EXPECT_EQ(log_.positions, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(ProgressDialogTest, MovingBackShowsAtOnceWhenItReachesTheStart) {
  dialog_.set_range(0, 100000);
  dialog_.set_position(50000);
  dialog_.set_position(49990);  // less than a step back: the bar would not move
  dialog_.set_position(0);
  EXPECT_EQ(log_.positions, (std::vector<int>{50000, 0}));
}

}  // namespace
