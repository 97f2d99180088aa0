#include "platform/progress_presenter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace corvane {

namespace {
NullProgressPresenter g_null_presenter;
ProgressPresenter* g_installed_presenter = nullptr;
}  // namespace

ProgressPresenter& progress_presenter() {
  return g_installed_presenter ? *g_installed_presenter : g_null_presenter;
}

void install_progress_presenter(ProgressPresenter* presenter) { g_installed_presenter = presenter; }

void RecordingProgressPresenter::open(const ProgressLayout& l) {
  layout = l;
  is_open = true;
  ++opened;
  fields.clear();
}

void RecordingProgressPresenter::set_text(int field, const std::string& text) {
  fields[field] = text;
  if (field == layout.status_field && layout.status_field != 0) statuses.push_back(text);
}

void RecordingProgressPresenter::set_range(int low, int high) {
  range_low = low;
  range_high = high;
}

void RecordingProgressPresenter::set_position(int p) { position = p; }

TerminalProgressPresenter::TerminalProgressPresenter(bool interactive)
    : interactive_(interactive) {}

void TerminalProgressPresenter::open(const ProgressLayout& layout) {
  layout_ = layout;
  status_.clear();
  low_ = high_ = position_ = 0;
  drawn_ = false;
  drawn_cells_ = -1;
}

void TerminalProgressPresenter::set_text(int field, const std::string& text) {
  if (field != layout_.status_field || layout_.status_field == 0 || text == status_) return;
  status_ = text;
  if (interactive_) {
    draw();
  } else {
    std::fprintf(stderr, "%s\n", status_.c_str());
  }
}

void TerminalProgressPresenter::set_range(int low, int high) {
  low_ = low;
  high_ = high;
  if (interactive_) draw();
}

// Converters set a position for every value they read, hundreds of thousands in a large
// module: only a position that moves the bar by a cell is worth a write to the terminal.
void TerminalProgressPresenter::set_position(int position) {
  position_ = position;
  if (interactive_ && cells() != drawn_cells_) draw();
}

int TerminalProgressPresenter::cells() const {
  const std::int64_t span = std::int64_t{high_} - low_;
  if (span <= 0) return 0;
  return static_cast<int>(
      std::clamp<std::int64_t>((std::int64_t{position_} - low_) * kBarCells / span, 0, kBarCells));
}

void TerminalProgressPresenter::draw() {
  constexpr int kWidth = kBarCells;
  const int filled = cells();
  drawn_cells_ = filled;
  std::string bar(static_cast<size_t>(filled), '#');
  bar.resize(kWidth, ' ');
  std::string status = status_.substr(0, 60);
  std::fprintf(stderr, "\r[%s] %-60s", bar.c_str(), status.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void TerminalProgressPresenter::close() {
  if (interactive_ && drawn_) std::fprintf(stderr, "\r%*s\r", 94, "");
  drawn_ = false;
}

}  // namespace corvane
