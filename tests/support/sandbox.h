// A test's own scratch directory, with the converters' work files (TEMP) kept inside it and
// their messages and progress window recorded; all of it undone after the test.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/message_sink.h"
#include "platform/paths.h"
#include "platform/progress_presenter.h"
#include "tests/support/output_files.h"
#include "tests/support/shared_data.h"

namespace corvane::test {

class Sandbox : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // `name` inside the scratch directory.
  std::string path(const std::string& name) const { return dir_.file(name); }
  bool has_message(const std::string& part) const;

  paths::WorkDirectory dir_{"corvane-test-"};
  RecordingMessageSink messages_;
  RecordingProgressPresenter progress_;

 private:
  std::optional<std::string> saved_temp_;
};

}  // namespace corvane::test
