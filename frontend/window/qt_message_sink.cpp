#include "frontend/window/qt_message_sink.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace corvane::window {

void QtMessageSink::show(const std::string& text) {
  QString message = QString::fromStdString(text);
  while (message.endsWith('\n')) message.chop(1);
  QMessageBox::warning(QApplication::activeWindow(), "CORVANE", message);
}

}  // namespace corvane::window
