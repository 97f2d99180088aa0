#include "frontend/cli/child_jobs.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "frontend/cli/convert_command.h"
#include "platform/interruption.h"

extern char** environ;

namespace corvane::cli {

namespace {

struct Job {
  const batch::BatchItem* item = nullptr;
  pid_t pid = -1;
  std::array<int, 2> fds{-1, -1};  // child's stdout, stderr (collected mode)
  std::array<std::string, 2> text;
  enum class State { Waiting, Running, Done } state = State::Waiting;
  int status = 0;
};

batch::Outcome outcome_of_exit_status(int status) {
  if (!WIFEXITED(status)) return batch::Outcome::Failed;
  if (WEXITSTATUS(status) == 0) return batch::Outcome::Converted;
  return WEXITSTATUS(status) == kExitIncomplete ? batch::Outcome::Incomplete
                                                : batch::Outcome::Failed;
}

// Starts a child that a signal ending us is handed to: it is added to those before the signal
// can arrive. Returns posix_spawn's result.
int spawn_child(pid_t& pid, const std::string& exe, const posix_spawn_file_actions_t& actions,
                char** argv) {
  const interruption::HeldSignals held;
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setsigmask(&attributes, &held.previous());
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  const int error = posix_spawn(&pid, exe.c_str(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  if (error == 0) interruption::add_child(pid);
  return error;
}

void write_all(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

class Scheduler {
 public:
  Scheduler(const std::vector<batch::BatchItem>& items, const ChildJobOptions& options)
      : options_(options),
        collect_(options.jobs > 1),
        show_count_(collect_ && !options.quiet && ::isatty(STDERR_FILENO) == 1),
        jobs_(items.size()) {
    for (std::size_t i = 0; i < items.size(); ++i) jobs_[i].item = &items[i];
  }

  batch::Outcome run() {
    while (printed_ < jobs_.size()) {
      start_ready_jobs();
      if (running_ > 0) wait_for_progress();
      print_finished_in_order();
      show_count();
    }
    clear_count();
    return worst_;
  }

 private:
  void start_ready_jobs() {
    for (std::size_t i = 0; i < jobs_.size() && running_ < options_.jobs; ++i) {
      if (jobs_[i].state == Job::State::Waiting) start(jobs_[i]);
    }
  }

  void start(Job& job) {
    std::vector<std::string> words{options_.self_exe, "convert"};
    if (options_.quiet || collect_) words.push_back("-q");
    words.insert(words.end(), {"-o", job.item->output_parent, "--", job.item->input_path});
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    std::array<int, 2> child_ends{-1, -1};
    if (collect_) {
      for (int stream = 0; stream < 2; ++stream) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) continue;
        job.fds[stream] = ends[0];
        child_ends[stream] = ends[1];
        posix_spawn_file_actions_adddup2(&actions, ends[1], stream + 1);
      }
    }
    const int error = spawn_child(job.pid, options_.self_exe, actions, argv.data());
    posix_spawn_file_actions_destroy(&actions);
    for (const int fd : child_ends)
      if (fd >= 0) ::close(fd);
    if (error != 0) {
      job.text[1] =
          "corvane: cannot start a conversion: " + std::string(std::strerror(error)) + "\n";
      job.text[0] = job.item->input_path + ": conversion failed\n";
      job.status = -1;
      for (int& fd : job.fds)
        if (fd >= 0) ::close(fd), fd = -1;
      job.state = Job::State::Done;
      return;
    }
    job.state = Job::State::Running;
    ++running_;
  }

  void wait_for_progress() {
    if (!collect_) {
      for (Job& job : jobs_)
        if (job.state == Job::State::Running) reap(job);
      return;
    }
    std::vector<pollfd> polled;
    std::vector<std::pair<Job*, int>> owners;
    for (Job& job : jobs_) {
      if (job.state != Job::State::Running) continue;
      for (int stream = 0; stream < 2; ++stream)
        if (job.fds[stream] >= 0) {
          polled.push_back({job.fds[stream], POLLIN, 0});
          owners.emplace_back(&job, stream);
        }
    }
    if (!polled.empty() && ::poll(polled.data(), polled.size(), -1) < 0 && errno != EINTR) return;
    for (std::size_t k = 0; k < polled.size(); ++k) {
      if (polled[k].revents == 0) continue;
      auto [job, stream] = owners[k];
      char buffer[4096];
      const ssize_t n = ::read(polled[k].fd, buffer, sizeof buffer);
      if (n > 0) {
        job->text[stream].append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        ::close(job->fds[stream]);
        job->fds[stream] = -1;
      }
    }
    for (Job& job : jobs_)
      if (job.state == Job::State::Running && job.fds[0] < 0 && job.fds[1] < 0) reap(job);
  }

  void reap(Job& job) {
    int status = 0;
    while (::waitpid(job.pid, &status, 0) < 0 && errno == EINTR) {
    }
    interruption::remove_child(job.pid);
    job.status = status;
    job.state = Job::State::Done;
    --running_;
    if (WIFSIGNALED(status)) {
      job.text[1] += "corvane: the conversion of " + job.item->input_path + " ended with signal " +
                     std::to_string(WTERMSIG(status)) + "\n";
      job.text[0] += job.item->input_path + ": conversion failed\n";
    }
  }

  // On a terminal, one line says how far the batch is while the children run quietly.
  void show_count() {
    if (!show_count_ || printed_ == jobs_.size()) return;
    const std::string line = "\r[" + std::to_string(printed_) + "/" + std::to_string(jobs_.size()) +
                             " done, " + std::to_string(running_) + " running]";
    if (count_shown_ && line == shown_line_) return;
    write_all(STDERR_FILENO, line);
    shown_line_ = line;
    count_shown_ = true;
  }

  void clear_count() {
    if (count_shown_) write_all(STDERR_FILENO, "\r\033[K");
    count_shown_ = false;
  }

  void print_finished_in_order() {
    while (printed_ < jobs_.size() && jobs_[printed_].state == Job::State::Done) {
      clear_count();
      const Job& job = jobs_[printed_++];
      std::fflush(stdout);
      write_all(STDERR_FILENO, job.text[1]);
      write_all(STDOUT_FILENO, job.text[0]);
      worst_ = std::max(worst_, outcome_of_exit_status(job.status));
    }
  }

  const ChildJobOptions& options_;
  const bool collect_;
  const bool show_count_;
  bool count_shown_ = false;
  std::string shown_line_;
  std::vector<Job> jobs_;
  int running_ = 0;
  std::size_t printed_ = 0;
  batch::Outcome worst_ = batch::Outcome::Converted;
};

}  // namespace

batch::Outcome run_child_jobs(const std::vector<batch::BatchItem>& items,
                              const ChildJobOptions& options) {
  return Scheduler(items, options).run();
}

}  // namespace corvane::cli
