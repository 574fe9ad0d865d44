#pragma once
// Widths of texts in one font, as QFontMetrics::horizontalAdvance gives them,
// for fitting columns to thousands of changing numbers. A text made only of
// the characters numbers are written with (digits, blanks, signs, separators
// and marks) is the sum of its characters' advances and of the kerning of
// each adjacent pair, all read from the font once; before it is trusted the
// sum is checked against the font's own measuring on sample texts. Other
// texts, and every text of a font that fails the check, are measured in full
// the first time, then known (names, symbols and exchanges repeat from fit to
// fit and from grid to grid).
//
// An object belongs to one thread (its known widths are not locked).
#include "platform/Canvas.h"

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
  bool Sum(std::string_view text, int &width) const { return m_sums && SumCharacters(text, width); }
  // The font's own measuring.
  int Measure(std::string_view text) const;

private:
  // A text that is not summed: measured the first time, then known.
  int Known(std::string_view text) const;

  // Per byte: its place among the summed characters, kNone when not summed.
  static constexpr std::uint8_t kNone = 0xFF;
  // Places per row of the step table; the last row is the start's.
  static constexpr std::size_t kStride = 32;
  static constexpr std::size_t kStart = kStride - 1;

  bool SumCharacters(std::string_view text, int &width) const {
    // Whole 64ths of a pixel: one table step per character.
    const std::uint8_t *index = m_index.data();
    const std::int32_t *step = m_step.data();
    std::int64_t total = 0;
    std::size_t previous = kStart;
    for (const char c : text) {
      const std::size_t place = index[static_cast<unsigned char>(c)];
      if (place == kNone)
        return false;
      total += step[previous * kStride + place];
      previous = place;
    }
    // Rounded as the font's own measuring rounds it (half up).
    width = int((total + 32) >> 6);
    return true;
  }

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
  std::array<std::uint8_t, 256> m_index{};
  // Per pair of places (previous * kStride + next), in 64ths of a pixel: the
  // advance of the next character plus the kerning of the pair; the row of
  // kStart (no previous character) holds the advances alone.
  std::array<std::int32_t, kStride * kStride> m_step{};
  bool m_sums = false;
};
