#include "frontend/window/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace corvane::window {

QIcon program_icon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;
    painter.setBrush(QColor(0xe8, 0xf0, 0xd8));
    painter.setPen(QPen(QColor(0x40, 0x50, 0x30), 1.5 * s));
    painter.drawRect(QRectF(2 * s, 2 * s, 28 * s, 28 * s));
    QPainterPath river;
    river.moveTo(4 * s, 24 * s);
    river.cubicTo(12 * s, 14 * s, 18 * s, 28 * s, 28 * s, 8 * s);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x20, 0x60, 0xc0), 2.5 * s));
    painter.drawPath(river);
    painter.setPen(QPen(QColor(0xb0, 0x30, 0x20), 2 * s));
    painter.drawLine(QPointF(6 * s, 8 * s), QPointF(26 * s, 26 * s));
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace corvane::window
