#include "chartengine/engine/AxisGeometry.h"

#include "chartengine/canvas/ChartMath.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
TPoint Outward(TAxisSide side) {
  switch (side) {
  case asLeft:
    return {-1, 0};
  case asRight:
    return {1, 0};
  case asTop:
    return {0, -1};
  case asBottom:
    break;
  }
  return {0, 1};
}

struct TBasePlacement {
  unsigned Align;
  int Dx;
  int Dy;
};

// The alignment and half-line shift of one line, by side and angle.
TBasePlacement BasePlacement(TAxisSide side, int angle, int h) {
  const int half = h / 2;
  switch (angle) {
  case 0:
    switch (side) {
    case asLeft:
      return {TA_RIGHT, 0, -half};
    case asRight:
      return {TA_LEFT, 0, -half};
    case asBottom:
      return {TA_CENTER, 0, 0};
    case asTop:
      return {TA_CENTER | TA_BOTTOM, 0, 0};
    }
    break;
  case 90:
    switch (side) {
    case asLeft:
      return {TA_CENTER | TA_BOTTOM, 0, 0};
    case asRight:
      return {TA_CENTER, 0, 0};
    case asBottom:
      return {TA_RIGHT, -half, 0};
    case asTop:
      return {TA_LEFT, -half, 0};
    }
    break;
  case 180:
    switch (side) {
    case asLeft:
      return {TA_LEFT, 0, half};
    case asRight:
      return {TA_RIGHT, 0, half};
    case asBottom:
      return {TA_CENTER | TA_BOTTOM, 0, 0};
    case asTop:
      return {TA_CENTER, 0, 0};
    }
    break;
  case 270:
    switch (side) {
    case asLeft:
      return {TA_CENTER, 0, 0};
    case asRight:
      return {TA_CENTER | TA_BOTTOM, 0, 0};
    case asBottom:
      return {TA_LEFT, half, 0};
    case asTop:
      return {TA_RIGHT, half, 0};
    }
    break;
  default:
    break;
  }
  return {TA_LEFT, 0, 0};
}
} // namespace

TAxisTextPlacement AxisTextPlacement(TAxisSide side, int angle, int lineHeight, int lineCount) {
  angle %= 360; // 360 draws as 0
  if (angle < 0)
    angle += 360;
  const TBasePlacement base = BasePlacement(side, angle, lineHeight);
  TAxisTextPlacement placement;
  placement.Align = base.Align;
  const int lines = lineCount < 1 ? 1 : lineCount;
  // Where the next line goes: "down" in the turned text.
  const bool rightAngle = angle % 90 == 0;
  double ax = 0;
  double ay = 0;
  if (rightAngle) {
    static constexpr int kSin[] = {0, 1, 0, -1};
    static constexpr int kCos[] = {1, 0, -1, 0};
    ax = kSin[angle / 90] * lineHeight;
    ay = kCos[angle / 90] * lineHeight;
  } else {
    const double radians = angle * std::numbers::pi / 180.0;
    ax = std::sin(radians) * lineHeight;
    ay = std::cos(radians) * lineHeight;
  }
  double firstLine = 0.0; // in lines, relative to the anchor
  if (rightAngle && lines > 1) {
    const TPoint out = Outward(side);
    const double across = ax * out.X + ay * out.Y;
    if (across < 0)
      firstLine = -(lines - 1); // the block grows outwards from its last line
    else if (across == 0)
      firstLine = -(lines - 1) / 2.0; // lines along the axis: centred
  }
  for (int k = 0; k < lines; ++k) {
    const double n = firstLine + k;
    placement.LineOffsets.push_back({base.Dx + PixelRound(n * ax), base.Dy + PixelRound(n * ay)});
  }
  return placement;
}

int RectEdge(const TRect &rect, TAxisSide side) {
  switch (side) {
  case asLeft:
    return rect.Left;
  case asRight:
    return rect.Right;
  case asTop:
    return rect.Top;
  case asBottom:
    break;
  }
  return rect.Bottom;
}

int MoveOutwards(int pos, TAxisSide side, int pixels) {
  const TPoint out = Outward(side);
  return PixelAdd(pos, static_cast<long long>(out.X + out.Y) * pixels);
}

