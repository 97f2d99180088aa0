// Takes the documentation's pictures: the batch dialog with a few inputs, and the SDTS
// converter's progress window halfway through a real transfer.
//   xvfb-run -a frontend_screenshots DOCS_DIR CATALOG
#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <string>

#include "frontend/batch/batch_session.h"
#include "frontend/batch/item_runner.h"
#include "frontend/batch/output_media.h"
#include "frontend/window/batch_dialog.h"
#include "frontend/window/qt_progress_presenter.h"
#include "platform/paths.h"
#include "platform/progress_presenter.h"

namespace {

using namespace corvane;

// Grabs the progress window once the bar passes half of its range.
class CapturingPresenter final : public ProgressPresenter {
 public:
  explicit CapturingPresenter(std::string file) : file_(std::move(file)) {}
  void open(const ProgressLayout& layout) override { inner_.open(layout); }
  void set_text(int field, const std::string& text) override { inner_.set_text(field, text); }
  void set_range(int low, int high) override {
    high_ = high;
    inner_.set_range(low, high);
  }
  void set_position(int position) override {
    inner_.set_position(position);
    if (!taken_ && high_ > 10 && position * 2 >= high_) {
      inner_.window()->adjustSize();
      QApplication::processEvents();
      taken_ = inner_.window()->grab().save(QString::fromStdString(file_));
    }
  }
  void repaint() override { inner_.repaint(); }
  void close() override { inner_.close(); }
  bool taken() const { return taken_; }

 private:
  window::QtProgressPresenter inner_;
  std::string file_;
  int high_ = 0;
  bool taken_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DOCS_DIR CATALOG\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  const std::string docs = argv[1];
  const std::string catalog = argv[2];

  batch::BatchSession session(batch::is_read_only_media);
  const auto keep = [](const std::string&) { return batch::OutputDirAnswer{"/home/user/shapes", true}; };
  session.add({"/home/user/dlg/1577865.HY.sdts.tar.gz", "/home/user/dlg/concord-ma/RD01CATD.DDF",
               "/home/user/dlg/westford-ma-HY.opt"},
              keep);
  batch::ItemRunner idle(batch::linked_converters());
  window::BatchDialog dialog(session, idle, window::WindowChoosers{});
  dialog.show();
  QApplication::processEvents();
  const bool dialog_taken = dialog.grab().save(QString::fromStdString(paths::join(docs, "batch-dialog.png")));
  dialog.hide();

  CapturingPresenter presenter(paths::join(docs, "progress-window.png"));
  install_progress_presenter(&presenter);
  paths::WorkDirectory out("corvane-screenshot-");
  batch::ItemRunner(batch::linked_converters()).run({catalog, out.path()});
  install_progress_presenter(nullptr);

  std::printf("batch dialog: %s\nprogress window: %s\n", dialog_taken ? "saved" : "FAILED",
              presenter.taken() ? "saved" : "not reached");
  return dialog_taken && presenter.taken() ? 0 : 1;
}
