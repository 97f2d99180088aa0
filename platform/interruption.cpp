#include "platform/interruption.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace corvane::interruption {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kDirectorySlots = 16;
constexpr int kChildSlots = 256;  // the most jobs the command line runs at once
constexpr int kMaxDepth = 16;     // deeper trees are left to their owners

struct DirectorySlot {
  volatile sig_atomic_t used = 0;
  char path[PATH_MAX] = {};
};
DirectorySlot g_directories[kDirectorySlots];
volatile pid_t g_children[kChildSlots] = {};
bool g_installed[sizeof kSignals / sizeof kSignals[0]] = {};

bool is_dot_entry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

void remove_inside(int directory, int depth);

// True when the entry is gone.
bool remove_entry(int directory, const char* name, unsigned char type, int depth) {
  if (type != DT_DIR) {
    if (::unlinkat(directory, name, 0) == 0) return true;
    if (errno != EISDIR) return false;
  }
  if (depth == 0) return false;
  const int inner = ::openat(directory, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (inner < 0) return false;
  remove_inside(inner, depth - 1);
  ::close(inner);
  return ::unlinkat(directory, name, AT_REMOVEDIR) == 0;
}

// Removing entries while reading the directory may skip some, so it is read again from the
// start until a pass removes nothing more.
void remove_inside(int directory, int depth) {
  alignas(dirent64) char buffer[2048];
  for (bool again = true; again;) {
    again = false;
    ::lseek(directory, 0, SEEK_SET);
    for (;;) {
      const ssize_t size = ::getdents64(directory, buffer, sizeof buffer);
      if (size <= 0) break;
      for (ssize_t offset = 0; offset < size;) {
        const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
        offset += entry->d_reclen;
        if (!is_dot_entry(entry->d_name) &&
            remove_entry(directory, entry->d_name, entry->d_type, depth))
          again = true;
      }
    }
  }
}

void remove_directory(const char* path) {
  const int directory = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (directory < 0) return;
  remove_inside(directory, kMaxDepth);
  ::close(directory);
  ::rmdir(path);
}

void on_signal(int signal) {
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  for (std::size_t i = 0; i < std::size(kSignals); ++i)
    if (g_installed[i]) ::sigaction(kSignals[i], &fallback, nullptr);
  for (const pid_t child : g_children)
    if (child > 0) ::kill(child, signal);
  for (const pid_t child : g_children)
    if (child > 0)
      while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
      }
  // Newest first: a directory registered later may lie inside an earlier one.
  for (int i = kDirectorySlots - 1; i >= 0; --i)
    if (g_directories[i].used) remove_directory(g_directories[i].path);
  // Blocked while the handler runs, the signal ends the process as soon as it returns.
  ::raise(signal);
}

}  // namespace

void install_handler() {
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    struct sigaction previous {};
    if (::sigaction(kSignals[i], nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
      continue;
    g_installed[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
  }
}

RemovedOnSignal::RemovedOnSignal(const std::string& path) : slot_(-1) {
  if (path.size() >= PATH_MAX) return;
  for (int i = 0; i < kDirectorySlots; ++i) {
    if (g_directories[i].used) continue;
    std::memcpy(g_directories[i].path, path.c_str(), path.size() + 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    g_directories[i].used = 1;
    slot_ = i;
    return;
  }
}

RemovedOnSignal::~RemovedOnSignal() {
  if (slot_ >= 0) g_directories[slot_].used = 0;
}

void add_child(pid_t pid) {
  for (volatile pid_t& slot : g_children)
    if (slot == 0) {
      slot = pid;
      return;
    }
}

void remove_child(pid_t pid) {
  for (volatile pid_t& slot : g_children)
    if (slot == pid) slot = 0;
}

HeldSignals::HeldSignals() {
  sigset_t held;
  sigemptyset(&held);
  for (const int signal : kSignals) sigaddset(&held, signal);
  ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

HeldSignals::~HeldSignals() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

}  // namespace corvane::interruption
