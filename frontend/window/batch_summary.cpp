#include "frontend/window/batch_summary.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>
#include <array>

namespace corvane::window {

namespace {

QString counts(const std::vector<batch::ItemOutcome>& outcomes) {
  std::array<int, 3> n{};
  for (const batch::ItemOutcome& outcome : outcomes) ++n[static_cast<int>(outcome.outcome)];
  return QString("%1 converted, %2 incomplete, %3 failed").arg(n[0]).arg(n[1]).arg(n[2]);
}

}  // namespace

BatchSummary::BatchSummary(const std::vector<batch::BatchItem>& items,
                           const std::vector<batch::ItemOutcome>& outcomes, QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit) {
  setWindowTitle("CORVANE: batch finished");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setMinimumSize(640, 240);
  for (std::size_t i = 0; i < items.size() && i < outcomes.size(); ++i) {
    text_->appendPlainText(
        QString::fromStdString(batch::outcome_line(items[i].input_path, outcomes[i])));
    for (const std::string& reason : outcomes[i].reasons)
      text_->appendPlainText("    " + QString::fromStdString(reason));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* column = new QVBoxLayout(this);
  column->addWidget(new QLabel(counts(outcomes)));
  column->addWidget(text_);
  column->addWidget(buttons);
}

}  // namespace corvane::window
