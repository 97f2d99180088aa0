// `corvane` as scripts run it: options, exit statuses, the lines per input and the reasons
// (with stand-in converters), signals, and parallel jobs on the real USGS data (whose outputs
// the golden test pins).
#include "frontend/cli/command_line.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "tests/archives/fixtures.h"
#include "tests/support/shared_data.h"

extern char** environ;

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

struct ProgramRun {
  int status;
  std::string out, err;
};

std::string quoted(const std::string& word) { return "'" + word + "'"; }

ProgramRun corvane(const std::vector<std::string>& args, const std::string& env = "",
                   const char* program = CORVANE_PROGRAM) {
  const ScratchDir capture;
  std::string command = env + " " + quoted(program);
  for (const auto& arg : args) command += " " + quoted(arg);
  command += " >" + quoted(capture / "out") + " 2>" + quoted(capture / "err") + " </dev/null";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::read_file(capture / "out"),
          test::read_file(capture / "err")};
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// ProgramRun directory of each input, from the "INPUT -> DIR" lines.
std::map<std::string, std::string> run_directories(const std::string& out) {
  std::map<std::string, std::string> dirs;
  for (const auto& line : lines(out)) {
    const auto arrow = line.find(" -> ");
    if (arrow != std::string::npos) dirs[line.substr(0, arrow)] = line.substr(arrow + 4);
  }
  return dirs;
}

TEST(CommandLine, ParsesConvertOptions) {
  const CommandLine line =
      parse_command_line({"convert", "-o", "out", "-j3", "--trace", "a.opt", "--", "-b.opt"});
  ASSERT_EQ(line.action, CommandLine::Action::Convert);
  EXPECT_EQ(line.convert.output_dir, "out");
  EXPECT_EQ(line.convert.jobs, 3);
  EXPECT_TRUE(line.convert.trace);
  EXPECT_EQ(line.convert.inputs, (std::vector<std::string>{"a.opt", "-b.opt"}));
  EXPECT_EQ(parse_command_line({}).action, CommandLine::Action::Window);
  EXPECT_EQ(parse_command_line({"convert", "a", "--help"}).action, CommandLine::Action::Help);
  for (const auto& bad : std::vector<std::vector<std::string>>{{"convert"},
                                                               {"convert", "-j", "0", "a"},
                                                               {"convert", "-j", "x", "a"},
                                                               {"convert", "-o"},
                                                               {"convert", "--bogus", "a"},
                                                               {"frobnicate"}})
    EXPECT_EQ(parse_command_line(bad).action, CommandLine::Action::UsageError) << bad.back();
}

