#include "chartengine/canvas/ChartFont.h"

#include "chartengine/canvas/ChartTexts.h"
#include "platform/Format.h"

std::string DefaultChartFontName() { return ChartText(ctDefaultFontName); }

int DefaultChartFontSize() {
  return static_cast<int>(StrToIntDef(ChartText(ctDefaultFontSize), 8));
}

bool IsDefaultChartFont(const TFont &font) {
  return font.Size() == DefaultChartFontSize() && font.Name == DefaultChartFontName() &&
         font.Color == clBlack && font.Style() == 0;
}

TChartFont::TChartFont(std::function<void()> onChange) : m_onChange(std::move(onChange)) {
  m_font.Name = DefaultChartFontName();
  m_font.SetSize(DefaultChartFontSize());
  m_font.Color = clBlack;
  m_font.SetStyle(0);
}

std::unique_ptr<TChartFont> CreateChartFont(std::function<void()> onChange) {
  return std::make_unique<TChartFont>(std::move(onChange));
}

void TChartFont::Changed() {
  if (m_onChange)
    m_onChange();
}

void TChartFont::Assign(const TFont &font) {
  if (m_font == font)
    return;
  m_font = font;
  Changed();
}

void TChartFont::SetName(const std::string &value) {
  if (m_font.Name != value) {
    m_font.Name = value;
    Changed();
  }
}

void TChartFont::SetSize(int points) {
  if (m_font.Size() != points) {
    m_font.SetSize(points);
    Changed();
  }
}

void TChartFont::SetColor(TColor value) {
  if (m_font.Color != value) {
    m_font.Color = value;
    Changed();
  }
}

void TChartFont::SetStyle(TFontStyles value) {
  if (m_font.Style() != value) {
    m_font.SetStyle(value);
    Changed();
  }
}
