// The batch list and the output directory choices of one program run, without any
// window toolkit: the window and the tests drive it through the operations below.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "frontend/batch/batch_item.h"
#include "frontend/batch/item_runner.h"

namespace corvane::batch {

// What the output directory dialog hands back. The dialog shows `proposed`; on OK it
// returns the edit text and the "Use for all subsequent cases" box, on Cancel the
// proposal unchanged and an unticked box.
struct OutputDirAnswer {
  std::string text;
  bool use_for_all = false;
};
using OutputDirDialog = std::function<OutputDirAnswer(const std::string& proposed)>;

class BatchSession {
 public:
  using MediaCheck = std::function<bool(const std::string&)>;
  explicit BatchSession(MediaCheck read_only_media);

  // Appends each path with its output parent directory (the common one once set,
  // otherwise what the dialog answers) and selects the last item.
  void add(const std::vector<std::string>& paths, const OutputDirDialog& ask);
  // Removes the selected item, if any; then selects the last one, if any.
  void remove_selected();
  // Lets the dialog replace the selected item's output parent directory.
  void edit_output_dir(const OutputDirDialog& ask);
  // Converts every item in order, selecting each before it runs.
  std::vector<ItemOutcome> go(const ItemRunner& runner,
                              const std::function<void(int index)>& on_select = nullptr);

  void select(int index);
  int selected() const { return selected_; }  // -1: none
  const std::vector<BatchItem>& items() const { return items_; }
  const std::string& default_output_dir() const { return default_output_dir_; }
  const std::string& common_output_dir() const { return common_output_dir_; }
  bool use_common_output_dir() const { return use_common_output_dir_; }

  // What the dialog proposes: the default directory, or the home directory when the
  // default lies on media we may not write to.
  std::string proposed_output_dir() const;

 private:
  std::string ask_output_dir(const OutputDirDialog& ask);

  MediaCheck read_only_media_;
  std::vector<BatchItem> items_;
  int selected_ = -1;
  std::string default_output_dir_;
  std::string common_output_dir_;
  bool use_common_output_dir_ = false;
};

}  // namespace corvane::batch
