// Takes the documentation's pictures: the batch dialog with a few inputs, and the SDTS
// converter's progress window during a real conversion.
//   xvfb-run -a frontend_screenshots DOCS_DIR INPUT OUTPUT_DIR
#include <QApplication>
#include <QPainter>
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

// Under Xvfb there is no window manager to draw the caption, so we draw it.
bool save_with_caption(QWidget* window, const std::string& file) {
  const QPixmap body = window->grab();
  const int caption = 26;
  QPixmap picture(body.width(), body.height() + caption);
  picture.fill(QColor(0x3a, 0x4a, 0x6a));
  QPainter painter(&picture);
  painter.drawPixmap(0, caption, body);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(10, 0, body.width() - 20, caption), Qt::AlignVCenter | Qt::AlignLeft,
                   window->windowTitle());
  painter.end();
  return picture.save(QString::fromStdString(file));
}

// Grabs the progress window once its bar passes half of its range, or when it closes.
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
    if (high_ > 10 && position * 2 >= high_) take();
  }
  void repaint() override { inner_.repaint(); }
  // A window without a bar is taken as it stands at the end.
  void close() override {
    take();
    inner_.close();
  }
  bool taken() const { return taken_; }

 private:
  void take() {
    if (taken_ || inner_.window() == nullptr) return;
    inner_.window()->adjustSize();
    QApplication::processEvents();
    taken_ = save_with_caption(inner_.window(), file_);
  }

  window::QtProgressPresenter inner_;
  std::string file_;
  int high_ = 0;
  bool taken_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s DOCS_DIR INPUT OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  const std::string docs = argv[1];
  const std::string input = argv[2];
  const std::string output_dir = argv[3];
  const bool sdts = paths::iequals(paths::extension(input), "ddf");

  batch::BatchSession session(batch::is_read_only_media);
  const auto keep = [](const std::string&) {
    return batch::OutputDirAnswer{"/home/user/shapes", true};
  };
  session.add({"/home/user/dlg/1577865.HY.sdts.tar.gz", "/home/user/dlg/concord-ma/RD01CATD.DDF",
               "/home/user/dlg/westford-ma-HY.opt"},
              keep);
  batch::ItemRunner idle(batch::linked_converters());
  window::BatchDialog dialog(session, idle, window::WindowChoosers{});
  dialog.show();
  QApplication::processEvents();
  const bool dialog_taken = save_with_caption(&dialog, paths::join(docs, "batch-dialog.png"));
  dialog.hide();

  CapturingPresenter presenter(
      paths::join(docs, sdts ? "progress-window-sdts.png" : "progress-window-opt.png"));
  install_progress_presenter(&presenter);
  batch::ItemRunner(batch::linked_converters()).run({input, output_dir});
  install_progress_presenter(nullptr);

  std::printf("batch dialog: %s\nprogress window: %s\n", dialog_taken ? "saved" : "FAILED",
              presenter.taken() ? "saved" : "not reached");
  return dialog_taken && presenter.taken() ? 0 : 1;
}
