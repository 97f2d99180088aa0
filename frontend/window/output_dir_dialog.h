// "Specify Output Directory": the output parent directory of an item, with BROWSE and
// "Use for all subsequent cases".
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <string>

#include "frontend/batch/batch_session.h"

namespace corvane::window {

// The platform's directory chooser: the directory picked, or empty when cancelled.
using DirectoryChooser = std::function<std::string(QWidget* parent, const std::string& start)>;
DirectoryChooser system_directory_chooser();

class OutputDirDialog final : public QDialog {
 public:
  OutputDirDialog(const std::string& proposed, DirectoryChooser choose_directory,
                  batch::BatchSession::MediaCheck read_only_media, QWidget* parent);

  // What the batch list takes: the edit text and the box after OK, the proposal after Cancel.
  batch::OutputDirAnswer answer() const;

  void browse();
  QLineEdit* edit() const { return edit_; }
  QCheckBox* use_for_all() const { return use_for_all_; }
  QPushButton* browse_button() const { return browse_; }

  void accept() override;

 private:
  std::string proposed_;
  DirectoryChooser choose_directory_;
  batch::BatchSession::MediaCheck read_only_media_;
  QLineEdit* edit_;
  QCheckBox* use_for_all_;
  QPushButton* browse_;
};

}  // namespace corvane::window
