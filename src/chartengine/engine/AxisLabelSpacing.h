#pragma once
#include "platform/Rect.h"

// Keeps the labels of one axis apart. Labels are offered in drawing order;
// one is accepted when its box stands clear of the last accepted box: along
// the axis by the labels' separation (percent of the larger label's size
// along the axis, at least one pixel), or across it by at least one pixel.
// Labels never overlap or touch that way.
class TAxisLabelSpacing {
public:
  TAxisLabelSpacing(bool horizontal, int separationPercent)
      : m_horizontal(horizontal), m_separation(separationPercent) {}

  // Whether the box keeps clear of the last accepted one; it becomes the
  // last one when it does. An empty box (no text) is always accepted and
  // changes nothing.
  bool Accept(const TRect &box);

private:
  bool m_horizontal;
  int m_separation;
  bool m_hasLast = false;
  TRect m_last;
};
