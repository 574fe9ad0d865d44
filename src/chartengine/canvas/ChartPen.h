#pragma once
#include "platform/Canvas.h"

#include <functional>

// A pen of a chart element: the platform pen plus a visibility switch and a
// fine dotted style. Changes are reported to the owner's handler.
class TChartPen {
public:
  explicit TChartPen(std::function<void()> onChange = {}) : m_onChange(std::move(onChange)) {}
  TChartPen(const TChartPen &) = delete;
  TChartPen &operator=(const TChartPen &) = delete;
  virtual ~TChartPen() = default;

  // Copies SmallDots, Visible and the pen; one notification when anything changed.
  void Assign(const TChartPen &source);

  TColor Color() const { return m_pen.Color; }
  void SetColor(TColor value);
  int Width() const { return m_pen.Width; }
  void SetWidth(int value);
  TPenStyle Style() const { return m_pen.Style; }
  void SetStyle(TPenStyle value);
  TPenMode Mode() const { return m_pen.Mode; }
  void SetMode(TPenMode value);
  bool SmallDots() const { return m_smallDots; }
  void SetSmallDots(bool value);
  bool Visible() const { return m_visible; }
  void SetVisible(bool value);

  // The platform pen as set (visibility not applied).
  const TPen &Pen() const { return m_pen; }
  void SetOnChange(std::function<void()> fn) { m_onChange = std::move(fn); }

protected:
  void Changed();

  TPen m_pen;
  bool m_smallDots = false;
  bool m_visible = true;

private:
  std::function<void()> m_onChange;
};

class TChartHiddenPen : public TChartPen {
public:
  explicit TChartHiddenPen(std::function<void()> onChange = {});
};

// Grid lines.
class TDottedGrayPen : public TChartPen {
public:
  explicit TDottedGrayPen(std::function<void()> onChange = {});
};

// Ticks.
class TDarkGrayPen : public TChartPen {
public:
  explicit TDarkGrayPen(std::function<void()> onChange = {});
};

// Axis lines.
class TChartAxisPen : public TChartPen {
public:
  explicit TChartAxisPen(std::function<void()> onChange = {});
};

// Arrows of marks.
class TChartArrowPen : public TChartPen {
public:
  explicit TChartArrowPen(std::function<void()> onChange = {});
};
