// The end of a batch in the window: how each item ended, with every reason it gave, until
// the user closes it.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <vector>

#include "frontend/batch/batch_item.h"
#include "frontend/batch/item_outcome.h"

namespace corvane::window {

class BatchSummary final : public QDialog {
 public:
  // One outcome per item, in the same order.
  BatchSummary(const std::vector<batch::BatchItem>& items,
               const std::vector<batch::ItemOutcome>& outcomes, QWidget* parent);
  QString text() const { return text_->toPlainText(); }

 private:
  QPlainTextEdit* text_;
};

}  // namespace corvane::window
