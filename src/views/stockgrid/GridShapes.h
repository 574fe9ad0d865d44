#pragma once
// The small shapes the quote grid paints into its cells: tick arrows, the
// sort mark of the sorted title, the drop mark of a dragged column and the
// row news bulb. The point lists are plain geometry; the Draw routines fill
// them with the canvas's current pen and brush.
#include "platform/Color.h"
#include "platform/Rect.h"

#include <vector>

class TCanvas;

// a + (b - a) * t per colour channel, rounded to the nearest integer and
// kept within 0..255 (t outside 0..1 can't push a channel out of range).
TColor BlendColor(TColor a, TColor b, double t);

// Polygons (x to the right, y down).
std::vector<TPoint> ArrowDownPoints(const TRect &rect);
std::vector<TPoint> ArrowUpPoints(const TRect &rect);
// Room the sort mark takes at the right end of its title cell (the mark and
// a gap before the title).
constexpr int SortMarkRoom = 13;
std::vector<TPoint> SortMarkDownPoints(const TRect &rect);
std::vector<TPoint> SortMarkUpPoints(const TRect &rect);
// Side 0: the mark on the cell's left edge; 1: on its right edge.
std::vector<TPoint> InsertMarkPoints(const TRect &rect, int side);
std::vector<TPoint> RowNewsBulbOutline(int x, int y);
std::vector<TPoint> RowNewsBulbInner(int x, int y);

// The bulb's colours by age in days.
TColor RowNewsBulbOutlineColor(double age, TColor bulbOutline);
TColor RowNewsBulbInnerColor(double age);

// Drawing with the current pen and brush; nothing they throw leaves them.
void SGDrawArrowDown(TCanvas &canvas, const TRect &rect);
void SGDrawArrowUp(TCanvas &canvas, const TRect &rect);
void SGDrawInsertRed(TCanvas &canvas, const TRect &rect, int side);
void SGDrawSortMarkDown(TCanvas &canvas, const TRect &rect);
void SGDrawSortMarkUp(TCanvas &canvas, const TRect &rect);
// The frame of a new low or high or a moved bid or ask: the pixels a 2-px
// pen with round ends draws through the corners 1 px inside the cell, laid
// as four fills in the colour (the pen and brush are left as they were).
void SGDrawCellFrame(TCanvas &canvas, const TRect &rect, TColor color);
// The bulb at (x, y): outline, then glass, each with the pen of its colour;
// the brush is left as the caller set it (the cell's background).
void DrawRowNewsBulb(TCanvas &canvas, int x, int y, double age, TColor bulbOutline);
