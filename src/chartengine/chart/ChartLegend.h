#pragma once
#include "chartengine/canvas/ChartFontObject.h"
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/engine/ChartBrush.h"
#include "chartengine/engine/SeriesEnums.h"
#include "platform/Rect.h"

class TCustomChart;
class TChartSeries;

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
// What the rows list: the series, the points of the first series, or the
// last point of every series; lsAuto picks series or points.
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };

// The legend of a chart: rows of a coloured symbol and a text in a framed box
// with a shadow at one side of the plot. Drawing it takes its room from the
// chart's PlotRect; the chart asks it which row lies under the mouse.
class TCustomChartLegend : public TChartFontObject {
public:
  explicit TCustomChartLegend(TCustomChart *chart);

  // Visible, LegendStyle, FirstValue, Alignment, TextStyle, ColorWidth,
  // HorizMargin, VertMargin, ResizeChart, Inverted, TopPos, Color, Frame,
  // MaxNumRows, Brush and the font.
  void Assign(const TCustomChartLegend &source);

  // ---- drawing and hit test
  // Draws the legend with the chart canvas in 2-D and narrows PlotRect.
  virtual void PaintLegend();
  // How many items of itemSize pixels fit from start to the far edge of the
  // plot (at most TotalItems).
  virtual int FitItemCount(int start, int itemSize);
  // The position (row, or row * columns + column) under a point; -1 outside.
  int LegendHitTest(int x, int y) const;
  // Resolves lsAuto by the number of active series.
  void ResolveStyle();
  // The items the legend can list, FirstValue taken off (never below 0).
  int TotalItems();
  // The widest item text of count items from FirstValue on (-1: all).
  int MaxLegendTextWidth(int count);
  // laLeft and laRight.
  bool IsVertical() const { return m_alignment == laLeft || m_alignment == laRight; }

  // ---- properties (a change repaints; out-of-range values raise LegendException)
  TLegendAlignment Alignment() const { return m_alignment; }
  void SetAlignment(TLegendAlignment value);
  TChartBrush &Brush() { return m_brush; }
  const TChartBrush &Brush() const { return m_brush; }
  void SetBrush(const TChartBrush &value) { m_brush.Assign(value); }
  TColor Color() const { return m_color; }
  void SetColor(TColor value);
  // Symbol width in percent of the text width, 0 .. 100.
  int ColorWidth() const { return m_colorWidth; }
  void SetColorWidth(int value);
  TChartHiddenPen &DividingLines() { return m_dividingLines; }
  const TChartHiddenPen &DividingLines() const { return m_dividingLines; }
  void SetDividingLines(const TChartPen &value) { m_dividingLines.Assign(value); }
  // The first item listed, from 0.
  int FirstValue() const { return m_firstValue; }
  void SetFirstValue(int value);
  TChartPen &Frame() { return m_frame; }
  const TChartPen &Frame() const { return m_frame; }
  void SetFrame(const TChartPen &value) { m_frame.Assign(value); }
  int HorizMargin() const { return m_horizMargin; }
  void SetHorizMargin(int value);
  bool Inverted() const { return m_inverted; }
  void SetInverted(bool value);
  TLegendStyle LegendStyle() const { return m_legendStyle; }
  void SetLegendStyle(TLegendStyle value);
  int MaxNumRows() const { return m_maxNumRows; }
  void SetMaxNumRows(int value);
  bool ResizeChart() const { return m_resizeChart; }
  void SetResizeChart(bool value);
  TColor ShadowColor() const { return m_shadowColor; }
  void SetShadowColor(TColor value);
  int ShadowSize() const { return m_shadowSize; }
  void SetShadowSize(int value);
  TLegendTextStyle TextStyle() const { return m_textStyle; }
  void SetTextStyle(TLegendTextStyle value);
  // Where a vertical legend starts, in percent of the drawing's height (a
  // horizontal one is shifted by it), 0 .. 100.
  int TopPos() const { return m_topPos; }
  void SetTopPos(int value);
  int VertMargin() const { return m_vertMargin; }
  void SetVertMargin(int value);
  bool Visible() const { return m_visible; }
  void SetVisible(bool value);

  // ---- the last drawing
  const TRect &FrameRect() const { return m_frameRect; }
  int SymbolWidth() const { return m_symbolWidth; }
  int ColumnCount() const { return m_columnCount; }
  int RowCount() const { return m_rowCount; }
  TLegendStyle ResolvedStyle() const { return m_resolvedStyle; }

private:
  template <typename T> void Store(T &field, const T &value);
  // The frame's width when it is drawn, else 0.
  // The most items a legend across the top or bottom can show.
  int ShowableAcross();
  int FrameWidth() const;
  void DrawItem(int index, int position, int xText, int xSymbol, int textW, int h);
  // The series whose symbol stands for item index (nullptr when none).
  TChartSeries *SymbolSeries(int index) const;

  TCustomChart *m_chart;
  TLegendAlignment m_alignment = laRight;
  TChartBrush m_brush;
  TColor m_color = clWhite;
  int m_colorWidth = 12;
  TChartHiddenPen m_dividingLines;
  int m_firstValue = 0;
  TChartPen m_frame;
  int m_horizMargin = 0;
  bool m_inverted = false;
  TLegendStyle m_legendStyle = lsAuto;
  int m_maxNumRows = 10;
  TRect m_frameRect;
  bool m_resizeChart = true;
  TColor m_shadowColor = clBlack;
  int m_shadowSize = 3;
  TLegendTextStyle m_textStyle = ltsLeftValue;
  int m_topPos = 10;
  int m_vertMargin = 0;
  bool m_visible = true;
  int m_symbolWidth = 0;
  int m_columnCount = 0;
  int m_rowCount = 0;
  TLegendStyle m_resolvedStyle = lsSeries;
  // Item height of the last drawing, for hit tests between drawings.
  int m_itemHeight = 0;
};

class TChartLegend : public TCustomChartLegend {
public:
  using TCustomChartLegend::TCustomChartLegend;
};
