#pragma once
// Widths of texts in one font, as QFontMetrics::horizontalAdvance gives them,
// for fitting columns to thousands of changing numbers. A number is summed
// from its characters (platform/ComposedGlyphs.h). Other texts, and every
// text of a font whose sums fail their check, are measured in full the first
// time, then known (names, symbols and exchanges repeat from fit to fit and
// from grid to grid).
//
// An object belongs to one thread (its known widths are not locked).
#include "platform/Canvas.h"
#include "platform/ComposedGlyphs.h"

#include <QFont>
#include <QFontMetrics>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TFitTextWidths {
public:
  explicit TFitTextWidths(const TFont &font);
  TFitTextWidths(const TFitTextWidths &) = delete;
  TFitTextWidths &operator=(const TFitTextWidths &) = delete;

  // The widths of a font shared by the calling thread's fits: made the first
  // time the font is asked for, kept for the fonts used lately (reading a
  // font's takes a while) until the application object goes.
  static std::shared_ptr<TFitTextWidths> Of(const TFont &font);

  int Width(std::string_view text) const {
    int width = 0;
    return Sum(text, width) ? width : Known(text);
  }
  // The width of a text of the summed characters in a font that passed the
  // check; false for any other text or font.
  bool Sum(std::string_view text, int &width) const { return m_sums.Width(text, width); }
  // The font's own measuring.
  int Measure(std::string_view text) const;

private:
  // A text that is not summed: measured the first time, then known.
  int Known(std::string_view text) const;

  // Looked up by string_view without making a std::string.
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>()(text);
    }
  };
  static constexpr std::size_t kMaxKnown = 1 << 16;

  QFont m_font;
  QFontMetrics m_metrics;
  mutable std::unordered_map<std::string, int, TextHash, std::equal_to<>> m_known;
  TComposedGlyphs m_sums;
};
