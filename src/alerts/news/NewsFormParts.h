#pragma once
// Small helpers shared by the news window's source files (not for other
// modules): its fonts, backgrounds, button and label makers and the guard
// that keeps exceptions inside its handlers.
#include "platform/Canvas.h"
#include "platform/UncaughtError.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

#include <exception>
#include <string>

namespace newsform {

inline TFont NewsFont() {
  TFont font;
  font.Name = "Arial";
  font.SetSize(8);
  font.Color = clBlack;
  return font;
}

inline QFont NewsQFont(bool bold = false, int points = 8) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(points);
  font.setBold(bold);
  return font;
}

inline void SetBackground(QWidget *w, const QColor &color) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, color);
  pal.setColor(QPalette::Base, color);
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

inline QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text) {
  auto *b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  b->setFont(NewsQFont());
  b->resize(b->sizeHint());
  return b;
}

inline QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text) {
  auto *l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setFont(NewsQFont());
  return l;
}

// Runs a handler so that no exception leaves the Qt event that called it.
template <class Fn> void Guarded(const char *what, Fn &&fn) {
  RunReportingErrors(std::string("News ") + what, std::forward<Fn>(fn));
}

} // namespace newsform
