// A converter's progress window as a modeless Qt window, laid out from whatever fields
// the converter declares. The converter runs on the window thread, so the window is
// repainted on the converter's request rather than by an event loop.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <map>
#include <memory>

#include "platform/progress_presenter.h"

namespace corvane::window {

class QtProgressPresenter final : public ProgressPresenter {
 public:
  QtProgressPresenter();
  ~QtProgressPresenter() override;
  void open(const ProgressLayout& layout) override;
  void set_text(int field, const std::string& text) override;
  void set_range(int low, int high) override;
  void set_position(int position) override;
  void repaint() override;
  void close() override;

  // The open window, or nullptr.
  QWidget* window() const { return window_.get(); }
  // The text shown in `field`, for tests.
  QString text(int field) const;

 private:
  std::unique_ptr<QWidget> window_;
  std::map<int, QLabel*> values_;
  QProgressBar* bar_ = nullptr;
  QElapsedTimer since_repaint_;
};

}  // namespace corvane::window
