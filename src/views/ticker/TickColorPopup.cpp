#include "views/ticker/TickColorPopup.h"

#include <QColorDialog>

TTickColorPopup::TTickColorPopup(QWidget *owner) : QObject(owner) {
  m_dialog = new QColorDialog(owner);
  m_dialog->setObjectName(QStringLiteral("dlgColor"));
  m_dialog->setOption(QColorDialog::DontUseNativeDialog);
  m_dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
  connect(m_dialog, &QColorDialog::colorSelected, this, [this](const QColor &c) {
    m_colour = FromQColor(c);
    m_chosen = true;
  });
}

void TTickColorPopup::Show(TColor start, const QPoint &screenTopLeft) {
  m_dialog->setCurrentColor(ToQColor(start));
  m_dialog->move(screenTopLeft);
  m_dialog->show();
  m_dialog->raise();
  m_dialog->activateWindow();
}

bool TTickColorPopup::TakeChoice(TColor &colour) {
  if (!m_chosen)
    return false;
  m_chosen = false;
  colour = m_colour;
  return true;
}
