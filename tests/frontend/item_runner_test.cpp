// One batch item from input to run directory: dispatch, unpacking and the rename after
// names.txt, with stand-in converters that behave like the real ones at their boundary.
#include "frontend/batch/item_runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "frontend/batch/sdts_rename.h"
#include "platform/message_sink.h"
#include "tests/archives/fixtures.h"

namespace corvane::batch {
namespace {

using test::ScratchDir;
namespace fs = std::filesystem;

// What the stand-in converters saw and what the SDTS one leaves behind.
struct ConverterScript {
  std::vector<std::string> display_inputs, display_opt_inputs;
  std::vector<std::string> contents;  // of the input file at call time
  std::string run_name = "HY01CATDshp";
  std::string title = "Contours, Elev/1:24 000";
  bool write_names = true;
  int result = 0;
};
ConverterScript g_script;

int fake_display(const char* input, const char* parent) {
  g_script.display_inputs.push_back(input);
  g_script.contents.push_back(test::read_file(input));
  fs::create_directory(std::string(parent) + "/" + g_script.run_name);
  if (g_script.write_names)
    test::write_file(std::string(parent) + "/names.txt", g_script.run_name + "\n" + g_script.title);
  return g_script.result;
}

int fake_display_opt(const char* input, const char*) {
  g_script.display_opt_inputs.push_back(input);
  g_script.contents.push_back(test::read_file(input));
  return g_script.result;
}

std::tm fixed_time() {
  std::tm t{};
  t.tm_mon = 2;  // March
  t.tm_mday = 14;
  t.tm_hour = 9;
  t.tm_min = 5;
  t.tm_sec = 7;
  return t;
}

class ItemRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_script = ConverterScript{};
    install_message_sink(&messages);
  }
  void TearDown() override { install_message_sink(nullptr); }
  ItemOutcome run(const std::string& input, const std::string& parent) {
    return ItemRunner(Converters{&fake_display, &fake_display_opt}, fixed_time)
        .run({input, parent});
  }

  RecordingMessageSink messages;
  ScratchDir data, out;
};

TEST_F(ItemRunnerTest, UpperCaseDdfGoesToDisplayWithThePathUnchanged) {
  fs::create_directory(data / "Hydro");
  test::write_file(data / "Hydro/HY01CATD.DDF", "catalog");
  const ItemOutcome outcome = run(data / "Hydro/HY01CATD.DDF", out.path());
  ASSERT_EQ(g_script.display_inputs, std::vector<std::string>{data / "Hydro/HY01CATD.DDF"});
  EXPECT_EQ(g_script.contents.front(), "catalog");
  EXPECT_TRUE(outcome.converted);
  // Title "Contours, Elev/1:24 000" at 9:05:07 on 14 March.
  EXPECT_EQ(outcome.run_directory, out / "Contours__Elev_1:24_0003_14_9_05_07");
  EXPECT_EQ(test::list_dir(out.path()),
            std::vector<std::string>{"Contours__Elev_1:24_0003_14_9_05_07"});
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ItemRunnerTest, OtherExtensionsGoToDisplayOpt) {
  test::write_file(data / "West.Ford.Opt", "dlg");
  const ItemOutcome outcome = run(data / "West.Ford.Opt", out.path());
  EXPECT_EQ(g_script.display_opt_inputs, std::vector<std::string>{data / "West.Ford.Opt"});
  EXPECT_TRUE(outcome.converted);
  EXPECT_EQ(outcome.run_directory, out / "West_Fordshp");

  g_script.result = 1;
  EXPECT_FALSE(run(data / "West.Ford.Opt", out.path()).converted);
}

TEST_F(ItemRunnerTest, TransferWithoutTitleKeepsItsNameBeforeTheTime) {
  test::write_file(data / "AB01CATD.DDF", "catalog");
  g_script.title = "";
  EXPECT_EQ(run(data / "AB01CATD.DDF", out.path()).run_directory, out / "HY01CATDshp3_14_9_05_07");
  EXPECT_FALSE(test::exists(out / "names.txt"));
}

TEST_F(ItemRunnerTest, SecondConversionInTheSameSecondKeepsItsNameWithAWarning) {
  test::write_file(data / "AB01CATD.DDF", "catalog");
  g_script.title = "Same";
  EXPECT_EQ(run(data / "AB01CATD.DDF", out.path()).run_directory, out / "Same3_14_9_05_07");
  EXPECT_EQ(run(data / "AB01CATD.DDF", out.path()).run_directory, out / "HY01CATDshp");
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0],
            "Warning--cannot rename output directory to Same3_14_9_05_07\nDirectory will be named "
            "HY01CATDshp");
  EXPECT_EQ(test::list_dir(out.path()),
            (std::vector<std::string>{"HY01CATDshp", "Same3_14_9_05_07"}));
}

