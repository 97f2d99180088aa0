#include "frontend/window/output_dir_dialog.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "frontend/batch/output_media.h"
#include "platform/message_sink.h"

namespace corvane::window {

DirectoryChooser system_directory_chooser() {
  return [](QWidget* parent, const std::string& start) {
    return QFileDialog::getExistingDirectory(parent, "Select Directory",
                                             QString::fromStdString(start))
        .toStdString();
  };
}

OutputDirDialog::OutputDirDialog(const std::string& proposed, DirectoryChooser choose_directory,
                                 batch::BatchSession::MediaCheck read_only_media, QWidget* parent)
    : QDialog(parent),
      proposed_(proposed),
      choose_directory_(std::move(choose_directory)),
      read_only_media_(std::move(read_only_media)),
      edit_(new QLineEdit(QString::fromStdString(proposed))),
      use_for_all_(new QCheckBox("Use for all subsequent cases")),
      browse_(new QPushButton("BROWSE")) {
  setWindowTitle("Specify Output Directory");
  edit_->setMinimumWidth(380);
  auto* row = new QHBoxLayout;
  row->addWidget(edit_);
  row->addWidget(browse_);
  auto* ok = new QPushButton("OK");
  auto* cancel = new QPushButton("Cancel");
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(use_for_all_);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(new QLabel("Output Parent Directory:"));
  column->addLayout(row);
  column->addLayout(buttons);
  connect(browse_, &QPushButton::clicked, this, [this] { browse(); });
  connect(ok, &QPushButton::clicked, this, [this] { accept(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void OutputDirDialog::browse() {
  for (;;) {
    const std::string chosen = choose_directory_(this, edit_->text().toStdString());
    if (chosen.empty()) return;
    if (!read_only_media_(chosen)) {
      edit_->setText(QString::fromStdString(chosen));
      return;
    }
    show_message(batch::kCdRomRefusal);
  }
}

// A typed directory is checked too: a read-only one would only fail later, mid-batch.
void OutputDirDialog::accept() {
  const std::string text = edit_->text().toStdString();
  if (!text.empty() && read_only_media_(text)) {
    show_message(batch::kCdRomRefusal);
    return;
  }
  QDialog::accept();
}

batch::OutputDirAnswer OutputDirDialog::answer() const {
  if (result() != QDialog::Accepted) return {proposed_, false};
  return {edit_->text().toStdString(), use_for_all_->isChecked()};
}

}  // namespace corvane::window
