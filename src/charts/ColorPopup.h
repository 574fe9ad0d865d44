#pragma once
// TdlgColor: the colour pop-up. A small frameless window of colour swatches.
// The caller sets ColorPopupColor (the colour marked as current), moves the
// pop-up (move(left, top), screen coordinates) and shows it. A click on a
// swatch stores the colour in ColorPopupPickedColor, sets ColorPopupPicked and
// hides the pop-up; the caller polls the flag, clears it and takes the colour.
// Escape or a click elsewhere hides it without a choice. Window thread only.
#include "platform/Color.h"

#include <QWidget>

#include <vector>

extern TColor ColorPopupColor;       // the current colour, set by the caller
extern TColor ColorPopupPickedColor; // the colour picked last
extern bool ColorPopupPicked;        // set by a pick, cleared by the caller

class TdlgColor : public QWidget {
  Q_OBJECT

public:
  static constexpr int Columns = 8;
  static constexpr int SwatchSize = 16; // pixels, without the gap
  static constexpr int Gap = 3;

  explicit TdlgColor(QWidget *parent = nullptr);

  // The swatches, row by row.
  static const std::vector<TColor> &Swatches();
  // The swatch under a point of the window, -1 when none.
  int SwatchAt(const QPoint &point) const;
  QRect SwatchRect(int index) const;
  // Picks swatch index: stores its colour, sets the flag and hides.
  void Pick(int index);

protected:
  void paintEvent(QPaintEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
};

// The program's colour pop-up, made on first use and freed with the application.
TdlgColor &dlgColor();
