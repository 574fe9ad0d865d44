#pragma once
// Glyph runs of number texts put together from their characters, for a grid
// whose prices are new texts at every refresh: shaping a text costs more
// than drawing it. One text holding every pair of the characters numbers
// are written with is shaped once per font; a number's glyphs are then its
// characters' glyphs, each placed where its pair places it. Before it is
// trusted the table is checked against shaping and measuring sample texts;
// a font that fails (a ligature, contextual kerning) composes nothing.
#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QRectF>

#include <array>
#include <string>
#include <vector>

class QPaintDevice;

class TComposedGlyphs {
public:
  TComposedGlyphs(const QFont &font, QPaintDevice *device);

  // Whether the font passed the check.
  bool Usable() const { return m_usable; }
  // The glyphs of a text made only of the composed characters, positioned
  // relative to the left end of the baseline, with where their pixels may
  // lie (a pixel wider all round) and the text's advance as QFontMetrics
  // gives it; false for any other text or font.
  bool Compose(const std::string &text, QGlyphRun &run, QRectF &ink, int &width) const;
  // The advance alone.
  bool Width(const std::string &text, int &width) const;

  // The glyphs and positions shaping gives a text in the font, as the text
  // cache keeps them (relative to the left end of the baseline); false when
  // it is not one run of one line.
  static bool Shape(const QFont &font, QPaintDevice *device, const std::string &text,
                    QList<QGlyphRun> &runs);

private:
  bool Places(const std::string &text, std::vector<int> &places) const;
  bool Check(const QFont &font, QPaintDevice *device) const;

  bool m_usable = false;
  QRawFont m_raw;
  std::array<signed char, 128> m_place{}; // per ASCII character: its place, -1 none
  std::vector<quint32> m_glyph;           // per place
  std::vector<qreal> m_advance;           // per place: its advance alone
  std::vector<QRectF> m_ink;              // per place: its glyph's bounds
  std::vector<qreal> m_step;              // per pair of places: from the first to the second
};
