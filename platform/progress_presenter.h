// A converter's modeless progress window, reduced to its fields. The converter owns
// the window's contents; whichever front end hosts the conversion decides how it looks.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/message_sink.h"

namespace corvane {

struct ProgressField {
  int id;             // the field's control id, which names it to presenters
  std::string label;  // the label shown beside it
};

struct ProgressLayout {
  std::string title;                  // window caption
  std::vector<ProgressField> fields;  // text fields, in display order
  int status_field = 0;               // field holding the current step (0: none)
  bool has_bar = false;
};

class CORVANE_PLATFORM_API ProgressPresenter {
 public:
  virtual ~ProgressPresenter() = default;
  virtual void open(const ProgressLayout& layout) = 0;  // create and show
  virtual void set_text(int field, const std::string& text) = 0;
  virtual void set_range(int low, int high) = 0;
  virtual void set_position(int position) = 0;
  virtual void repaint() = 0;  // the window has no message loop of its own
  virtual void close() = 0;    // destroy
};

class CORVANE_PLATFORM_API NullProgressPresenter final : public ProgressPresenter {
 public:
  void open(const ProgressLayout&) override {}
  void set_text(int, const std::string&) override {}
  void set_range(int, int) override {}
  void set_position(int) override {}
  void repaint() override {}
  void close() override {}
};

// Keeps the window's current state and every status text it showed, for tests.
class CORVANE_PLATFORM_API RecordingProgressPresenter final : public ProgressPresenter {
 public:
  void open(const ProgressLayout& layout) override;
  void set_text(int field, const std::string& text) override;
  void set_range(int low, int high) override;
  void set_position(int position) override;
  void repaint() override { ++repaints; }
  void close() override { is_open = false; }

  ProgressLayout layout;
  bool is_open = false;
  int opened = 0;
  std::map<int, std::string> fields;
  std::vector<std::string> statuses;  // every text set on the status field, in order
  int range_low = 0, range_high = 0, position = 0;
  int repaints = 0;
};

// A progress bar with the current step on a terminal; plain lines (one per step) otherwise.
class CORVANE_PLATFORM_API TerminalProgressPresenter final : public ProgressPresenter {
 public:
  explicit TerminalProgressPresenter(bool interactive);
  void open(const ProgressLayout& layout) override;
  void set_text(int field, const std::string& text) override;
  void set_range(int low, int high) override;
  void set_position(int position) override;
  void repaint() override {}
  void close() override;

 private:
  void draw();
  bool interactive_;
  ProgressLayout layout_;
  std::string status_;
  int low_ = 0, high_ = 0, position_ = 0;
  bool drawn_ = false;
  int drawn_cells_ = -1;  // the bar as last drawn; positions that leave it alone draw nothing
  static constexpr int kBarCells = 30;
  int cells() const;
};

// The installed presenter; a null presenter until something else is installed.
CORVANE_PLATFORM_API ProgressPresenter& progress_presenter();
// Installs `presenter` (not owned); nullptr restores the null presenter.
CORVANE_PLATFORM_API void install_progress_presenter(ProgressPresenter* presenter);

}  // namespace corvane
