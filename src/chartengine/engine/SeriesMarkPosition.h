#pragma once
#include "platform/Rect.h"

// Where one mark was drawn: its arrow from the point and its box. A position
// placed by hand wins over the one the series computes.
class TSeriesMarkPosition {
public:
  TPoint ArrowStart;
  TPoint ArrowEnd;
  bool PlacedByHand = false;
  int Height = 0;
  TPoint TopLeftCorner;
  int Width = 0;

  // Copies every field but PlacedByHand.
  void Assign(const TSeriesMarkPosition &source) {
    ArrowStart = source.ArrowStart;
    ArrowEnd = source.ArrowEnd;
    Height = source.Height;
    TopLeftCorner = source.TopLeftCorner;
    Width = source.Width;
  }
  TRect MarkBounds() const {
    return TRect(TopLeftCorner.X, TopLeftCorner.Y, TopLeftCorner.X + Width,
                 TopLeftCorner.Y + Height);
  }
};
