#include "qt/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>
#include <functional>
#include <map>

namespace xel {

namespace {

constexpr int kNodeSize = 16;
const QColor kFolderBack(0xC8, 0x96, 0x28);
const QColor kFolderFront(0xF2, 0xC7, 0x4E);
const QColor kOutline(0x6E, 0x4F, 0x10);

void DrawClosedFolder(QPainter& p) {
  p.setPen(kOutline);
  p.setBrush(kFolderBack);
  p.drawRect(QRectF(1.5, 2.5, 6, 3));
  p.setBrush(kFolderFront);
  p.drawRect(QRectF(1.5, 4.5, 13, 9));
}

void DrawOpenFolder(QPainter& p) {
  p.setPen(kOutline);
  p.setBrush(kFolderBack);
  p.drawRect(QRectF(1.5, 2.5, 6, 3));
  p.drawRect(QRectF(1.5, 4.5, 12, 9));
  p.setBrush(kFolderFront);
  p.drawPolygon(QPolygonF({{4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}, {1.5, 13.5}}));
}

void DrawSheet(QPainter& p) {
  p.setPen(QColor(0x4A, 0x5A, 0x6A));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}}));
  p.setPen(QColor(0x2E, 0x7D, 0xC8));
  for (int line = 0; line < 4; ++line) {
    double y = 5.5 + line * 2.5;
    p.drawLine(QPointF(5.5, y), QPointF(11.5, y));
  }
}

void DrawStop(QPainter& p) {
  QPolygonF octagon;
  for (int corner = 0; corner < 8; ++corner) {
    double angle = (22.5 + corner * 45.0) * M_PI / 180.0;
    octagon << QPointF(8 + 7.2 * std::cos(angle), 8 + 7.2 * std::sin(angle));
  }
  p.setPen(QColor(0x80, 0x10, 0x10));
  p.setBrush(QColor(0xD3, 0x2F, 0x2F));
  p.drawPolygon(octagon);
  p.setPen(QPen(Qt::white, 1.6));
  p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
}

void DrawPlus(QPainter& p) {
  p.setPen(QColor(0x1B, 0x5E, 0x20));
  p.setBrush(QColor(0x43, 0xA0, 0x47));
  p.drawEllipse(QRectF(1.5, 1.5, 21, 21));
  p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(12, 6.5), QPointF(12, 17.5));
  p.drawLine(QPointF(6.5, 12), QPointF(17.5, 12));
}

void DrawPencil(QPainter& p) {
  p.translate(12, 12);
  p.rotate(-45);
  p.setPen(QColor(0x5D, 0x40, 0x37));
  p.setBrush(QColor(0xFB, 0xC0, 0x2D));
  p.drawRect(QRectF(-7, -3, 13, 6));
  p.setBrush(QColor(0xE5, 0x73, 0x73));
  p.drawRect(QRectF(-10, -3, 3, 6));
  p.setBrush(QColor(0xF5, 0xDE, 0xB3));
  p.drawPolygon(QPolygonF({{6, -3}, {11, 0}, {6, 3}}));
}

void DrawCross(QPainter& p) {
  p.setPen(QColor(0x8E, 0x1B, 0x1B));
  p.setBrush(QColor(0xD3, 0x2F, 0x2F));
  p.drawEllipse(QRectF(1.5, 1.5, 21, 21));
  p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8, 8), QPointF(16, 16));
  p.drawLine(QPointF(16, 8), QPointF(8, 16));
}

void DrawDoor(QPainter& p) {
  p.setPen(QColor(0x4E, 0x34, 0x2E));
  p.setBrush(QColor(0xD7, 0xCC, 0xC8));
  p.drawRect(QRectF(3.5, 2.5, 12, 19));
  p.setBrush(QColor(0x8D, 0x6E, 0x63));
  p.drawPolygon(QPolygonF({{3.5, 2.5}, {10.5, 5.5}, {10.5, 23.5}, {3.5, 21.5}}));
  p.setPen(QPen(QColor(0x15, 0x65, 0xC0), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(13, 12), QPointF(21.5, 12));
  p.drawLine(QPointF(18.5, 9), QPointF(21.5, 12));
  p.drawLine(QPointF(18.5, 15), QPointF(21.5, 12));
}

QIcon Draw(const std::function<void(QPainter&)>& picture, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  picture(painter);
  painter.end();
  return QIcon(pixmap);
}

constexpr int kCommandSize = 24;

}  // namespace

QIcon NodeIcon(const std::string& key) {
  static const std::map<std::string, std::function<void(QPainter&)>> pictures{
      {"General", DrawClosedFolder},
      {"SEGURIDAD", DrawOpenFolder},
      {"Variable", DrawSheet},
      {"STOP", DrawStop},
  };
  auto picture = pictures.find(key);
  return picture == pictures.end() ? QIcon() : Draw(picture->second, kNodeSize);
}

QIcon CommandIcon(ToolbarZul::Command command) {
  switch (command) {
    case ToolbarZul::Command::Add:
      return Draw(DrawPlus, kCommandSize);
    case ToolbarZul::Command::Edit:
      return Draw(DrawPencil, kCommandSize);
    case ToolbarZul::Command::Delete:
      return Draw(DrawCross, kCommandSize);
    case ToolbarZul::Command::Exit:
      return Draw(DrawDoor, kCommandSize);
    case ToolbarZul::Command::None:
      break;
  }
  return {};
}

}  // namespace xel
