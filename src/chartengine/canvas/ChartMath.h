#pragma once
#include "platform/Color.h"

#include <string>

// The next "round" axis step above x: 1, 2, 5 times a power of ten
// (3 -> 5, 12 -> 20, 0.5 -> 1). Values that are not positive and finite
// answer +infinity, which ends any stepping loop.
double NextRoundStep(double x);

// Angles 0 .. 360 pass; others raise ChartException
// "<name> Angle must be between 0 and 359 degrees".
void ValidateAngle(int angle, const std::string &name);

// The colour (system colours resolved) with red, green and blue each lowered
// by amount, to 0 when not above it.
TColor DarkenColor(TColor color, int amount);

// Saturating conversion of a double to a pixel coordinate (nearest, halves
// to even; NaN gives 0).
int PixelRound(double value);
// a + b saturated to the int range.
int PixelAdd(long long a, long long b);
