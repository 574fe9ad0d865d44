#pragma once
// The colour pop-up of the ticker dialog: a colour chooser shown beside a
// colour panel. A choice is left for the caller to collect (its timer polls).
#include "platform/Color.h"

#include <QObject>
#include <QPoint>

class QColorDialog;
class QWidget;

class TTickColorPopup : public QObject {
  Q_OBJECT

public:
  explicit TTickColorPopup(QWidget *owner);

  // Shows the chooser with start as its colour, its top-left corner at the
  // screen point, in front of other windows.
  void Show(TColor start, const QPoint &screenTopLeft);
  // True once after the user chose a colour, with the colour.
  bool TakeChoice(TColor &colour);
  QColorDialog *Dialog() const { return m_dialog; }

private:
  QColorDialog *m_dialog = nullptr;
  bool m_chosen = false;
  TColor m_colour = clBlack;
};
