#include "frontend/window/batch_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "frontend/batch/output_media.h"
#include "frontend/window/about_dialog.h"
#include "frontend/window/batch_summary.h"
#include "frontend/window/program_icon.h"

namespace corvane::window {

QStringList input_file_filters() {
  return {"Compressed files (*.gz *.tar)", "SDTS DLG files (*catd.ddf *CATD.DDF)",
          "OPT DLG files (*.opt *.do*)", "All files (*)"};
}

FileChooser system_file_chooser() {
  return [](QWidget* parent) {
    QFileDialog dialog(parent, "Open DLG File");
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(input_file_filters());
    dialog.selectNameFilter(input_file_filters().front());
    dialog.setDefaultSuffix("opt");
    std::vector<std::string> paths;
    if (dialog.exec() == QDialog::Accepted) {
      for (const QString& file : dialog.selectedFiles()) paths.push_back(file.toStdString());
    }
    return paths;
  };
}

BatchDialog::BatchDialog(batch::BatchSession& session, const batch::ItemRunner& runner,
                         WindowChoosers choosers, QWidget* parent)
    : QDialog(parent),
      session_(session),
      runner_(runner),
      choosers_(std::move(choosers)),
      inputs_(new QListWidget) {
  setWindowTitle("CORVANE");
  setWindowIcon(program_icon());
  inputs_->setMinimumSize(520, 220);
  inputs_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  connect(inputs_, &QListWidget::currentRowChanged, this,
          [this](int row) { session_.select(row); });

  const std::vector<std::pair<Button, const char*>> labels{
      {kAbout, "About"},   {kAdd, "Add"},
      {kDelete, "Delete"}, {kEditOutputDir, "Edit Output Dir"},
      {kGo, "GO"},         {kCancel, "Cancel"}};
  auto* controls = new QGroupBox("Controls");
  auto* control_column = new QVBoxLayout(controls);
  for (const auto& [id, label] : labels) {
    auto* button = new QPushButton(label);
    button->setAutoDefault(false);
    buttons_[id] = button;
    control_column->addWidget(button);
  }
  control_column->addStretch();
  connect(buttons_[kAbout], &QPushButton::clicked, this, [this] { about(); });
  connect(buttons_[kAdd], &QPushButton::clicked, this, [this] { add(); });
  connect(buttons_[kDelete], &QPushButton::clicked, this, [this] { remove_selected(); });
  connect(buttons_[kEditOutputDir], &QPushButton::clicked, this, [this] { edit_output_dir(); });
  connect(buttons_[kGo], &QPushButton::clicked, this, [this] { go(); });
  connect(buttons_[kCancel], &QPushButton::clicked, this, &QDialog::reject);

  auto* list_column = new QVBoxLayout;
  list_column->addWidget(new QLabel("DLG files to process:"));
  list_column->addWidget(inputs_);
  auto* row = new QHBoxLayout(this);
  row->addLayout(list_column, 1);
  row->addWidget(controls);
  show_items();
}

void BatchDialog::about() { AboutDialog(version_text(), this).exec(); }

void BatchDialog::add() {
  session_.add(choosers_.choose_files(this),
               [this](const std::string& proposed) { return ask_output_dir(proposed); });
  show_items();
}

void BatchDialog::remove_selected() {
  session_.remove_selected();
  show_items();
}

void BatchDialog::edit_output_dir() {
  session_.edit_output_dir(
      [this](const std::string& proposed) { return ask_output_dir(proposed); });
  show_items();
}

void BatchDialog::go() {
  for (auto& [id, button] : buttons_) button->setEnabled(false);
  outcomes_ = session_.go(runner_, [this](int index) {
    inputs_->setCurrentRow(index);
    inputs_->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
  BatchSummary(session_.items(), outcomes_, this).exec();
  accept();
}

batch::OutputDirAnswer BatchDialog::ask_output_dir(const std::string& proposed) {
  OutputDirDialog dialog(proposed, choosers_.choose_directory, batch::is_read_only_media, this);
  dialog.exec();
  return dialog.answer();
}

// The output directory of each item is kept beside it as its tool tip.
void BatchDialog::show_items() {
  const QSignalBlocker quiet(inputs_);
  inputs_->clear();
  for (const batch::BatchItem& item : session_.items()) {
    auto* entry = new QListWidgetItem(QString::fromStdString(item.input_path), inputs_);
    entry->setToolTip("Output directory: " + QString::fromStdString(item.output_parent));
  }
  inputs_->setCurrentRow(session_.selected());
}

}  // namespace corvane::window