TEST(CommandLine, WindowModeWithoutADisplayExplainsTheCommandLine) {
  const ProgramRun run = corvane({}, "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("corvane convert"), std::string::npos);
}

// Inputs written as the stand-in converters read them, run in a directory of their own; paths
// in what the program prints are given relative to it, the output directory as OUT.
TEST(CommandLine, OneLinePerInputReasonsOnStderrAndTheWorstOutcomeAsStatus) {
  const ScratchDir dir;
  test::write_file(dir / "ok.opt", "fine");
  test::write_file(dir / "part.opt", "result=2");
  test::write_file(dir / "bad.opt", "result=1");
  test::write_file(dir / "a.zip", "PK\3\4");
  fs::create_directory(dir / "folder");
  const std::string ok = "ok.opt -> OUT/okshp\n", part = "part.opt -> OUT/partshp (incomplete)\n",
                    why =
                        "part.opt: LE01 (XX01LE01.DDF): converted in part: 20 of 41 records read\n",
                    refused = "bad.opt: refused: the stand-in was told to fail\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  const std::vector<Case> cases{
      {{"ok.opt"}, 0, ok, ""},
      {{"-q", "ok.opt", "part.opt"}, 3, ok + part, why},
      {{"-j", "2", "part.opt", "bad.opt", "ok.opt"},
       1,
       part + "bad.opt: conversion failed\n" + ok,
       why + refused},
      {{"bad.opt", "a.zip", "folder"},
       1,
       "bad.opt: conversion failed\na.zip: conversion failed\nfolder: conversion failed\n",
       refused + "a.zip: unsupported archive: zip input is not supported yet\nfolder: is a folder: "
                 "give the SDTS catalog (*CATD.DDF), the DLG-3 optional file or the archive in "
                 "it\n"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string out = dir / ("out" + std::to_string(i));
    std::vector<std::string> args{"convert", "-o", out};
    for (const std::string& arg : cases[i].args)
      args.push_back(arg.ends_with(".opt") || arg == "a.zip" || arg == "folder" ? dir / arg : arg);
    ProgramRun run = corvane(args, "", CORVANE_STANDIN);
    const std::pair<std::string, std::string> replacements[] = {{out, "OUT"}, {dir / "", ""}};
    for (std::string* text : {&run.out, &run.err})
      for (const auto& [from, to] : replacements)
        for (auto at = text->find(from); at != std::string::npos; at = text->find(from, at))
          text->replace(at, from.size(), to);
    EXPECT_EQ(run.status, cases[i].status) << i;
    EXPECT_EQ(run.out, cases[i].out) << i;
    EXPECT_EQ(run.err, cases[i].err) << i;
    EXPECT_EQ(test::list_dir(out).size(), run_directories(run.out).size()) << i;
  }
  const ProgramRun usage = corvane({"convert"}, "", CORVANE_STANDIN);
  EXPECT_EQ(usage.status, 2);
  EXPECT_NE(usage.err.find("at least one INPUT"), std::string::npos);
  const ProgramRun help = corvane({"convert", "-h"}, "", CORVANE_STANDIN);
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Exit status: 0 when every input was converted in full, 3 when"),
            std::string::npos);
}

// Concurrent conversions of one transfer into one output directory each end with a complete
// run directory of their own.
TEST(CommandLine, ConcurrentRunsOfOneTransferGetARunDirectoryEach) {
  const ScratchDir dir;
  test::write_file(dir / "HY01CATD.DDF", "01234 L     an ISO 8211 leader; pause");
  const std::string one = quoted(CORVANE_STANDIN) + " convert -q -o " + quoted(dir / "out") + " " +
                          quoted(dir / "HY01CATD.DDF") + " >/dev/null";
  EXPECT_EQ(std::system((one + " & " + one + "; s=$?; wait $! && exit $s").c_str()), 0);
  const std::vector<std::string> made = test::list_dir(dir / "out");
  ASSERT_EQ(made.size(), 2u);
  for (const std::string& name : made)
    EXPECT_EQ(test::read_file(dir / ("out/" + name + "/HY01CATD.log")),
              "log\nfinal run directory: " + dir / ("out/" + name) + "\n");
}

// `corvane ARGS` started with TEMP set and the three signals at their defaults.
pid_t start(const std::vector<std::string>& args, const std::string& temp) {
  ::setenv("TEMP", temp.c_str(), 1);
  std::vector<std::string> words{CORVANE_STANDIN};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, words[0].c_str(), nullptr, &attributes, argv.data(), environ), 0);
  posix_spawnattr_destroy(&attributes);
  ::unsetenv("TEMP");
  return pid;
}

