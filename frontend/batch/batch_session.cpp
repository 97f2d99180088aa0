#include "frontend/batch/batch_session.h"

#include <cstdlib>

#include "platform/paths.h"

namespace corvane::batch {

BatchSession::BatchSession(MediaCheck read_only_media)
    : read_only_media_(std::move(read_only_media)) {}

void BatchSession::add(const std::vector<std::string>& paths, const OutputDirDialog& ask) {
  for (const std::string& path : paths) {
    default_output_dir_ = paths::directory_part(path);
    std::string output_parent;
    if (use_common_output_dir_) {
      output_parent = common_output_dir_;
    } else {
      const std::string text = ask_output_dir(ask);
      if (!text.empty()) default_output_dir_ = text;
      output_parent = default_output_dir_;
    }
    items_.push_back({path, output_parent});
  }
  if (!items_.empty()) select(static_cast<int>(items_.size()) - 1);
}

void BatchSession::remove_selected() {
  if (selected_ >= 0 && selected_ < static_cast<int>(items_.size()))
    items_.erase(items_.begin() + selected_);
  select(static_cast<int>(items_.size()) - 1);
}

void BatchSession::edit_output_dir(const OutputDirDialog& ask) {
  if (selected_ < 0 || selected_ >= static_cast<int>(items_.size())) return;
  BatchItem& item = items_[static_cast<std::size_t>(selected_)];
  default_output_dir_ = item.output_parent;
  const std::string text = ask_output_dir(ask);
  item.output_parent = text.empty() ? default_output_dir_ : text;
}

std::vector<ItemOutcome> BatchSession::go(const ItemRunner& runner,
                                          const std::function<void(int)>& on_select) {
  std::vector<ItemOutcome> outcomes;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    select(i);
    if (on_select) on_select(i);
    outcomes.push_back(runner.run(items_[static_cast<std::size_t>(i)]));
  }
  return outcomes;
}

void BatchSession::select(int index) {
  selected_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
}

std::string BatchSession::proposed_output_dir() const {
  if (default_output_dir_.empty() || !read_only_media_(default_output_dir_))
    return default_output_dir_;
  const char* home = std::getenv("HOME");
  return home != nullptr ? home : "";
}

std::string BatchSession::ask_output_dir(const OutputDirDialog& ask) {
  const OutputDirAnswer answer = ask(proposed_output_dir());
  if (answer.use_for_all && !use_common_output_dir_) {
    common_output_dir_ = answer.text.empty() ? default_output_dir_ : answer.text;
    use_common_output_dir_ = true;
  }
  return answer.text;
}

}  // namespace corvane::batch
