#include "platform/fatal_error.h"

namespace corvane {

void fatal(const std::string& message) {
  show_message(message);
  throw FatalError(message);
}

}  // namespace corvane
