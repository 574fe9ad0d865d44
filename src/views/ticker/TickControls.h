#pragma once
// Two small controls of the ticker dialog: a clickable colour panel and an
// up-down pair of arrow buttons that steps a position within a range.
#include "platform/Color.h"

#include <QFrame>
#include <QWidget>

class QToolButton;

// A framed panel filled with a colour; a click reports itself.
class TTickColorPanel : public QFrame {
  Q_OBJECT

public:
  explicit TTickColorPanel(QWidget *parent = nullptr);
  TColor Color() const { return m_color; }
  void SetColor(TColor color);

signals:
  void clicked(TTickColorPanel *panel);

protected:
  void paintEvent(QPaintEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

private:
  TColor m_color = clBlack;
};

// Up and down arrows that move Position by one within Min..Max.
class TTickUpDown : public QWidget {
  Q_OBJECT

public:
  explicit TTickUpDown(QWidget *parent = nullptr);
  void SetRange(int min, int max);
  int Min() const { return m_min; }
  int Max() const { return m_max; }
  int Position() const { return m_position; }
  // Cut to the range.
  void SetPosition(int position);
  QToolButton *UpButton() const { return m_up; }
  QToolButton *DownButton() const { return m_down; }

signals:
  // After an arrow moved the position.
  void clicked();

private:
  void StepBy(int delta);

  QToolButton *m_up = nullptr;
  QToolButton *m_down = nullptr;
  int m_min = 0;
  int m_max = 100;
  int m_position = 0;
};
