// What SIGINT, SIGTERM and SIGHUP settle before they end the process: the private directories
// of the conversions running (unpacked archives, staging, work files) are removed, and child
// conversions are handed the signal and waited for, so that an interrupted run leaves nothing
// of its own behind. The handler uses async-signal-safe calls only, on fixed buffers.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>

#include "platform/message_sink.h"

namespace corvane::interruption {

// Installs the handler for those of the three signals that are not ignored (a run under
// nohup keeps ignoring SIGHUP). It forwards the signal to every registered child and waits
// for them, removes every registered directory with everything in it, then ends the process
// with the same signal, so that the exit status is the usual one.
CORVANE_PLATFORM_API void install_handler();

// Keeps a directory registered for removal on a signal while the object lives. A directory
// is not registered when every slot is taken or its path is too long; it is then only
// removed by its owner, as always.
class CORVANE_PLATFORM_API RemovedOnSignal {
 public:
  explicit RemovedOnSignal(const std::string& path);
  ~RemovedOnSignal();
  RemovedOnSignal(const RemovedOnSignal&) = delete;
  RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;

 private:
  int slot_;
};

// Children the signal is forwarded to; a child is removed once it has been waited for.
CORVANE_PLATFORM_API void add_child(pid_t pid);
CORVANE_PLATFORM_API void remove_child(pid_t pid);

// Holds the three signals back while it lives, for a step that must be whole before a signal
// can end us: making a directory and registering it, starting a child and adding it. A child
// started meanwhile is to start with previous() as its signal mask.
class CORVANE_PLATFORM_API HeldSignals {
 public:
  HeldSignals();
  ~HeldSignals();
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;
  const sigset_t& previous() const { return previous_; }

 private:
  sigset_t previous_;
};

}  // namespace corvane::interruption
