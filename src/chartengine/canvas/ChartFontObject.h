#pragma once
#include "chartengine/canvas/ChartFont.h"

class TCustomChartPanel;

// A chart element with a font (titles, legend): font changes repaint the
// owning panel.
class TChartFontObject {
public:
  explicit TChartFontObject(TCustomChartPanel *parent);
  TChartFontObject(const TChartFontObject &) = delete;
  TChartFontObject &operator=(const TChartFontObject &) = delete;
  virtual ~TChartFontObject() = default;

  void Assign(const TChartFontObject &source) { m_font.Assign(source.m_font); }
  TChartFont &Font() { return m_font; }
  const TChartFont &Font() const { return m_font; }
  void SetFont(const TChartFont &value) { m_font.Assign(value); }
  TCustomChartPanel *ParentChart() const { return m_parent; }
  // Asks the owning panel to repaint (nothing without one).
  void Repaint();

private:
  TCustomChartPanel *m_parent;
  TChartFont m_font;
};
