#pragma once
#include "platform/Canvas.h"
#include "platform/Color.h"

// The automatic colour of chart elements: a colour field holding it takes a
// palette colour, the point colour or the series colour. Tested before any
// system-colour resolution.
constexpr TColor clTeeColor = 0x80000000;

constexpr int SeriesPaletteSize = 16;
constexpr int HatchPatternCount = 6;

// The default series colours (index taken modulo 16) and brush hatches
// (index modulo 6). Negative indexes count from the end.
TColor SeriesPaletteColor(int index);
TBrushStyle HatchPatternFor(int index);
