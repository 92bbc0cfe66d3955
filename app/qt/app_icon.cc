#include "app/qt/app_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace fenmarq {

void paintApplicationIcon(QPainter& painter) {
  // Sky.
  QLinearGradient sky(0, 0, 0, 64);
  sky.setColorAt(0, QColor(0x3d, 0x9a, 0xe0));
  sky.setColorAt(1, QColor(0x1c, 0x5f, 0xa8));
  painter.setPen(Qt::NoPen);
  painter.setBrush(sky);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

  // The sheet: a header row and a grid of cells.
  const QRectF sheet(26, 24, 30, 32);
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(sheet, 2, 2);
  painter.setBrush(QColor(0xcf, 0xe6, 0xf7));
  painter.drawRect(QRectF(sheet.left(), sheet.top() + 2, sheet.width(), 6));
  painter.setPen(QPen(QColor(0x7f, 0xa9, 0xcc), 1.2));
  for (double y = sheet.top() + 8; y < sheet.bottom() - 1; y += 6) {
    painter.drawLine(QPointF(sheet.left() + 2, y), QPointF(sheet.right() - 2, y));
  }
  for (double x = sheet.left() + 10; x < sheet.right() - 1; x += 10) {
    painter.drawLine(QPointF(x, sheet.top() + 2), QPointF(x, sheet.bottom() - 2));
  }

  // Wind: three streamlines, the longest ending in a curl.
  painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  QPainterPath gust;
  gust.moveTo(8, 14);
  gust.lineTo(38, 14);
  gust.cubicTo(48, 14, 48, 4, 40, 6);
  painter.drawPath(gust);
  painter.drawLine(QPointF(8, 24), QPointF(20, 24));
  painter.drawLine(QPointF(8, 34), QPointF(18, 34));
}

QImage drawApplicationIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / double(kApplicationIconGrid), size / double(kApplicationIconGrid));
  paintApplicationIcon(painter);
  return image;
}

QIcon applicationIcon() {
  QIcon icon;
  for (const int size : kApplicationIconSizes) {
    icon.addPixmap(QPixmap::fromImage(drawApplicationIcon(size)));
  }
  return icon;
}

}  // namespace fenmarq
