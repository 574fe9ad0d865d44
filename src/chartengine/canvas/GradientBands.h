#pragma once
#include "platform/Color.h"
#include "platform/Rect.h"

#include <vector>

enum TGradientDirection {
  gdTopBottom,
  gdBottomTop,
  gdLeftRight,
  gdRightLeft,
  gdFromCenter,
  gdFromTopLeft,
  gdFromBottomLeft
};

// One solid rectangle of a colour gradient.
struct TGradientBand {
  TRect Rect;
  TColor Color;
  friend bool operator==(const TGradientBand &, const TGradientBand &) = default;
};

// The rectangles that paint a gradient from startColor to endColor over rect
// (normalised first). Linear gradients start at the bottom edge (top-bottom
// directions) or the right edge (left-right directions) and use at most 256
// bands; a rect of one pixel or none across the gradient is one band of the
// start colour. System colours are resolved.
std::vector<TGradientBand> ComputeGradientBands(const TRect &rect, TColor startColor,
                                                TColor endColor, TGradientDirection direction);

// Colour step i of n between two resolved colours; n = 0 gives the start.
TColor GradientStepColor(TColor startRgb, TColor endRgb, int i, int n);
