#pragma once
// Text sizes the way the ticker's canvases measure them, and a fresh
// ticker state for each test.
#include "platform/Canvas.h"
#include "views/ticker/StockBox.h"
#include "views/ticker/TickParams.h"

#include <QFontMetrics>
#include <QString>

#include <cmath>
#include <string>

inline TFont ElementFont(const TTickElement &e) {
  TFont f;
  f.Name = e.FontName;
  f.SetSize(e.FontSize);
  f.Bold = (e.FontStyle & fsBold) != 0;
  f.Italic = (e.FontStyle & fsItalic) != 0;
  return f;
}

inline TFont Reduced(TFont f) {
  f.SetSize(f.Size() * 4 / 5);
  return f;
}

inline int TW(const TFont &f, const std::string &text) {
  return QFontMetrics(ToQFont(f)).horizontalAdvance(QString::fromStdString(text));
}

inline int TH(const TFont &f, const std::string & /*text*/) {
  return QFontMetrics(ToQFont(f)).height();
}

// The height of a price line: 1.8 times the reduced text height, rounded.
inline int FractionLine(const TFont &full, const std::string &text) {
  return int(std::lround(TH(Reduced(full), text) * 1.8));
}

// Puts the ticker's shared state back to its defaults.
inline void ResetTickerState() {
  SetLiveTickParams(TTickParams());
  SetWorkingTickSet(TTickWorkingSet());
  SetBulbReferenceTime(0);
  SetStockBoxBitmapFactory({});
}
