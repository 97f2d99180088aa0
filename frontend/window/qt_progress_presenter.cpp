#include "frontend/window/qt_progress_presenter.h"

#include <QApplication>
#include <QGridLayout>
#include <QVBoxLayout>
#include <set>

namespace corvane::window {

namespace {

// Repainting after every element of a large transfer would cost more than the conversion.
constexpr qint64 kRepaintIntervalMs = 40;

// A run of k fields sharing one label right after k fields with labels of their own is
// a second column of counters ("Points 2216  Processed 1000"); pair them on one row.
std::map<std::size_t, std::size_t> paired_fields(const std::vector<ProgressField>& fields) {
  std::map<std::size_t, std::size_t> pairs;  // first column index -> second column index
  std::size_t i = 0;
  while (i < fields.size()) {
    std::size_t run = 1;
    while (i + run < fields.size() && fields[i + run].label == fields[i].label) ++run;
    if (run > 1 && i >= run) {
      for (std::size_t k = 0; k < run; ++k) pairs[i - run + k] = i + k;
    }
    i += run;
  }
  return pairs;
}

}  // namespace

QtProgressPresenter::QtProgressPresenter() = default;
QtProgressPresenter::~QtProgressPresenter() = default;

void QtProgressPresenter::open(const ProgressLayout& layout) {
  close();
  window_ = std::make_unique<QWidget>(nullptr, Qt::Window);
  window_->setWindowTitle(QString::fromStdString(layout.title));
  window_->setAttribute(Qt::WA_ShowWithoutActivating);
  auto* column = new QVBoxLayout(window_.get());
  auto* grid = new QGridLayout;
  column->addLayout(grid);
  const std::map<std::size_t, std::size_t> pairs = paired_fields(layout.fields);
  std::set<std::size_t> placed;
  int row = 0;
  for (std::size_t i = 0; i < layout.fields.size(); ++i) {
    if (placed.count(i) != 0) continue;
    int col = 0;
    for (const std::size_t index : {i, pairs.count(i) != 0 ? pairs.at(i) : layout.fields.size()}) {
      if (index >= layout.fields.size()) break;
      const ProgressField& field = layout.fields[index];
      auto* value = new QLabel;
      value->setMinimumWidth(pairs.count(i) != 0 ? 80 : 360);
      value->setTextInteractionFlags(Qt::TextSelectableByMouse);
      grid->addWidget(new QLabel(QString::fromStdString(field.label)), row, col++);
      grid->addWidget(value, row, col++, 1, pairs.count(i) != 0 ? 1 : 3);
      values_[field.id] = value;
      placed.insert(index);
    }
    ++row;
  }
  if (layout.has_bar) {
    bar_ = new QProgressBar;
    bar_->setTextVisible(false);
    bar_->setVisible(false);
    column->addWidget(bar_);
  }
  window_->show();
  window_->repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  since_repaint_.start();
}

void QtProgressPresenter::set_text(int field, const std::string& text) {
  if (auto it = values_.find(field); it != values_.end())
    it->second->setText(QString::fromStdString(text));
}

// An empty range hides the bar (Qt would show an endless busy bar for it).
void QtProgressPresenter::set_range(int low, int high) {
  if (bar_ == nullptr) return;
  bar_->setVisible(high > low);
  if (high > low) bar_->setRange(low, high);
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
