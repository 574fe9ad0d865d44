#pragma once
// How the news window draws its symbol list items and headline grid cells.
// The canvas arrives with the control's font; the functions set colours and
// style themselves.
#include "platform/Rect.h"

#include <string>

class TCanvas;

// A title cell: bold, black on silver, centred both ways.
void DrawNewsTitleCell(TCanvas &canvas, const TRect &rect, const std::string &text);

// The read-mark cell (column 0) of an item row: navy when selected, else
// white, with a check mark (2-pixel pen, lime when selected, else green) when
// the item is read.
void DrawNewsReadCell(TCanvas &canvas, const TRect &rect, bool selected, bool read);

// Any other item cell: regular style, white on navy when selected, else
// black on white; text 2 pixels in, centred vertically.
void DrawNewsTextCell(TCanvas &canvas, const TRect &rect, const std::string &text, bool selected);

// One symbol of the symbol list: black on silver, white on navy when
// selected; the symbol being fetched in red (on silver or navy). A lit bulb is
// drawn at the right (8 pixels in) with its age in days.
void DrawNewsSymbolItem(TCanvas &canvas, const TRect &rect, const std::string &symbol,
                        bool selected, bool fetching, bool bulbLit, double bulbAgeDays);
