#include "alerts/news/NewsIcons.h"

#include "core/NewsBulb.h"
#include "platform/QPainterCanvas.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
constexpr int kSize = 16;
const QColor kInk(40, 40, 40);

void Arrow(QPainter &p, bool left) {
  // Drawn pointing left; the right arrow is its mirror image.
  const auto x = [left](double v) { return left ? v : kSize - v; };
  QPainterPath path;
  path.moveTo(x(2), 8);
  path.lineTo(x(8), 2);
  path.lineTo(x(8), 5.5);
  path.lineTo(x(14), 5.5);
  path.lineTo(x(14), 10.5);
  path.lineTo(x(8), 10.5);
  path.lineTo(x(8), 14);
  path.closeSubpath();
  p.fillPath(path, QColor(30, 90, 170));
}

void RefreshArrow(QPainter &p, const QRectF &box, const QColor &color) {
  p.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(box, 60 * 16, 270 * 16);
  // The head at the arc's open end (top right).
  const QPointF tip(box.center().x() + box.width() / 2 * 0.5, box.top() + box.height() * 0.07);
  QPainterPath head;
  head.moveTo(tip + QPointF(3.2, -2.2));
  head.lineTo(tip + QPointF(3.6, 2.8));
  head.lineTo(tip + QPointF(-1.2, 1.2));
  head.closeSubpath();
  p.fillPath(head, color);
}

void Draw(QPainter &p, TNewsIcon which) {
  switch (which) {
  case TNewsIcon::Back:
    Arrow(p, true);
    break;
  case TNewsIcon::Forward:
    Arrow(p, false);
    break;
  case TNewsIcon::Stop:
    p.setPen(QPen(QColor(190, 30, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
    break;
  case TNewsIcon::Print:
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));    // paper in
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(QRectF(1.5, 6.5, 13, 6));   // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));   // paper out
    break;
  case TNewsIcon::Find:
    p.setPen(QPen(kInk, 1.8));
    p.setBrush(QColor(210, 230, 250));
    p.drawEllipse(QRectF(2, 2, 8.5, 8.5));
    p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    break;
  case TNewsIcon::NoBulb: {
    {
      // The canvas draws aliased; the slash is drawn after it let go.
      TQPainterCanvas canvas(p);
      DrawNewsBulbLarge(canvas, 2, 0, 0.0);
    }
    p.setPen(QPen(QColor(200, 0, 0), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 14), QPointF(14, 2));
    break;
  }
  case TNewsIcon::Refresh:
    RefreshArrow(p, QRectF(2.5, 2.5, 11, 11), QColor(20, 130, 40));
    break;
  case TNewsIcon::RefreshAll:
    RefreshArrow(p, QRectF(1, 1, 9, 9), QColor(20, 130, 40));
    RefreshArrow(p, QRectF(6, 6, 9, 9), QColor(20, 100, 160));
    break;
  }
}
} // namespace

QIcon NewsIcon(TNewsIcon which) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(kSize * scale, kSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, which);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}
