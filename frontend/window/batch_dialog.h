// The batch dialog "CORVANE": the list of inputs and the buttons that build and run it.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "frontend/batch/batch_session.h"
#include "frontend/window/output_dir_dialog.h"

namespace corvane::window {

// The platform's file-open dialog: the paths chosen, none when cancelled.
using FileChooser = std::function<std::vector<std::string>(QWidget* parent)>;
FileChooser system_file_chooser();

// The filters of the file-open dialog, in the order shown.
QStringList input_file_filters();

struct WindowChoosers {
  FileChooser choose_files = system_file_chooser();
  DirectoryChooser choose_directory = system_directory_chooser();
};

class BatchDialog final : public QDialog {
 public:
  // Control ids name the buttons.
  enum Button { kGo = 1, kCancel = 2, kDelete = 3, kAdd = 4, kAbout = 5, kEditOutputDir = 6 };

  BatchDialog(batch::BatchSession& session, const batch::ItemRunner& runner,
              WindowChoosers choosers, QWidget* parent = nullptr);

  void about();
  void add();
  void remove_selected();
  void edit_output_dir();
  // Converts every item, shows how each ended (BatchSummary), then closes.
  void go();

  QPushButton* button(Button id) const { return buttons_.at(id); }
  QListWidget* input_list() const { return inputs_; }
  // Results of the last GO, one per item.
  const std::vector<batch::ItemOutcome>& outcomes() const { return outcomes_; }

 private:
  batch::OutputDirAnswer ask_output_dir(const std::string& proposed);
  void show_items();

  batch::BatchSession& session_;
  const batch::ItemRunner& runner_;
  WindowChoosers choosers_;
  QListWidget* inputs_;
  std::map<int, QPushButton*> buttons_;
  std::vector<batch::ItemOutcome> outcomes_;
};

}  // namespace corvane::window
