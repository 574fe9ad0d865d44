#pragma once
#include "chartengine/canvas/ChartFont.h"
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/engine/SeriesEnums.h"
#include "chartengine/engine/SeriesMarksPositions.h"

#include <string>

class TChartSeries;

// Engine-wide switches of mark drawing.
struct TSeriesMarksSwitches {
  // An arrow coloured like its point or like the chart is drawn black (white
  // on a black chart), so that it stays visible.
  bool ContrastArrowColor = true;
};
TSeriesMarksSwitches &SeriesMarksSwitches();

// The marks of one series: the settings of the small framed captions next to
// the points, the drawing of one mark with its arrow, and the last position
// of every mark (a position placed by hand survives redrawing).
class TSeriesMarks {
public:
  explicit TSeriesMarks(TChartSeries *owner);
  TSeriesMarks(const TSeriesMarks &) = delete;
  TSeriesMarks &operator=(const TSeriesMarks &) = delete;

  // Arrow, ArrowLength, BackColor, Transparent, Clip, Frame, Font, Style, Visible.
  void Assign(const TSeriesMarks &source);

  // Draws one mark on the series' chart canvas: the arrow from ArrowStart to
  // ArrowEnd, the box MarkBounds and the text (lines separated by
  // LineBreakChar) centred in it. Position takes the stored position when
  // that was placed by hand, else is stored.
  void DrawPointMark(int valueIndex, TColor color, const std::string &text,
                     TSeriesMarkPosition &position);

  // The marks font at the size texts are drawn with in the current view
  // (scaled by the 3-D zoom when texts zoom).
  TFont DrawingFont() const;

  TChartArrowPen &Arrow() { return m_arrow; }
  const TChartArrowPen &Arrow() const { return m_arrow; }
  void SetArrow(const TChartPen &value) { m_arrow.Assign(value); }
  int ArrowLength() const { return m_arrowLength; }
  void SetArrowLength(int value);
  TColor BackColor() const { return m_backColor; }
  void SetBackColor(TColor value);
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);
  bool Clip() const { return m_clip; }
  void SetClip(bool value);
  TChartPen &Frame() { return m_frame; }
  const TChartPen &Frame() const { return m_frame; }
  void SetFrame(const TChartPen &value) { m_frame.Assign(value); }
  TChartFont &Font() { return m_font; }
  const TChartFont &Font() const { return m_font; }
  void SetFont(const TChartFont &value) { m_font.Assign(value); }
  // Stored with the series only when not the default chart font.
  bool IsFontStored() const { return !m_font.IsDefault(); }
  TSeriesMarksStyle Style() const { return m_style; }
  void SetStyle(TSeriesMarksStyle value);
  bool Visible() const { return m_visible; }
  void SetVisible(bool value);
  // Depth of the marks in a 3-D view; the chart sets it for each drawing.
  int ZPosition() const { return m_zPosition; }
  void SetZPosition(int value) { m_zPosition = value; }

  TChartSeries *OwnerSeries() const { return m_owner; }
  TSeriesMarksPositions &Positions() { return m_positions; }
  const TSeriesMarksPositions &Positions() const { return m_positions; }

private:
  template <typename T> void Store(T &field, const T &value);
  void Changed();

  TChartSeries *m_owner;
  TChartArrowPen m_arrow;
  int m_arrowLength = 8;
  TColor m_backColor = 0x0080FFFF;
  bool m_transparent = false;
  bool m_clip = false;
  TChartPen m_frame;
  TChartFont m_font;
  TSeriesMarksStyle m_style = smsLabel;
  TSeriesMarksPositions m_positions;
  bool m_visible = false;
  int m_zPosition = 0;
};
