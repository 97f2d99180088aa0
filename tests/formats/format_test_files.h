// Files for the format tests: a private directory, whole-file reads, and a sink that keeps
// the messages of one test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "platform/paths.h"

namespace corvane::test {

inline std::vector<std::uint8_t> file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FormatTest : public ::testing::Test {
 protected:
  void SetUp() override { install_message_sink(&messages); }
  void TearDown() override { install_message_sink(nullptr); }
  std::string path(const std::string& name) const { return dir.file(name); }

  paths::WorkDirectory dir{"formats-test-"};
  RecordingMessageSink messages;
};

}  // namespace corvane::test
