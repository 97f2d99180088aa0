// "About Corvane": the icon, the version and the authors.
#pragma once

#include <QDialog>
#include <QLabel>

namespace corvane::window {

class AboutDialog final : public QDialog {
 public:
  // `version_text` is "Version 3.20" from the About button, empty from the system menu.
  AboutDialog(const QString& version_text, QWidget* parent);
  QString version_text() const { return version_->text(); }

 private:
  QLabel* version_;
};

// "Version %.2f" of the program's version.
QString version_text();

}  // namespace corvane::window
