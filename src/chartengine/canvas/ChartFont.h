#pragma once
#include "platform/Canvas.h"

#include <functional>
#include <memory>
#include <string>

// The default font of chart texts: "Arial", 8 points (from the text catalogue).
std::string DefaultChartFontName();
int DefaultChartFontSize();
// Default name and size, black, no style: such fonts are not stored.
bool IsDefaultChartFont(const TFont &font);

// A font owned by a chart element; changes are reported to the owner's
// handler. Made as the default chart font.
class TChartFont {
public:
  explicit TChartFont(std::function<void()> onChange = {});
  TChartFont(const TChartFont &) = delete;
  TChartFont &operator=(const TChartFont &) = delete;

  void Assign(const TFont &font);
  void Assign(const TChartFont &source) { Assign(source.Font()); }
  const TFont &Font() const { return m_font; }
  bool IsDefault() const { return IsDefaultChartFont(m_font); }

  std::string Name() const { return m_font.Name; }
  void SetName(const std::string &value);
  int Size() const { return m_font.Size(); }
  void SetSize(int points);
  TColor Color() const { return m_font.Color; }
  void SetColor(TColor value);
  TFontStyles Style() const { return m_font.Style(); }
  void SetStyle(TFontStyles value);

  void SetOnChange(std::function<void()> fn) { m_onChange = std::move(fn); }

private:
  void Changed();

  TFont m_font;
  std::function<void()> m_onChange;
};

// The default chart font with a change handler.
std::unique_ptr<TChartFont> CreateChartFont(std::function<void()> onChange);