int AxisPositionOffset(const TRect &rect, TAxisSide side, double positionPercent) {
  const bool horizontal = side == asTop || side == asBottom;
  return PixelRound(0.01 * positionPercent * (horizontal ? rect.Height() : rect.Width()));
}

namespace {
// Moves the rect's edge on a side inwards by pixels.
void TakeFromSide(TRect &rect, TAxisSide side, int pixels) {
  switch (side) {
  case asLeft:
    rect.Left = PixelAdd(rect.Left, pixels);
    break;
  case asRight:
    rect.Right = PixelAdd(rect.Right, -static_cast<long long>(pixels));
    break;
  case asTop:
    rect.Top = PixelAdd(rect.Top, pixels);
    break;
  case asBottom:
    rect.Bottom = PixelAdd(rect.Bottom, -static_cast<long long>(pixels));
    break;
  }
}
} // namespace

TAxisRoom ShrinkForAxis(const TRect &rect, const TAxisRoomRequest &r) {
  TAxisRoom room;
  room.Rect = rect;
  const TAxisSide side = r.Side;
  room.TitlePos = RectEdge(room.Rect, side);
  if (r.HasTitle) {
    if (r.Depth) {
      room.TitlePos = rect.Right;
    } else {
      TakeFromSide(room.Rect, side, r.TitleSize);
      room.TitlePos = RectEdge(room.Rect, side);
    }
  }
  if (r.Labels)
    TakeFromSide(room.Rect, side, r.LabelsSize);
  room.LabelsPos = RectEdge(room.Rect, side);
  const int ticks = r.TicksSize + r.ExtraMargin;
  if (ticks > 0)
    TakeFromSide(room.Rect, side, ticks);
  const int offset = AxisPositionOffset(room.Rect, side, r.PositionPercent);
  room.AxisLinePos = MoveOutwards(RectEdge(room.Rect, side), side, -offset);
  room.TitlePos = MoveOutwards(room.TitlePos, side, -offset);
  room.LabelsPos = MoveOutwards(room.LabelsPos, side, -offset);
  return room;
}

TAxisRoom PlaceAlongRect(const TRect &rect, const TAxisRoomRequest &r) {
  TAxisRoom room;
  room.Rect = rect;
  const int offset = AxisPositionOffset(rect, r.Side, r.PositionPercent);
  room.AxisLinePos = MoveOutwards(RectEdge(rect, r.Side), r.Side, -offset);
  room.LabelsPos = MoveOutwards(room.AxisLinePos, r.Side, r.TicksSize);
  room.TitlePos = MoveOutwards(room.LabelsPos, r.Side, r.LabelsSize);
  return room;
}

TRect TextLineRect(int x, int y, unsigned align, int width, int height, int angle) {
  // The text's own frame: x along the baseline, y downwards.
  double left = 0;
  if ((align & TA_HORZMASK) == TA_CENTER)
    left = -width / 2.0;
  else if ((align & TA_HORZMASK) == TA_RIGHT)
    left = -width;
  const double top = (align & TA_BASELINE) == TA_BOTTOM ? -height : 0.0;
  angle %= 360;
  if (angle < 0)
    angle += 360;
  const double radians = angle * std::numbers::pi / 180.0;
  // Right angles exactly, so that boxes of turned text have whole sides.
  static constexpr int kCos[] = {1, 0, -1, 0};
  static constexpr int kSin[] = {0, 1, 0, -1};
  const double c = angle % 90 == 0 ? kCos[angle / 90] : std::cos(radians);
  const double s = angle % 90 == 0 ? kSin[angle / 90] : std::sin(radians);
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  bool first = true;
  for (double cx : {left, left + width})
    for (double cy : {top, top + height}) {
      // Counter-clockwise on a screen whose y grows downwards.
      const double sx = cx * c + cy * s;
      const double sy = -cx * s + cy * c;
      if (first) {
        minX = maxX = sx;
        minY = maxY = sy;
        first = false;
      } else {
        minX = std::min(minX, sx);
        maxX = std::max(maxX, sx);
        minY = std::min(minY, sy);
        maxY = std::max(maxY, sy);
      }
    }
  return TRect(PixelAdd(x, static_cast<long long>(std::floor(minX))),
               PixelAdd(y, static_cast<long long>(std::floor(minY))),
               PixelAdd(x, static_cast<long long>(std::ceil(maxX))),
               PixelAdd(y, static_cast<long long>(std::ceil(maxY))));
}
