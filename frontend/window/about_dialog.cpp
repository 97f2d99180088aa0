#include "frontend/window/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "frontend/window/program_icon.h"

namespace corvane::window {

namespace {
constexpr double kVersion = 3.20;
}  // namespace

QString version_text() { return QString::asprintf("Version %.2f", kVersion); }

AboutDialog::AboutDialog(const QString& text, QWidget* parent)
    : QDialog(parent), version_(new QLabel(text)) {
  setWindowTitle("About Corvane");
  version_->setObjectName("version");
  auto* icon = new QLabel;
  icon->setPixmap(program_icon().pixmap(32, 32));
  auto* lines = new QVBoxLayout;
  lines->addWidget(new QLabel("Corvane: USGS DLG data to shapefiles and dBase tables"));
  lines->addWidget(version_);
  lines->addWidget(new QLabel("Written by the Corvane developers"));
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addLayout(lines);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* column = new QVBoxLayout(this);
  column->addLayout(row);
  column->addWidget(buttons);
}

}  // namespace corvane::window
