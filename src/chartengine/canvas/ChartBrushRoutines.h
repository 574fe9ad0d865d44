#pragma once
#include "platform/Canvas.h"

class TChartCanvas;

// Sets the canvas brush for a fill against a background: a hatched or other
// non-solid brush in the background's own colour would vanish, so it is drawn
// black (white on a black background); non-solid fills paint their gaps in
// backColor.
void SetBrushWithBackground(TChartCanvas &canvas, TColor color, TBrushStyle style,
                            TColor backColor);
// While printing, a styled pen of width 1 is drawn at the device's finest width.
void AdjustPenForPrinting(bool printing, TPen &pen);
