// The batch window driven through its real dialogs: Add, Edit Output Dir, GO and About, with the
// file and directory choices injected. What the buttons do to the list is the batch session's,
// tested with it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "frontend/batch/item_runner.h"
#include "frontend/window/about_dialog.h"
#include "frontend/window/batch_dialog.h"
#include "frontend/window/batch_summary.h"
#include "frontend/window/output_dir_dialog.h"
#include "frontend/window/qt_progress_presenter.h"
#include "platform/message_sink.h"
#include "platform/progress_presenter.h"
#include "tests/archives/fixtures.h"

namespace corvane::window {
namespace {

using test::ScratchDir;

// Acts on the next modal dialog of type D once it is up (the click that opens it blocks).
template <typename D>
void on_next_modal(std::function<void(D*)> action) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    if (auto* dialog = dynamic_cast<D*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      action(dialog);
    }
  });
  timer->start();
}

bool never_read_only(const std::string&) { return false; }

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_message_sink(&messages);
    install_progress_presenter(&presenter);
  }
  void TearDown() override {
    install_progress_presenter(nullptr);
    install_message_sink(nullptr);
  }
  WindowChoosers choosers(std::vector<std::string> files) {
    WindowChoosers c;
    c.choose_files = [files](QWidget*) { return files; };
    c.choose_directory = [this](QWidget*, const std::string&) { return chosen_directory; };
    return c;
  }

  RecordingMessageSink messages;
  QtProgressPresenter presenter;
  batch::BatchSession session{never_read_only};
  std::string chosen_directory;
  ScratchDir scratch;
};

int no_conversion(const char*, const char*) { return 1; }
const batch::ItemRunner g_idle_runner(batch::Converters{&no_conversion, &no_conversion});

TEST_F(WindowTest, CaptionsAndAboutText) {
  BatchDialog dialog(session, g_idle_runner, choosers({}));
  EXPECT_EQ(dialog.windowTitle(), "CORVANE");
  EXPECT_EQ(dialog.button(BatchDialog::kEditOutputDir)->text(), "Edit Output Dir");
  QString version, title;
  on_next_modal<AboutDialog>([&](AboutDialog* about) {
    version = about->version_text();
    title = about->windowTitle();
    about->accept();
  });
  dialog.button(BatchDialog::kAbout)->click();
  EXPECT_EQ(version, "Version 3.20");
  EXPECT_EQ(title, "About Corvane");
  EXPECT_EQ(input_file_filters(),
            (QStringList{"Compressed files (*.gz *.tar)", "SDTS DLG files (*catd.ddf *CATD.DDF)",
                         "OPT DLG files (*.opt *.do*)", "All files (*)"}));
}

TEST_F(WindowTest, AddAsksOnceWhenUseForAllIsTicked) {
  BatchDialog dialog(session, g_idle_runner, choosers({"/data/a/x.opt", "/data/b/y.opt"}));
  std::vector<QString> proposed;
  on_next_modal<OutputDirDialog>([&](OutputDirDialog* ask) {
    proposed.push_back(ask->edit()->text());
    EXPECT_EQ(ask->windowTitle(), "Specify Output Directory");
    ask->edit()->setText(QString::fromStdString(scratch.path()));
    ask->use_for_all()->setChecked(true);
    ask->accept();
  });
  dialog.button(BatchDialog::kAdd)->click();
  EXPECT_EQ(proposed, std::vector<QString>{"/data/a"});
  ASSERT_EQ(dialog.input_list()->count(), 2);
  EXPECT_EQ(dialog.input_list()->item(1)->text(), "/data/b/y.opt");
  EXPECT_EQ(dialog.input_list()->currentRow(), 1);
  EXPECT_EQ(session.items()[1].output_parent, scratch.path());
}

