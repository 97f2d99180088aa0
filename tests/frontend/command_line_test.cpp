// `corvane` as scripts run it: options, exit status, output per input, and parallel jobs on
// the real USGS data (whose outputs the golden test pins).
#include "frontend/cli/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "frontend/cli/child_jobs.h"
#include "tests/archives/fixtures.h"
#include "tests/support/shared_data.h"

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

struct ProgramRun {
  int status;
  std::string out, err;
};

std::string quoted(const std::string& word) { return "'" + word + "'"; }

ProgramRun corvane(const std::vector<std::string>& args, const std::string& env = "") {
  const ScratchDir capture;
  std::string command = env + " " + quoted(CORVANE_PROGRAM);
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
  for (const auto& bad : std::vector<std::vector<std::string>>{{"convert"},
                                                               {"convert", "-j", "0", "a"},
                                                               {"convert", "-j", "x", "a"},
                                                               {"convert", "-o"},
                                                               {"convert", "--bogus", "a"},
                                                               {"frobnicate"}})
    EXPECT_EQ(parse_command_line(bad).action, CommandLine::Action::UsageError) << bad.back();
}

TEST(CommandLine, ItemsThatMustNotRunTogether) {
  const batch::BatchItem opt_a{"/d/a.opt", "/o"}, opt_b{"/d/b.opt", "/o"},
      opt_a_elsewhere{"/e/a.opt", "/o"};
  const batch::BatchItem sdts{"/d/HY/HY01CATD.DDF", "/o"}, sdts_other{"/d/RR/RR01CATD.DDF", "/p"};
  const batch::BatchItem archive{"/d/x.tar.gz", "/o"};
  EXPECT_FALSE(items_conflict(opt_a, opt_b));
  EXPECT_TRUE(items_conflict(opt_a, opt_a_elsewhere));  // same run directory
  EXPECT_TRUE(items_conflict(sdts, opt_a));             // names.txt in /o
  EXPECT_TRUE(items_conflict(archive, opt_b));
  EXPECT_FALSE(items_conflict(sdts, sdts_other));
}

TEST(CommandLine, HelpVersionAndUsageErrors) {
  const ProgramRun version = corvane({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "corvane Version 3.20\n");
  const ProgramRun help = corvane({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("corvane convert [-o DIR] [-j N]"), std::string::npos);
  const ProgramRun bad = corvane({"convert"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("at least one INPUT"), std::string::npos);
}

TEST(CommandLine, WindowModeWithoutADisplayExplainsTheCommandLine) {
  const ProgramRun run = corvane({}, "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("corvane convert"), std::string::npos);
}

TEST(CommandLine, MissingAndUnpackableInputsFail) {
  const ScratchDir dir;
  test::write_file(dir / "broken.tar.gz", "not an archive");
  const ProgramRun run =
      corvane({"convert", "-o", dir / "out", dir / "missing.opt", dir / "broken.tar.gz"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(lines(run.out), (std::vector<std::string>{dir / "missing.opt: conversion failed",
                                                      dir / "broken.tar.gz: conversion failed"}));
  EXPECT_NE(run.err.find("No such input"), std::string::npos);
  EXPECT_NE(run.err.find("Cannot unpack"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir / "out"));
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

TEST(CommandLineRealData, DamagedInputFailsAloneAndTheOthersComplete) {
  CORVANE_REQUIRE_SHARED_DATA();
  const ScratchDir work;
  const std::string data = corvane::test::shared_data_dir();
  test::copy_tree(data + "/sdts/concord-ma-RR", work / "RR");
  fs::create_directory(work / "bad");
  test::write_file(work / "bad/XX01CATD.DDF", "this is no ISO 8211 file");
  test::write_file(work / "cut.tar.gz",
                   test::read_file(data + "/sdts-archives/1577410.RR.sdts.tar").substr(0, 20000));
  const std::vector<std::string> inputs{
      data + "/dlg3-optional/concord-ma-RR.opt", work / "bad/XX01CATD.DDF",
      work / "RR/RR01CATD.DDF", work / "cut.tar.gz", data + "/dlg3-optional/anacapa-ca-BD.opt"};
  std::vector<std::string> args{"convert", "-q", "-j", "2", "-o", work / "out"};
  args.insert(args.end(), inputs.begin(), inputs.end());
  const ProgramRun run = corvane(args);
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> printed = lines(run.out);
  ASSERT_EQ(printed.size(), inputs.size()) << run.out;
  for (const std::size_t i : {0u, 2u, 4u})
    EXPECT_EQ(printed[i].rfind(inputs[i] + " -> ", 0), 0u) << printed[i];
  for (const std::size_t i : {1u, 3u})
    EXPECT_EQ(printed[i].rfind(inputs[i] + ": conversion failed", 0), 0u) << printed[i];
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
