#pragma once
// Synthetic mouse and key events for the grid tests, sent through the
// application as the window system would deliver them to a widget.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace gridtest {

inline void Mouse(QWidget *w, QEvent::Type type, Qt::MouseButton button, QPoint pos,
                  Qt::MouseButtons held, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, mods);
  QApplication::sendEvent(w, &e);
}

// A mouse event for widget w at a point given in another widget's coordinates
// (the mouse stays with the widget that saw the press).
inline void MouseOver(QWidget *w, QEvent::Type type, Qt::MouseButton button, QWidget *over,
                      QPoint posInOver, Qt::MouseButtons held) {
  const QPoint global = over->mapToGlobal(posInOver);
  QMouseEvent e(type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, held,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

inline void Press(QWidget *w, QPoint pos, Qt::MouseButton b = Qt::LeftButton,
                  Qt::KeyboardModifiers mods = Qt::NoModifier) {
  Mouse(w, QEvent::MouseButtonPress, b, pos, b, mods);
}

inline void Release(QWidget *w, QPoint pos, Qt::MouseButton b = Qt::LeftButton,
                    Qt::KeyboardModifiers mods = Qt::NoModifier) {
  Mouse(w, QEvent::MouseButtonRelease, b, pos, Qt::NoButton, mods);
}

inline void Move(QWidget *w, QPoint pos, Qt::MouseButtons held = Qt::NoButton) {
  Mouse(w, QEvent::MouseMove, Qt::NoButton, pos, held);
}

inline void Click(QWidget *w, QPoint pos, Qt::MouseButton b = Qt::LeftButton,
                  Qt::KeyboardModifiers mods = Qt::NoModifier) {
  Press(w, pos, b, mods);
  Release(w, pos, b, mods);
}

// As a widget receives a double click: press, release, double click, release.
inline void DoubleClick(QWidget *w, QPoint pos, Qt::MouseButton b = Qt::LeftButton) {
  Click(w, pos, b);
  Mouse(w, QEvent::MouseButtonDblClick, b, pos, b);
  Release(w, pos, b);
}

inline void Key(QWidget *w, int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, qtKey, mods);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, mods);
  QApplication::sendEvent(w, &release);
}

} // namespace gridtest
