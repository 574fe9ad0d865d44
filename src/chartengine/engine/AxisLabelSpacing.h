#pragma once
#include "platform/Rect.h"

#include <string>
#include <unordered_set>
#include <vector>

// Decides which labels of one axis are written. Labels are offered in
// drawing order, which need not follow their places along the axis (points
// in any order, several series, the chart's own sequence); one is accepted
// when its box stands clear of every box accepted before: along the axis by
// the labels' separation (percent of the larger label's size along the
// axis, at least one pixel), or across it by at least one pixel. Labels
// never overlap or touch that way. Optionally a label must also lie inside
// given bounds (the chart), and a text written once is not written again.
class TAxisLabelSpacing {
public:
  TAxisLabelSpacing(bool horizontal, int separationPercent)
      : m_horizontal(horizontal), m_separation(separationPercent) {}

  // Labels whose box leaves bounds are refused.
  void KeepInside(const TRect &bounds);
  // A text accepted once is refused afterwards.
  void KeepTextsDistinct() { m_distinct = true; }

  // Whether the label may be written; it is then remembered. An empty box
  // (no text) is always accepted and changes nothing.
  bool Accept(const TRect &box, const std::string &text = {});
  // Whether the box keeps clear of every accepted one (by the rules above).
  bool Clear(const TRect &box) const;

private:
  bool m_horizontal;
  int m_separation;
  bool m_inside = false;
  TRect m_bounds;
  bool m_distinct = false;
  std::vector<TRect> m_accepted;
  std::unordered_set<std::string> m_texts;
};
