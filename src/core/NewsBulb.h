#pragma once
// The news and alert bulbs drawn in grid cells, list boxes and ticker boxes.
// Ages are in days. The canvas's pen and brush are restored afterwards.
#include "platform/Color.h"

class TCanvas;

// Width and height of the two bulbs.
constexpr int NewsBulbWidth = 6;
constexpr int NewsBulbHeight = 9;
constexpr int NewsBulbLargeWidth = 8;
constexpr int NewsBulbLargeHeight = 12;

// a blended towards b by t (clamped to 0..1), per colour channel.
TColor BlendBulbColor(TColor a, TColor b, double t);

// The inner colours of the bulbs for an age.
TColor NewsBulbInnerColor(double ageDays);        // yellow to grey over 30 minutes, then silver
TColor NewsBulbLargeInnerColor(double ageDays);   // yellow to grey over half a day, then silver
TColor NewsBulbLargeOutlineColor(double ageDays); // black; to grey from half a day to two days

// The small bulb with its top-left corner at (x, y): black outline, glass
// filled with NewsBulbInnerColor.
void DrawNewsBulb(TCanvas &canvas, int x, int y, double ageDays);
// The large bulb at (x, y): outline and inner lines drawn with the pen only,
// the background left as it is.
void DrawNewsBulbLarge(TCanvas &canvas, int x, int y, double ageDays);
