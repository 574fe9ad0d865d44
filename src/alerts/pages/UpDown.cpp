#include "alerts/pages/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

TUpDown::TUpDown(QWidget *parent) : QWidget(parent) {
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  UpButton = new QToolButton(this);
  UpButton->setObjectName(QStringLiteral("UpButton"));
  UpButton->setArrowType(Qt::UpArrow);
  DownButton = new QToolButton(this);
  DownButton->setObjectName(QStringLiteral("DownButton"));
  DownButton->setArrowType(Qt::DownArrow);
  for (QToolButton *button : {UpButton, DownButton}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    button->setFixedWidth(16);
    layout->addWidget(button);
  }
  setFixedWidth(16);
  connect(UpButton, &QToolButton::clicked, this, [this] { Click(1); });
  connect(DownButton, &QToolButton::clicked, this, [this] { Click(-1); });
}

void TUpDown::Click(int delta) {
  const int newValue = m_position + delta;
  bool allow = true;
  if (Changing)
    Changing(newValue, allow);
  if (allow)
    m_position = newValue;
}
