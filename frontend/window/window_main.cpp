// The entry `corvane` looks up when it runs without arguments.
#include <QApplication>
#include <cstdio>

#include "frontend/batch/batch_session.h"
#include "frontend/batch/item_runner.h"
#include "frontend/batch/output_media.h"
#include "frontend/window/batch_dialog.h"
#include "frontend/window/program_icon.h"
#include "frontend/window/qt_message_sink.h"
#include "frontend/window/qt_progress_presenter.h"
#include "platform/interruption.h"

extern "C" __attribute__((visibility("default"))) int corvane_window_main(int argc, char** argv) {
  using namespace corvane;
  interruption::install_handler();
  QApplication app(argc, argv);
  QApplication::setWindowIcon(window::program_icon());
  window::QtMessageSink sink;
  window::QtProgressPresenter presenter;
  install_message_sink(&sink);
  install_progress_presenter(&presenter);

  batch::BatchSession session(batch::is_read_only_media);
  batch::ItemRunner runner(batch::linked_converters());
  runner.set_listing_sink([](const std::string& text) { std::printf("%s\n", text.c_str()); });
  window::BatchDialog dialog(session, runner, window::WindowChoosers{});
  dialog.exec();

  install_progress_presenter(nullptr);
  install_message_sink(nullptr);
  return 0;
}