// A signal during an unpack removes the private unpack and staging directories and ends the
// process with that signal; with -j the parent hands it to its children and waits for them.
// The archive unpacks to 1 GiB (gzip members of 1 MiB of zeros), far more than the time the
// signal needs to arrive.
TEST(CommandLine, SignalDuringAnUnpackLeavesNothingPrivate) {
  const ScratchDir dir;
  const std::string member = test::gzip_bytes(std::string(1 << 20, '\0'));
  std::string archive;
  for (int i = 0; i < 1024; ++i) archive += member;
  test::write_file(dir / "big.opt.gz", archive);
  fs::create_directory(dir / "tmp");
  const std::string big = dir / "big.opt.gz", out = dir / "out";
  const std::vector<std::tuple<int, std::size_t, std::vector<std::string>>> runs{
      {SIGINT, 1, {"convert", "-q", "-o", out, big}},
      {SIGTERM, 2, {"convert", "-j", "2", "-o", out, big, big}}};
  for (const auto& [signal, unpacks, args] : runs) {
    const pid_t pid = start(args, dir / "tmp");
    const auto unpacking = [&] {  // files being written in the private directories
      std::size_t n = 0;
      std::error_code ec;
      for (fs::recursive_directory_iterator it(dir / "tmp", ec), end; !ec && it != end;
           it.increment(ec))
        n += it->is_regular_file(ec);
      return n;
    };
    for (int wait = 0; wait < 20000 && unpacking() < unpacks; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ::kill(pid, signal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal << ": " << status;
    EXPECT_TRUE(test::list_dir(dir / "tmp").empty()) << signal;
    EXPECT_TRUE(test::list_dir(out).empty()) << signal;
  }
}

std::vector<std::string> files_in(const std::string& dir, const std::string& ending) {
  std::vector<std::string> files;
  for (const auto& name : test::list_dir(dir))
    if (name.size() > ending.size() && name.ends_with(ending)) files.push_back(dir + "/" + name);
  return files;
}

void expect_every_input_converted(const ProgramRun& run, const std::vector<std::string>& inputs) {
  EXPECT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> printed = lines(run.out);
  ASSERT_EQ(printed.size(), inputs.size()) << run.out;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    ASSERT_EQ(printed[i].rfind(inputs[i] + " -> ", 0), 0u) << printed[i];
    const std::string dir = printed[i].substr(inputs[i].size() + 4);
    EXPECT_FALSE(files_in(dir, ".shp").empty()) << dir;
  }
}

// Every output file of each input's run directory, by name, with its bytes; run files
// carry times and paths, so only shapefiles and tables are compared.
std::map<std::string, std::string> outputs_of(const std::map<std::string, std::string>& dirs,
                                              const std::string& prefix) {
  std::map<std::string, std::string> files;
  for (const auto& [input, dir] : dirs) {
    for (const auto& name : test::list_dir(dir)) {
      const std::string ext = fs::path(name).extension().string();
      if (ext == ".shp" || ext == ".shx" || ext == ".dbf")
        files[input.substr(prefix.size()) + " " + name] = test::read_file(dir + "/" + name);
    }
  }
  return files;
}

TEST(CommandLineRealData, TwoJobsGiveTheSameOutputsAsOne) {
  CORVANE_REQUIRE_SHARED_DATA();
  const ScratchDir work;
  const std::string data = corvane::test::shared_data_dir();
  std::map<int, std::map<std::string, std::string>> results;
  for (const int jobs : {1, 2}) {
    // Each input in its own directory, converted beside itself, so the SDTS runs overlap too.
    const std::string root = work / ("j" + std::to_string(jobs));
    std::vector<std::string> inputs;
    for (const std::string transfer : {"anacapa-ca-BD", "concord-ma-RR", "concord-ma-MT"}) {
      test::copy_tree(data + "/sdts/" + transfer, root + "/" + transfer);
      inputs.push_back(files_in(root + "/" + transfer, "CATD.DDF").front());
      fs::create_directories(root + "/opt-" + transfer);
      fs::copy(data + "/dlg3-optional/" + transfer + ".opt",
               root + "/opt-" + transfer + "/" + transfer + ".opt");
      inputs.push_back(root + "/opt-" + transfer + "/" + transfer + ".opt");
    }
    std::vector<std::string> args{"convert", "-q", "-j", std::to_string(jobs)};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const ProgramRun run = corvane(args);
    expect_every_input_converted(run, inputs);
    results[jobs] = outputs_of(run_directories(run.out), root);
  }
  EXPECT_FALSE(results[1].empty());
  EXPECT_EQ(results[1].size(), results[2].size());
  EXPECT_TRUE(results[1] == results[2]);
}

}  // namespace
}  // namespace corvane::cli
