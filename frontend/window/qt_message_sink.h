// Message boxes of the converters and the batch run, as Qt message boxes.
#pragma once

#include "platform/message_sink.h"

namespace corvane::window {

class QtMessageSink final : public MessageSink {
 public:
  void show(const std::string& text) override;
};

}  // namespace corvane::window
