// One batch item from input to run directory: recognition by content, unpacking, and the move
// out of the private staging directory, with stand-in converters.
#include "frontend/batch/item_runner.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/archives/fixtures.h"
#include "tests/frontend/standin_converters.h"

namespace corvane::batch {
namespace {

using test::ScratchDir;
using File = test::TarMember;
namespace fs = std::filesystem;

const std::string kCatalog = "01234 L     an ISO 8211 leader";

std::tm fixed_time() {
  std::tm t{};
  t.tm_mon = 2;  // March
  t.tm_mday = 14;
  t.tm_hour = 9;
  t.tm_min = 5;
  t.tm_sec = 7;
  return t;
}

// The unpack directories go into a temporary directory of the test's own, empty afterwards.
class ItemRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::g_stand_in_calls.clear();
    ::setenv("TEMP", temp.path().c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("TEMP");
    EXPECT_TRUE(test::list_dir(temp.path()).empty());
  }
  ItemOutcome run(const std::string& input, const std::string& parent) {
    return ItemRunner(test::stand_in_converters(), fixed_time).run({input, parent});
  }

  ScratchDir data, out, temp;
};

// Names lie: what an input holds decides what is done with it. `handed` is the ending of the
// path a converter is handed, or the one reason of a failure.
TEST_F(ItemRunnerTest, RecognisesInputsByContentWhateverTheirNames) {
  const std::string transfer = test::tar_bytes({{File::Kind::File, "README", "about", ""},
                                                {File::Kind::File, "HY01CATD.DDF", kCatalog, ""}});
  const std::string zip = "PK\3\4 a zip";
  struct Case {
    const char* name;
    std::string content;
    char converter;  // 0: none, the item fails
    const char* handed;
  };
  const std::vector<Case> cases{
      {"HY01CATD.DDF", kCatalog, 'D', "/HY01CATD.DDF"},
      {"West.Ford.Opt", kCatalog, 'D', "/West.Ford.Opt"},
      {"notes.DDF", "DLG-3 records", 'O', "/notes.DDF"},
      {"x.tgz", test::gzip_bytes(transfer), 'D', "/unzipped/HY01CATD.DDF"},
      {"transfer.dat", test::gzip_bytes(transfer), 'D', "/unzipped/HY01CATD.DDF"},
      {"transfer.gz", test::gzip_bytes(transfer), 'D', "/unzipped/HY01CATD.DDF"},
      {"transfer", transfer, 'D', "/unzipped/HY01CATD.DDF"},
      {"West.opt.gz", test::gzip_bytes("DLG-3 records"), 'O', "/unzipped/West.opt"},
      {"catalog.gz", test::gzip_bytes(kCatalog), 'D', "/unzipped/catalog"},
      {"x.zip", zip, 0, "unsupported archive: zip input is not supported yet"},
      {"x.tar.gz", zip, 0, "unsupported archive: zip input is not supported yet"},
      {"modules.tar",
       test::tar_bytes({{File::Kind::File, "HY01LE01.DDF", kCatalog, ""},
                        {File::Kind::File, "README", "about", ""}}),
       0, "no SDTS catalog or DLG-3 optional file in the archive"},
      {"broken.gz", "\x1f\x8b not gzip", 0, "cannot unpack the archive: the gzip data is damaged"},
      {"missing.opt", "", 0, "cannot read: No such file or directory"},
      {"folder", "", 0, "is a folder: "},
  };
  for (const Case& c : cases) {
    const std::string input = data / c.name;
    if (!c.content.empty()) test::write_file(input, c.content);
    if (std::string(c.name) == "folder") fs::create_directory(input);
    test::g_stand_in_calls.clear();
    const ScratchDir output;
    const ItemOutcome outcome = run(input, output.path());
    if (c.converter == 0) {
      EXPECT_TRUE(test::g_stand_in_calls.empty()) << c.name;
      EXPECT_EQ(outcome.outcome, Outcome::Failed) << c.name;
      ASSERT_EQ(outcome.reasons.size(), 1u) << c.name;
      EXPECT_TRUE(outcome.reasons[0].starts_with(c.handed)) << c.name << ": " << outcome.reasons[0];
      EXPECT_TRUE(test::list_dir(output.path()).empty()) << c.name;
      continue;
    }
    ASSERT_EQ(test::g_stand_in_calls.size(), 1u) << c.name;
    EXPECT_EQ(test::g_stand_in_calls[0].converter, c.converter) << c.name;
    EXPECT_TRUE(test::g_stand_in_calls[0].input.ends_with(c.handed))
        << c.name << ": " << test::g_stand_in_calls[0].input;
    EXPECT_EQ(outcome.outcome, Outcome::Converted) << c.name;
    EXPECT_EQ(test::list_dir(output.path()).size(), 1u) << c.name;  // the run directory only
  }
}

// What lies in the output directory stays as it is: the user's names.txt, and an earlier run
// directory under the name the converter uses; a name taken gets "_2". The .log ends with
// where the run directory is.
TEST_F(ItemRunnerTest, RunDirectoriesNeverReplaceOrMergeIntoWhatIsThere) {
  test::write_file(data / "HY01CATD.DDF", kCatalog);
  test::write_file(data / "west.opt", "result=2");
  test::write_file(out / "names.txt", "the user's");
  fs::create_directory(out / "westshp");
  test::write_file(out / "westshp/old.txt", "stale");
  const std::string title = out / "Stand-in_Title3_14_9_05_07";
  const std::vector<std::array<std::string, 3>> runs{
      {data / "HY01CATD.DDF", title, "HY01CATD"},
      {data / "HY01CATD.DDF", title + "_2", "HY01CATD"},
      {data / "west.opt", out / "westshp_2", "west"}};
  for (const auto& [input, expected, stem] : runs) {
    const ItemOutcome outcome = run(input, out.path());
    EXPECT_EQ(outcome.run_directory, expected);
    EXPECT_EQ(test::read_file(expected + "/" + stem + ".log"),
              "log\nfinal run directory: " + expected + "\n");
  }
  const ItemOutcome incomplete = run(data / "west.opt", out.path());
  EXPECT_EQ(outcome_line("west.opt", incomplete), "west.opt -> " + out / "westshp_3 (incomplete)");
  EXPECT_EQ(
      incomplete.reasons,
      std::vector<std::string>{"LE01 (XX01LE01.DDF): converted in part: 20 of 41 records read"});
  EXPECT_EQ(test::read_file(out / "names.txt"), "the user's");
  EXPECT_EQ(test::list_dir(out / "westshp"), std::vector<std::string>{"old.txt"});
  EXPECT_EQ(test::list_dir(out.path()).size(), 6u);
}

}  // namespace
}  // namespace corvane::batch
