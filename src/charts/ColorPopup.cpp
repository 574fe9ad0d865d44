#include "charts/ColorPopup.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TColor ColorPopupColor = clRed;
TColor ColorPopupPickedColor = clRed;
bool ColorPopupPicked = false;

namespace {

TdlgColor *g_popup = nullptr;

void FreePopup() {
  delete g_popup;
  g_popup = nullptr;
}

} // namespace

TdlgColor::TdlgColor(QWidget *parent) : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("dlgColor"));
  const int rows = (int(Swatches().size()) + Columns - 1) / Columns;
  setFixedSize(Gap + Columns * (SwatchSize + Gap), Gap + rows * (SwatchSize + Gap));
}

const std::vector<TColor> &TdlgColor::Swatches() {
  static const std::vector<TColor> colours = {
      // the sixteen basic colours
      clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray, //
      clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite,
      // light shades for row backgrounds
      RGB(255, 192, 192), RGB(255, 224, 192), RGB(255, 255, 192), RGB(192, 255, 192),
      RGB(192, 255, 255), RGB(192, 192, 255), RGB(255, 192, 255), RGB(224, 224, 224),
      // strong shades
      RGB(255, 128, 0), RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128),
      RGB(128, 255, 255), RGB(128, 128, 255), RGB(255, 128, 255), RGB(160, 160, 160),
      // dark shades
      RGB(128, 64, 0), RGB(128, 0, 64), RGB(64, 128, 0), RGB(0, 64, 64), RGB(0, 64, 128),
      RGB(64, 0, 128), RGB(128, 0, 128), RGB(64, 64, 64)};
  return colours;
}

QRect TdlgColor::SwatchRect(int index) const {
  const int col = index % Columns;
  const int row = index / Columns;
  return QRect(Gap + col * (SwatchSize + Gap), Gap + row * (SwatchSize + Gap), SwatchSize,
               SwatchSize);
}

int TdlgColor::SwatchAt(const QPoint &point) const {
  for (int i = 0; i < int(Swatches().size()); ++i)
    if (SwatchRect(i).contains(point))
      return i;
  return -1;
}

void TdlgColor::Pick(int index) {
  if (index < 0 || index >= int(Swatches().size()))
    return;
  ColorPopupPickedColor = Swatches()[std::size_t(index)];
  ColorPopupPicked = true;
  hide();
}

void TdlgColor::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  painter.setPen(palette().dark().color());
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  const TColor current = ColorToRGB(ColorPopupColor);
  for (int i = 0; i < int(Swatches().size()); ++i) {
    const QRect r = SwatchRect(i);
    const TColor colour = Swatches()[std::size_t(i)];
    painter.fillRect(r, ToQColor(colour));
    painter.setPen(Qt::gray);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    if (colour == current) {
      // The current colour wears a frame around its swatch.
      painter.setPen(QPen(Qt::black, 1));
      painter.drawRect(r.adjusted(-2, -2, 1, 1));
    }
  }
}

void TdlgColor::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) {
    const int index = SwatchAt(event->position().toPoint());
    if (index >= 0)
      Pick(index);
  }
  QWidget::mouseReleaseEvent(event);
}

void TdlgColor::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    return;
  }
  QWidget::keyPressEvent(event);
}

TdlgColor &dlgColor() {
  if (!g_popup) {
    g_popup = new TdlgColor();
    qAddPostRoutine(FreePopup);
  }
  return *g_popup;
}
