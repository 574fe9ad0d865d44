#pragma once
// Glyph runs and widths of number texts put together from their characters,
// for a grid whose prices are new texts at every refresh: shaping or
// measuring a text costs more than drawing it. One text holding every pair
// of the characters numbers are written with is shaped once per font; a
// number's glyphs are then its characters' glyphs, each placed where its
// pair places it. Before it is
// trusted the table is checked against shaping and measuring sample texts;
// a font that fails (a ligature, contextual kerning) composes nothing.
#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QRectF>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QPaintDevice;

class TComposedGlyphs {
public:
  TComposedGlyphs(const QFont &font, QPaintDevice *device);

  // The glyphs of a text made only of the composed characters, positioned
  // relative to the left end of the baseline, with where their pixels may
  // lie (a pixel wider all round) and the text's advance as QFontMetrics
  // gives it; false for any other text or font.
  bool Compose(const std::string &text, QGlyphRun &run, QRectF &ink, int &width) const;
  // The advance alone, as QFontMetrics gives it.
  bool Width(std::string_view text, int &width) const {
    if (!m_usable || text.empty())
      return false;
    // Whole 64ths of a pixel: one table step per character.
    std::int64_t total = 0;
    std::size_t previous = kStart;
    for (const char c : text) {
      const std::size_t place = m_place[static_cast<unsigned char>(c)];
      if (place == kNone)
        return false;
      total += m_step[previous * kStride + place];
      previous = place;
    }
    // Rounded as the font's own measuring rounds it (half up).
    width = int((total + m_last[previous] + 32) >> 6);
    return true;
  }

  // The glyphs and positions shaping gives a text in the font, as the text
  // cache keeps them (relative to the left end of the baseline); false when
  // it is not one run of one line.
  static bool Shape(const QFont &font, QPaintDevice *device, const std::string &text,
                    QList<QGlyphRun> &runs);

private:
  bool Check(const QFont &font, QPaintDevice *device) const;

  // Per byte: its place among the composed characters, kNone when none.
  static constexpr std::uint8_t kNone = 0xFF;
  // Places per row of the step table; the last row is the start's (all 0).
  static constexpr std::size_t kStride = 32;
  static constexpr std::size_t kStart = kStride - 1;

  bool m_usable = false;
  QRawFont m_raw;
  std::array<std::uint8_t, 256> m_place{};
  std::array<quint32, kStride> m_glyph{};      // per place
  std::array<QRectF, kStride> m_ink{};         // per place: its glyph's bounds
  std::array<std::int32_t, kStride> m_last{};  // per place: its advance alone, in 64ths
  // Per pair of places (previous * kStride + next), in 64ths of a pixel:
  // from the previous character's origin to the next one's.
  std::array<std::int32_t, kStride * kStride> m_step{};
};
