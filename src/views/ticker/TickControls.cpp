#include "views/ticker/TickControls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

TTickColorPanel::TTickColorPanel(QWidget *parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setCursor(Qt::PointingHandCursor);
}

void TTickColorPanel::SetColor(TColor color) {
  m_color = color;
  update();
}

void TTickColorPanel::paintEvent(QPaintEvent *event) {
  {
    QPainter painter(this);
    painter.fillRect(contentsRect(), ToQColor(m_color));
  }
  QFrame::paintEvent(event);
}

void TTickColorPanel::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked(this);
  QFrame::mouseReleaseEvent(event);
}

TTickUpDown::TTickUpDown(QWidget *parent) : QWidget(parent) {
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  m_up = new QToolButton(this);
  m_up->setArrowType(Qt::UpArrow);
  m_up->setAutoRepeat(true);
  m_down = new QToolButton(this);
  m_down->setArrowType(Qt::DownArrow);
  m_down->setAutoRepeat(true);
  for (QToolButton *b : {m_up, m_down}) {
    b->setFixedSize(16, 11);
    b->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(b);
  }
  connect(m_up, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(m_down, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

void TTickUpDown::SetRange(int min, int max) {
  m_min = min;
  m_max = std::max(min, max);
  SetPosition(m_position);
}

void TTickUpDown::SetPosition(int position) { m_position = std::clamp(position, m_min, m_max); }

void TTickUpDown::StepBy(int delta) {
  const int old = m_position;
  SetPosition(m_position + delta);
  if (m_position != old)
    emit clicked();
}
