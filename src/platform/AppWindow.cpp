#include "platform/AppWindow.h"

#include <QApplication>
#include <QMainWindow>
#include <QPointer>

namespace {
QPointer<QWidget> &MainWindowSlot() {
  static QPointer<QWidget> window;
  return window;
}
} // namespace

void SetAppMainWindow(QWidget *window) { MainWindowSlot() = window; }

QWidget *AppMainWindow() {
  if (QWidget *window = MainWindowSlot().data())
    return window;
  if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
    return nullptr;
  for (QWidget *w : QApplication::topLevelWidgets())
    if (qobject_cast<QMainWindow *>(w))
      return w;
  return nullptr;
}
