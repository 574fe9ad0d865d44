#pragma once
// TUpDown: a pair of small arrow buttons beside an edit. A click asks the
// Changing callback with the position it would move to (one up or down);
// the callback decides whether the position really changes.
#include <QWidget>

#include <functional>

class QToolButton;

class TUpDown : public QWidget {
  Q_OBJECT

public:
  explicit TUpDown(QWidget *parent = nullptr);

  QToolButton *UpButton = nullptr;
  QToolButton *DownButton = nullptr;

  int Position() const { return m_position; }
  void SetPosition(int position) { m_position = position; }
  // Asks to move to newValue; the position changes only when allow stays true.
  std::function<void(int newValue, bool &allow)> Changing;
  // As a click on the upper (delta 1) or lower (delta -1) arrow.
  void Click(int delta);

private:
  int m_position = 0;
};
