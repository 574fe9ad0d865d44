#pragma once
#include "platform/Rect.h"

#include <vector>

// The side of the plot an axis runs along. The depth axis sits on the right.
enum TAxisSide { asLeft, asTop, asRight, asBottom };

// Where the lines of an axis text go: the canvas text alignment and, per
// line, the offset of its reference point from the text's anchor (the label
// position P and the labels' edge, or the title's centre and edge).
struct TAxisTextPlacement {
  unsigned Align = 0;
  std::vector<TPoint> LineOffsets;
};

// Placement of a text of lineCount lines (at least one) at angle degrees on
// an axis side; lineHeight is the font height. Texts at 0, 90, 180 and 270
// degrees stand outside the axis, centred on the anchor along it; a block of
// several lines grows away from the axis, or is centred on the anchor when
// its lines stack along the axis.
TAxisTextPlacement AxisTextPlacement(TAxisSide side, int angle, int lineHeight, int lineCount);

// The box a line of text covers when written at (x, y) with a canvas text
// alignment (TA_LEFT / TA_CENTER / TA_RIGHT with TA_TOP / TA_BOTTOM), turned
// by angle degrees counter-clockwise about that point; for angles that are
// not right angles the bounding box of the turned text.
TRect TextLineRect(int x, int y, unsigned align, int width, int height, int angle);

// The sizes an axis needs across its direction.
struct TAxisRoomRequest {
  TAxisSide Side = asLeft;
  bool Depth = false; // the depth axis keeps its title at the rect's right edge
  bool HasTitle = false;
  int TitleSize = 0;
  bool Labels = true;
  int LabelsSize = 0;
  int TicksSize = 0;
  int ExtraMargin = 0; // between the ticks and the labels
  double PositionPercent = 0.0;
};

// The positions across the axis: its line, the labels' and the title's edge
// nearest to the plot. Rect is what is left for the plot.
struct TAxisRoom {
  TRect Rect;
  int AxisLinePos = 0;
  int LabelsPos = 0;
  int TitlePos = 0;
};

// Takes the axis' room (title, labels, ticks) from the side of rect.
TAxisRoom ShrinkForAxis(const TRect &rect, const TAxisRoomRequest &request);
// Only the positions, outwards from the side of rect, which keeps its size.
TAxisRoom PlaceAlongRect(const TRect &rect, const TAxisRoomRequest &request);
// The offset of an axis line from its side of rect towards the inside, in
// pixels: PositionPercent of the rect's height (top, bottom) or width.
int AxisPositionOffset(const TRect &rect, TAxisSide side, double positionPercent);
// The edge of rect on a side, and that edge moved by pixels towards the
// outside of the plot (negative: inwards).
int RectEdge(const TRect &rect, TAxisSide side);
int MoveOutwards(int pos, TAxisSide side, int pixels);