TEST_F(ItemRunnerTest, MissingNamesFileSkipsTheRenameAndSaysSo) {
  test::write_file(data / "AB01CATD.DDF", "catalog");
  g_script.write_names = false;
  const ItemOutcome outcome = run(data / "AB01CATD.DDF", out.path());
  EXPECT_TRUE(outcome.converted);
  EXPECT_EQ(test::list_dir(out.path()), std::vector<std::string>{"HY01CATDshp"});
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].find("names.txt not found"), std::string::npos);
}

TEST_F(ItemRunnerTest, NamesFileCannotSteerTheRenameElsewhere) {
  test::write_file(data / "AB01CATD.DDF", "catalog");
  fs::create_directory(out / "parent");
  g_script.run_name = "../victim";  // the stand-in makes out/victim
  run(data / "AB01CATD.DDF", out / "parent");
  EXPECT_TRUE(test::exists(out / "victim"));
  EXPECT_TRUE(test::list_dir(out / "parent").empty());
  EXPECT_EQ(messages.messages.size(), 1u);
}

TEST(RunDirectoryName, TitleCharactersAndTime) {
  EXPECT_EQ(run_directory_name("Contours, Elev", fixed_time()), "Contours__Elev3_14_9_05_07");
  EXPECT_EQ(run_directory_name("BOSTON SOUTH, MA   \r", fixed_time()),
            "BOSTON_SOUTH__MA___3_14_9_05_07");
}

// The unpack directory is private, named "unzipped", and gone afterwards; the user's own
// "unzipped" directory beside the outputs is left alone; the current directory stays.
TEST_F(ItemRunnerTest, TarGzTransferWithUpperCaseCatalog) {
  fs::create_directory(out / "unzipped");
  test::write_file(out / "unzipped/mine.txt", "the user's");
  test::write_tar(data / "1577865.HY.sdts.tar",
                  {{test::TarMember::Kind::File, "README", "about", ""},
                   {test::TarMember::Kind::File, "HY01CATD.DDF", "catalog", ""},
                   {test::TarMember::Kind::File, "HY01LE01.DDF", "lines", ""}});
  test::write_gzip(data / "1577865.HY.sdts.tar.gz", test::read_file(data / "1577865.HY.sdts.tar"));
  const std::string cwd = fs::current_path().string();

  const ItemOutcome outcome = run(data / "1577865.HY.sdts.tar.gz", out.path());
  ASSERT_EQ(g_script.display_inputs.size(), 1u);
  const std::string catalog = g_script.display_inputs[0];
  EXPECT_EQ(fs::path(catalog).filename(), "HY01CATD.DDF");
  EXPECT_EQ(fs::path(catalog).parent_path().filename(), "unzipped");
  EXPECT_NE(fs::path(catalog).parent_path().string(), out / "unzipped");
  EXPECT_EQ(g_script.contents[0], "catalog");
  EXPECT_TRUE(outcome.converted);
  EXPECT_FALSE(test::exists(fs::path(catalog).parent_path().parent_path().string()));
  EXPECT_EQ(test::read_file(out / "unzipped/mine.txt"), "the user's");
  EXPECT_EQ(fs::current_path().string(), cwd);
}

TEST_F(ItemRunnerTest, ArchiveThatCannotBeUnpackedFailsWithoutConverting) {
  test::write_file(data / "broken.tar.gz", "not gzip at all");
  test::write_tar(data / "evil.tar", {{test::TarMember::Kind::File, "../evil.opt", "x", ""}});
  test::write_tar(data / "empty.tar", {});
  EXPECT_FALSE(run(data / "broken.tar.gz", out.path()).converted);
  EXPECT_FALSE(run(data / "evil.tar", out.path()).converted);
  EXPECT_FALSE(run(data / "empty.tar", out.path()).converted);
  EXPECT_TRUE(g_script.display_inputs.empty());
  EXPECT_TRUE(g_script.display_opt_inputs.empty());
  ASSERT_EQ(messages.messages.size(), 3u);
  EXPECT_NE(messages.messages[0].find("Cannot unpack"), std::string::npos);
  EXPECT_NE(messages.messages[1].find("refused member ../evil.opt"), std::string::npos);
  EXPECT_NE(messages.messages[2].find("No file to convert"), std::string::npos);
  EXPECT_FALSE(test::exists(data / "../evil.opt"));
}

}  // namespace
}  // namespace corvane::batch
