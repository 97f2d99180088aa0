// What every conversion test needs: a private directory tree, the work file kept out of
// the real temporary directory, recorded messages and progress window.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/message_sink.h"
#include "platform/progress_presenter.h"
#include "tests/support/shared_data.h"

namespace corvane::test {

class ConversionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fresh_directory(std::string("corvane-driver-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::create_directories(root_ / "tmp");
    std::filesystem::create_directories(root_ / "out");
    saved_temp_ = std::getenv("TEMP") ? std::getenv("TEMP") : "";
    had_temp_ = std::getenv("TEMP") != nullptr;
    setenv("TEMP", (root_ / "tmp").c_str(), 1);
    unsetenv("CORVANE_TRACE");
    install_message_sink(&messages_);
    install_progress_presenter(&progress_);
  }

  void TearDown() override {
    install_message_sink(nullptr);
    install_progress_presenter(nullptr);
    unsetenv("CORVANE_TRACE");
    if (had_temp_) setenv("TEMP", saved_temp_.c_str(), 1);
    else unsetenv("TEMP");
    std::filesystem::remove_all(root_);
  }

  std::string path(const std::string& relative) const { return (root_ / relative).string(); }
  std::string out() const { return path("out"); }

  static std::string read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::filesystem::path root_;
  RecordingMessageSink messages_;
  RecordingProgressPresenter progress_;

 private:
  std::string saved_temp_;
  bool had_temp_ = false;
};

}  // namespace corvane::test
