#pragma once
// The small intraday graph of a symbol, drawn into a grid cell.
#include "platform/Color.h"
#include "platform/Rect.h"

#include <string>
#include <vector>

class TCanvas;

// The colour scheme's small-graph colours.
struct SmallGraphColors {
  TColor Back = 0x000000; // background of the cell
  TColor Pen = 0x00FFFF;  // the price line
  TColor Fill = 0x477777; // the area under the line
};

// Maps prices (oldest first) to one point per pixel column of rect, inset by
// one pixel: the column's last price, scaled between the lowest and highest
// price (a flat series lies in the middle). Empty for fewer than two prices
// or a rect too small to draw in.
std::vector<TPoint> SmallGraphPoints(const std::vector<double> &prices, const TRect &rect);

// Fills rect with the background, then draws the symbol's tick prices (last
// prices above 0) as a filled line graph. mode is 0 (the only mode). Returns
// false when there was nothing to draw (no record, fewer than two prices, a
// busy tick list); the background is drawn anyway. Pen and brush are restored.
bool DrawSmallGraph(const std::string &symbol, TCanvas &canvas, const TRect &rect, int mode,
                    const SmallGraphColors &colors = SmallGraphColors());
