#pragma once
#include "chartengine/canvas/GradientBands.h"

#include <functional>

// A background gradient setting; a changed value asks the owner to repaint.
class TCustomChartGradient {
public:
  explicit TCustomChartGradient(std::function<void()> onChange = {})
      : m_onChange(std::move(onChange)) {}
  TCustomChartGradient(const TCustomChartGradient &) = delete;
  TCustomChartGradient &operator=(const TCustomChartGradient &) = delete;
  virtual ~TCustomChartGradient() = default;

  void Assign(const TCustomChartGradient &source);

  TGradientDirection Direction() const { return m_direction; }
  void SetDirection(TGradientDirection value);
  TColor EndColor() const { return m_endColor; }
  void SetEndColor(TColor value);
  TColor StartColor() const { return m_startColor; }
  void SetStartColor(TColor value);
  bool Visible() const { return m_visible; }
  void SetVisible(bool value);

  void SetOnChange(std::function<void()> fn) { m_onChange = std::move(fn); }

private:
  void Changed();

  TGradientDirection m_direction = gdTopBottom;
  TColor m_endColor = clYellow;
  TColor m_startColor = clWhite;
  bool m_visible = false;
  std::function<void()> m_onChange;
};

class TChartGradient : public TCustomChartGradient {
public:
  using TCustomChartGradient::TCustomChartGradient;
};
