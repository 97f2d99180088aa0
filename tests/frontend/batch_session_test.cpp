// The batch list's operations as the dialog's buttons use them, and reading the
// file-open dialog's result.
#include "frontend/batch/batch_session.h"

#include <gtest/gtest.h>

#include "frontend/batch/file_selection.h"

namespace corvane::batch {
namespace {

bool never_read_only(const std::string&) { return false; }

// An output directory dialog that answers from a script and remembers what it proposed.
struct ScriptedDialog {
  explicit ScriptedDialog(std::vector<OutputDirAnswer> script) : answers(std::move(script)) {}
  std::vector<OutputDirAnswer> answers;
  std::vector<std::string> proposed;
  OutputDirDialog fn() {
    return [this](const std::string& p) {
      proposed.push_back(p);
      OutputDirAnswer a = answers.at(proposed.size() - 1);
      return a;
    };
  }
};

TEST(BatchSession, AddAsksForEachFileAndSelectsTheLast) {
  BatchSession session(never_read_only);
  ScriptedDialog dialog({{"/out/a", false}, {"", false}});
  session.add({"/data/HY/HY01CATD.DDF", "/data/opt/x.opt"}, dialog.fn());
  ASSERT_EQ(session.items().size(), 2u);
  EXPECT_EQ(dialog.proposed, (std::vector<std::string>{"/data/HY", "/data/opt"}));
  EXPECT_EQ(session.items()[0].output_parent, "/out/a");
  EXPECT_EQ(session.items()[1].output_parent,
            "/data/opt");  // empty answer: the file's own directory
  EXPECT_EQ(session.selected(), 1);
  EXPECT_EQ(session.default_output_dir(), "/data/opt");
}

TEST(BatchSession, UseForAllSkipsTheDialogForLaterAdds) {
  BatchSession session(never_read_only);
  ScriptedDialog dialog({{"", true}});
  session.add({"/data/a.opt"}, dialog.fn());
  session.add({"/elsewhere/b.opt", "/third/c.opt"}, dialog.fn());
  EXPECT_EQ(dialog.proposed.size(), 1u);
  EXPECT_TRUE(session.use_common_output_dir());
  EXPECT_EQ(session.common_output_dir(), "/data");  // empty text: the default directory
  EXPECT_EQ(session.items()[2].output_parent, "/data");
}

TEST(BatchSession, EditOutputDirOfTheSelectedItem) {
  BatchSession session(never_read_only);
  ScriptedDialog dialog({{"/out/1", false}, {"/out/2", false}, {"/out/edited", false}, {"", true}});
  session.edit_output_dir(dialog.fn());  // nothing selected: no dialog
  EXPECT_TRUE(dialog.proposed.empty());

  session.add({"/d/a.opt", "/d/b.opt"}, dialog.fn());
  session.select(0);
  session.edit_output_dir(dialog.fn());
  EXPECT_EQ(dialog.proposed.back(), "/out/1");  // proposes the item's own directory
  EXPECT_EQ(session.items()[0].output_parent, "/out/edited");

  // Ticking the box during an edit sets the common directory for later Adds.
  session.select(1);
  session.edit_output_dir(dialog.fn());
  EXPECT_EQ(session.items()[1].output_parent, "/out/2");
  EXPECT_TRUE(session.use_common_output_dir());
  EXPECT_EQ(session.common_output_dir(), "/out/2");
  session.add({"/x/c.opt"}, dialog.fn());
  EXPECT_EQ(session.items()[2].output_parent, "/out/2");
}

TEST(BatchSession, DeleteRemovesTheSelectionAndSelectsTheLast) {
  BatchSession session(never_read_only);
  ScriptedDialog dialog({{"", false}, {"", false}, {"", false}});
  session.remove_selected();  // empty list: nothing happens
  EXPECT_EQ(session.selected(), -1);

  session.add({"/d/a.opt", "/d/b.opt", "/d/c.opt"}, dialog.fn());
  session.select(-1);
  session.remove_selected();  // no selection: nothing removed, the last one selected
  EXPECT_EQ(session.items().size(), 3u);
  EXPECT_EQ(session.selected(), 2);

  session.select(0);
  session.remove_selected();
  ASSERT_EQ(session.items().size(), 2u);
  EXPECT_EQ(session.items()[0].input_path, "/d/b.opt");
  EXPECT_EQ(session.selected(), 1);
  session.remove_selected();
  session.remove_selected();
  EXPECT_TRUE(session.items().empty());
  EXPECT_EQ(session.selected(), -1);
}

int g_conversions = 0;
int count_conversion(const char*, const char*) { return ++g_conversions, 0; }

TEST(BatchSession, GoOnAnEmptyListConvertsNothing) {
  BatchSession session(never_read_only);
  const ItemRunner runner(Converters{&count_conversion, &count_conversion});
  int selections = 0;
  EXPECT_TRUE(session.go(runner, [&](int) { ++selections; }).empty());
  EXPECT_EQ(g_conversions, 0);
  EXPECT_EQ(selections, 0);
}

TEST(BatchSession, ProposesHomeInsteadOfReadOnlyMedia) {
  BatchSession session([](const std::string& dir) { return dir == "/media/cdrom"; });
  ScriptedDialog dialog({{"", false}});
  ::setenv("HOME", "/home/someone", 1);
  session.add({"/media/cdrom/x.opt"}, dialog.fn());
  EXPECT_EQ(dialog.proposed.front(), "/home/someone");
}

TEST(FileSelection, OnePathOrADirectoryWithNames) {
  EXPECT_TRUE(parse_file_open_buffer(std::string_view("\0", 1)).empty());
  EXPECT_TRUE(parse_file_open_buffer("").empty());
  using namespace std::string_literals;
  EXPECT_EQ(parse_file_open_buffer("/d/HY01CATD.DDF\0\0"s),
            std::vector<std::string>{"/d/HY01CATD.DDF"});
  EXPECT_EQ(parse_file_open_buffer("/d/dlg\0c.opt\0a.opt\0b.opt\0\0"s),
            (std::vector<std::string>{"/d/dlg/c.opt", "/d/dlg/a.opt", "/d/dlg/b.opt"}));
  // A root directory already ends with its separator.
  EXPECT_EQ(parse_file_open_buffer("/\0a.opt\0b.opt\0\0"s),
            (std::vector<std::string>{"/a.opt", "/b.opt"}));
  EXPECT_EQ(parse_file_open_buffer("C:\\\0a.opt\0b.opt\0\0"s),
            (std::vector<std::string>{"C:\\a.opt", "C:\\b.opt"}));
}

}  // namespace
}  // namespace corvane::batch
