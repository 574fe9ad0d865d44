#pragma once
// Small helpers shared by the news window's source files (not for other
// modules): its fonts, backgrounds, button and label makers and the guard
// that keeps exceptions inside its handlers.
#include "platform/Canvas.h"
#include "platform/UncaughtError.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
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
  // As wide as the text needs, not the style's wider minimum, so that the
  // headline row fits a narrow window.
  QString plain = text;
  plain.remove(QLatin1Char('&'));
  const int textWidth = b->fontMetrics().horizontalAdvance(plain);
  b->resize(std::max(48, textWidth + 20), b->sizeHint().height());
  return b;
}

// A small picture button whose text is its hint.
inline QPushButton *MakePictureButton(QWidget *parent, const char *name, const QIcon &icon,
                                      const QString &hint) {
  auto *b = new QPushButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  b->setIcon(icon);
  b->setIconSize(QSize(16, 16));
  b->setToolTip(hint);
  b->setAccessibleName(hint);
  b->resize(26, b->sizeHint().height());
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
