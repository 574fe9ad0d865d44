#pragma once
// What a shown chart widget has on screen: its window's picture, whether a
// colour appears in it, and how many paints the widget got.
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QScreen>
#include <QWidget>

// The window's picture as it stands (its backing store), 32-bit RGB.
inline QImage ShownPicture(const QWidget &widget) {
  return widget.screen()->grabWindow(widget.winId()).toImage().convertToFormat(
      QImage::Format_RGB32);
}

// Whether any pixel of picture has the colour rgb (alpha ignored).
inline bool ShowsColour(const QImage &picture, QRgb rgb) {
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if ((picture.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF))
        return true;
  return false;
}

// Counts the paints a widget gets.
class PaintCounter : public QObject {
public:
  int paints = 0;

protected:
  bool eventFilter(QObject *, QEvent *event) override {
    paints += event->type() == QEvent::Paint;
    return false;
  }
};
