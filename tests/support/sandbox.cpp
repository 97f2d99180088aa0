#include "tests/support/sandbox.h"

#include <cstdlib>
#include <filesystem>

namespace corvane::test {

void Sandbox::SetUp() {
  if (const char* temp = std::getenv("TEMP")) saved_temp_ = temp;
  std::filesystem::create_directory(path("tmp"));
  ::setenv("TEMP", path("tmp").c_str(), 1);
  ::unsetenv("CORVANE_TRACE");
  install_message_sink(&messages_);
  install_progress_presenter(&progress_);
}

void Sandbox::TearDown() {
  install_message_sink(nullptr);
  install_progress_presenter(nullptr);
  saved_temp_ ? ::setenv("TEMP", saved_temp_->c_str(), 1) : ::unsetenv("TEMP");
}

bool Sandbox::has_message(const std::string& part) const {
  for (const std::string& message : messages_.messages)
    if (message.find(part) != std::string::npos) return true;
  return false;
}

}  // namespace corvane::test