TEST_F(WindowTest, EditOutputDirBrowsesAndReplacesTheDirectory) {
  session.add({"/data/a/x.opt", "/data/b/y.opt"}, [](const std::string&) {
    return batch::OutputDirAnswer{"/first", false};
  });
  BatchDialog dialog(session, g_idle_runner, choosers({}));
  dialog.input_list()->setCurrentRow(0);
  chosen_directory = scratch.path();
  QString proposed;
  on_next_modal<OutputDirDialog>([&](OutputDirDialog* ask) {
    proposed = ask->edit()->text();
    ask->browse_button()->click();
    ask->accept();
  });
  dialog.button(BatchDialog::kEditOutputDir)->click();
  EXPECT_EQ(proposed, "/first");
  EXPECT_EQ(session.items()[0].output_parent, scratch.path());
  EXPECT_EQ(session.items()[1].output_parent, "/first");
}

TEST_F(WindowTest, OutputDirDialogRefusesReadOnlyMedia) {
  std::vector<std::string> offered{"/media/cdrom", scratch.path()};
  std::size_t next = 0;
  OutputDirDialog ask(
      "/data", [&](QWidget*, const std::string&) { return offered.at(next++); },
      [](const std::string& dir) { return dir == "/media/cdrom"; }, nullptr);
  ask.browse();  // refused once, then the chooser opens again
  EXPECT_EQ(next, 2u);
  EXPECT_EQ(ask.edit()->text().toStdString(), scratch.path());
  ask.edit()->setText("/media/cdrom");
  ask.accept();  // typed: refused as well, the dialog stays open
  EXPECT_NE(ask.result(), QDialog::Accepted);
  EXPECT_EQ(messages.messages,
            (std::vector<std::string>(2, "The Output Directory cannot be a CD-ROM")));
  ask.reject();
  EXPECT_EQ(ask.answer().text, "/data");  // Cancel hands back the proposal
}

// A stand-in converter that shows a progress window through the installed presenter, as the
// converters do, and notes what the window showed; "b.opt" comes out incomplete.
struct SeenWindow {
  bool visible = false;
  QString title, input;
  int bar_max = 0;
};
std::vector<SeenWindow> g_seen;
QtProgressPresenter* g_presenter = nullptr;

int converter_with_window(const char* input, const char* parent) {
  ProgressPresenter& progress = progress_presenter();
  progress.open({"CORVANE for Optional Format by Wendmark",
                 {{1000, "Input File:"}, {1007, "Points"}},
                 0,
                 true});
  progress.set_text(1000, input);
  progress.set_range(0, 10);
  progress.set_position(5);
  progress.repaint();
  SeenWindow seen;
  seen.visible = g_presenter->window() != nullptr && g_presenter->window()->isVisible();
  seen.title = g_presenter->window()->windowTitle();
  seen.input = g_presenter->text(1000);
  g_seen.push_back(seen);
  progress.close();
  std::filesystem::create_directory(std::string(parent) + "/runshp");
  if (!std::string(input).ends_with("b.opt")) return 0;
  show_message("lines: converted in part: 38 of 41 lines read");
  return 2;
}

TEST_F(WindowTest, GoConvertsEveryItemWithItsProgressWindowAndSumsUpBeforeClosing) {
  g_presenter = &presenter;
  g_seen.clear();
  test::write_file(scratch / "a.opt", "a");
  test::write_file(scratch / "b.opt", "b");
  session.add({scratch / "a.opt", scratch / "b.opt"},
              [](const std::string&) { return batch::OutputDirAnswer{}; });
  const batch::ItemRunner runner(batch::Converters{&no_conversion, &converter_with_window});
  BatchDialog dialog(session, runner, choosers({}));
  dialog.show();
  QString summary;
  on_next_modal<BatchSummary>([&](BatchSummary* shown) {
    summary = shown->text();
    shown->reject();
  });
  dialog.button(BatchDialog::kGo)->click();
  EXPECT_EQ(summary.toStdString(), scratch / "a.opt -> " + scratch / "runshp\n" +
                                       scratch / "b.opt -> " + scratch / "runshp_2 (incomplete)\n" +
                                       "    lines: converted in part: 38 of 41 lines read");
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_TRUE(g_seen[0].visible);
  EXPECT_EQ(g_seen[0].title, "CORVANE for Optional Format by Wendmark");
  EXPECT_EQ(g_seen[1].input.toStdString(), scratch / "b.opt");
  EXPECT_EQ(presenter.window(), nullptr);
  ASSERT_EQ(dialog.outcomes().size(), 2u);
}

}  // namespace
}  // namespace corvane::window
