// Where the converters' message boxes go. The window front end installs a Qt sink,
// the command line a terminal one, tests a recording one.
#pragma once

#include <string>
#include <vector>

#define CORVANE_PLATFORM_API __attribute__((visibility("default")))

namespace corvane {

class CORVANE_PLATFORM_API MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void show(const std::string& text) = 0;
};

// Writes each message to stderr, one line per message.
class CORVANE_PLATFORM_API TerminalMessageSink final : public MessageSink {
 public:
  void show(const std::string& text) override;
};

// Keeps every message, for tests.
class CORVANE_PLATFORM_API RecordingMessageSink final : public MessageSink {
 public:
  void show(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// The installed sink; the terminal sink until something else is installed.
CORVANE_PLATFORM_API MessageSink& message_sink();
// Installs `sink` (not owned); nullptr restores the terminal sink.
CORVANE_PLATFORM_API void install_message_sink(MessageSink* sink);
CORVANE_PLATFORM_API void show_message(const std::string& text);

}  // namespace corvane
