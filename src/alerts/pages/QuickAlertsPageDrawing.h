#pragma once
// How a cell of the quick alerts grid is drawn: silver titles and symbols,
// data rows in alternating white and light yellow, limits right-aligned (or
// "--" centred when there is none) and the news flag as a check box.
#include "platform/Canvas.h"
#include "platform/Color.h"
#include "platform/Rect.h"
#include "platform/StringGridTypes.h"

#include <string>

struct TQuickCellColors {
  static constexpr TColor Fixed = 12632256;   // silver
  static constexpr TColor OddRow = 16777215;  // white
  static constexpr TColor EvenRow = 12582911; // light yellow
  static constexpr TColor Text = clBlack;
  TColor Selected = clBlue; // the current cell
  TColor SelectedText = clYellow;
};

// Draws one cell with its text. Rows and columns below 1 are the fixed
// titles and symbols.
void DrawQuickAlertCell(TCanvas &canvas, int col, int row, const TRect &rect,
                        const std::string &text, TGridDrawState state,
                        const TQuickCellColors &colors = {});
