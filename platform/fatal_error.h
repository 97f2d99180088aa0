// A condition after which nothing sensible can follow in the current conversion
// (a run file that cannot be opened, a failed shapefile write, a dangling reference).
// It is reported through the message sink and ends the conversion, never the process:
// the converter's entry catches FatalError, closes what is open and returns non-zero.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/message_sink.h"

namespace corvane {

class CORVANE_PLATFORM_API FatalError : public std::runtime_error {
 public:
  explicit FatalError(const std::string& message) : std::runtime_error(message) {}
};

// Shows `message` through the message sink, then throws FatalError.
[[noreturn]] CORVANE_PLATFORM_API void fatal(const std::string& message);

}  // namespace corvane
