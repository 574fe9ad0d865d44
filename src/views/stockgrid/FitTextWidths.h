#pragma once
// Widths of texts in one font, as QFontMetrics::horizontalAdvance gives them,
// for fitting columns to thousands of changing numbers. A text made only of
// the characters numbers are written with (digits, blanks, signs, separators
// and marks) is the sum of its characters' advances and of the kerning of
// each adjacent pair, all read from the font once; before it is trusted the
// sum is checked against the font's own measuring on sample texts. Other
// texts, and every text of a font that fails the check, are measured in full.
#include "platform/Canvas.h"

#include <QFont>
#include <QFontMetrics>

#include <array>
#include <string>
#include <vector>

class TFitTextWidths {
public:
  explicit TFitTextWidths(const TFont &font);

  int Width(const std::string &text) const;
  // The width of a text of the summed characters in a font that passed the
  // check; false for any other text or font.
  bool Sum(const std::string &text, int &width) const;
  // The font's own measuring.
  int Measure(const std::string &text) const;

private:
  bool SumCharacters(const std::string &text, int &width) const;

  QFont m_font;
  QFontMetrics m_metrics;
  std::array<signed char, 128> m_index{}; // per ASCII character: its place in the table, -1 none
  std::vector<double> m_advance;          // per place
  std::vector<double> m_kerning;          // per pair of places (first * count + second)
  bool m_sums = false;
};
