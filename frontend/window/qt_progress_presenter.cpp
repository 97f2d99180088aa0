#include "frontend/window/qt_progress_presenter.h"

#include <QApplication>
#include <QFormLayout>
#include <QVBoxLayout>

namespace corvane::window {

namespace {
// Repainting after every element of a large transfer would cost more than the conversion.
constexpr qint64 kRepaintIntervalMs = 40;
}  // namespace

QtProgressPresenter::QtProgressPresenter() = default;
QtProgressPresenter::~QtProgressPresenter() = default;

void QtProgressPresenter::open(const ProgressLayout& layout) {
  close();
  window_ = std::make_unique<QWidget>(nullptr, Qt::Window);
  window_->setWindowTitle(QString::fromStdString(layout.title));
  window_->setAttribute(Qt::WA_ShowWithoutActivating);
  auto* column = new QVBoxLayout(window_.get());
  auto* form = new QFormLayout;
  column->addLayout(form);
  for (const ProgressField& field : layout.fields) {
    auto* value = new QLabel;
    value->setMinimumWidth(360);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    std::string label = field.label;
    if (field.id == layout.status_field && label.empty()) label = "Current Process:";
    form->addRow(QString::fromStdString(label), value);
    values_[field.id] = value;
  }
  if (layout.has_bar) {
    bar_ = new QProgressBar;
    bar_->setRange(0, 0);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    column->addWidget(bar_);
  }
  window_->show();
  window_->repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  since_repaint_.start();
}

void QtProgressPresenter::set_text(int field, const std::string& text) {
  if (auto it = values_.find(field); it != values_.end()) it->second->setText(QString::fromStdString(text));
}

void QtProgressPresenter::set_range(int low, int high) {
  if (bar_ != nullptr) bar_->setRange(low, std::max(low, high));
}

void QtProgressPresenter::set_position(int position) {
  if (bar_ != nullptr) bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

void QtProgressPresenter::repaint() {
  if (!window_ || since_repaint_.elapsed() < kRepaintIntervalMs) return;
  window_->repaint();
  // Paint and expose events only: a click on the batch window must not start anything
  // while a conversion runs inside its GO handler.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  since_repaint_.restart();
}

void QtProgressPresenter::close() {
  values_.clear();
  bar_ = nullptr;
  window_.reset();
}

QString QtProgressPresenter::text(int field) const {
  const auto it = values_.find(field);
  return it == values_.end() ? QString() : it->second->text();
}

}  // namespace corvane::window
