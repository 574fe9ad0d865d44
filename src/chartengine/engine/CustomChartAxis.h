#pragma once
// An axis of a chart. The axis panel drives it through a drawing in this
// order:
//   1. FitRangeToSeries()         every axis: the automatic range from the series
//   2. CalcRect(rect, inflate)    every visible axis: its room taken from a copy
//                                 of PlotRect (inflate for the five standard axes)
//   3. ComputePixelSpan()         every axis, once PlotRect is final
//   4. FitRangeToRect(margins)    top, left, right and bottom axes: series margins
//   5. DrawAxis(true)             every visible axis, before or after the series
// Outside a drawing: SetMinMax (zoom, panning, windows), ScreenToValue,
// IsHitOnAxis (clicks), ResolveLabelStyle (the depth axis' range), Assign.
#include "chartengine/canvas/ChartFont.h"
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/engine/AxisGeometry.h"
#include "chartengine/engine/AxisIncrement.h"
#include "chartengine/engine/AxisLabelGenerator.h"
#include "chartengine/engine/AxisScale.h"
#include "chartengine/engine/ChartAxisTitle.h"
#include "chartengine/engine/ChartWalks.h"
#include "platform/Rect.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TChartSeries;
class TCustomAxisPanel;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// Engine-wide axis settings.
struct TChartAxisSwitches {
  // Pixels kept free between the ticks and the labels.
  int ExtraAxisMargin = 2;
};
TChartAxisSwitches &ChartAxisSwitches();

// The axis base: range (automatic from the series or set by hand), pixel
// span, value <-> pixel conversion, label step and texts, room in the chart
// and drawing. TChartAxis and TChartDepthAxis (ChartAxis.h) are the axes a
// chart has; series see an axis through the mapping functions.
class TCustomChartAxis {
public:
  // Registers the axis with the chart, which frees it with itself.
  explicit TCustomChartAxis(TCustomAxisPanel *chart = nullptr);
  TCustomChartAxis(const TCustomChartAxis &) = delete;
  TCustomChartAxis &operator=(const TCustomChartAxis &) = delete;
  // Unregisters the axis from its chart.
  virtual ~TCustomChartAxis();

  // Copies every published property (not the chart, side or state).
  virtual void Assign(const TCustomChartAxis &source);

  // ---- value <-> pixel (series call these)
  // Pixel of a value on a horizontal axis (grows rightwards) and on a
  // vertical one (grows upwards, so the pixel falls); the depth axis answers
  // depth pixels.
  virtual int XValueToScreen(double value) const;
  virtual int YValueToScreen(double value) const;
  // The value at a pixel along the axis.
  virtual double ScreenToValue(int pixel) const;
  virtual bool IsHorizontal() const { return m_scale.Horizontal; }
  virtual bool Inverted() const { return m_scale.Inverted; }
  // The axis shows date-times (ShowsDates), and steps them by the calendar when exact.
  virtual bool IsDateTime() const { return ShowsDates(); }
  virtual bool ExactDateTime() const { return m_exactDateTime; }
  // The text of the axis label of a value (the chart's OnGetAxisLabel
  // applied), written as the labels of the last drawing (dates by its step).
  virtual std::string ValueLabelText(double value) const;
  int ValueToScreen(double value) const {
    return IsHorizontal() ? XValueToScreen(value) : YValueToScreen(value);
  }

  // ---- range and span
  // Sets a fixed range: the smaller value becomes Minimum; a range below
  // 1e-10 is widened to it. Automatic, AutomaticMinimum and AutomaticMaximum
  // are cleared.
  void SetMinMax(double aMin, double aMax);
  // The automatic ends from the chart's series; then the range in force.
  void FitRangeToSeries();
  // Keeps margins.Left/Right (horizontal) or Top/Bottom pixels free at the
  // ends by widening the range in force.
  void FitRangeToRect(const TRect &margins);
  // StartPixel .. EndPixel from PlotRect and StartPosition/EndPosition.
  void ComputePixelSpan();
  // The label step for this drawing: the smallest round step at which the
  // labels, as they will be drawn, keep apart.
  double EffectiveIncrement();
  // Room of the label of a value along x and y, with the labels font.
  int LabelTextWidth(double value);
  int LabelTextHeight(double value);
  // The first active series on the axis has date-time values in the axis'
  // direction.
  bool ShowsDates() const;
  // The point lies on the axis: between its ends, from 3 pixels inside the
  // axis line to the labels' edge; only while the chart shows the axis.
  bool IsHitOnAxis(int x, int y) const;

  // ---- labels, room and drawing
  // The label style in force (talAuto resolved from the series).
  TAxisLabelStyle ResolveLabelStyle() const;
  // Room the labels need across the axis.
  int WidestLabel();
  // Takes the axis' room from rect (inflate) or only places the axis line,
  // labels and title outside rect.
  void CalcRect(TRect &rect, bool inflate);
  // How far the labels at the two ends of the axis reach past its start
  // (left or top) and its end (right or bottom) pixel, by the boxes the
  // labels are written in (any angle, any number of lines): the value
  // labels of the range's ends, or the labels of the points nearest them.
  void EndLabelsReach(int &before, int &after);
  // Draws title, labels, ticks, grid and axis line; with calcPosAxis the
  // axis line is first placed on PlotRect.
  virtual void DrawAxis(bool calcPosAxis);

  // ---- range properties
  bool Automatic() const { return m_automatic; }
  void SetAutomatic(bool value);
  bool AutomaticMaximum() const { return m_automaticMaximum; }
  void SetAutomaticMaximum(bool value);
  bool AutomaticMinimum() const { return m_automaticMinimum; }
  void SetAutomaticMinimum(bool value);
  double Increment() const { return m_increment; }
  // Negative values raise AxisException "Axis increment must be >= 0".
  void SetIncrement(double value);
  double Maximum() const { return m_maximum; }
  // Below Minimum raises AxisException (not while loading).
  void SetMaximum(double value);
  bool IsMaximumStored() const { return !m_automatic && !m_automaticMaximum; }
  double Minimum() const { return m_minimum; }
  // Above Maximum raises AxisException (not while loading).
  void SetMinimum(double value);
  bool IsMinimumStored() const { return !m_automatic && !m_automaticMinimum; }
  bool Logarithmic() const { return m_scale.Logarithmic; }
  // Raises AxisException on a date-time axis or a range in force below 0.
  void SetLogarithmic(bool value);
  int LogarithmicBase() const { return m_logarithmicBase; }
  // Below 2 raises AxisException.
  void SetLogarithmicBase(int value);
  void SetInverted(bool value);

  // ---- look
  TChartAxisPen &Axis() { return m_axisPen; }
  const TChartAxisPen &Axis() const { return m_axisPen; }
  TChartAxisTitle &Title() { return *m_title; }
  const TChartAxisTitle &Title() const { return *m_title; }
  int TitleSize() const { return m_titleSize; }
  void SetTitleSize(int value) { Store(m_titleSize, value); }
  TDottedGrayPen &Grid() { return m_grid; }
  const TDottedGrayPen &Grid() const { return m_grid; }
  bool GridCentered() const { return m_gridCentered; }
  void SetGridCentered(bool value) { Store(m_gridCentered, value); }
  bool Labels() const { return m_labels; }
  void SetLabels(bool value) { Store(m_labels, value); }
  int LabelsAngle() const { return m_labelsAngle; }
  // 0 .. 360; others raise ChartException "Axis Labels Angle must be ...".
  void SetLabelsAngle(int value);
  TChartFont &LabelsFont() { return m_labelsFont; }
  const TChartFont &LabelsFont() const { return m_labelsFont; }
  bool IsLabelsFontStored() const { return !m_labelsFont.IsDefault(); }
  bool LabelsOnAxis() const { return m_labelsOnAxis; }
  void SetLabelsOnAxis(bool value) { Store(m_labelsOnAxis, value); }
  int LabelsSeparation() const { return m_labelsSeparation; }
  // Negative values raise AxisException.
  void SetLabelsSeparation(int value);
  int LabelsSize() const { return m_labelsSize; }
  void SetLabelsSize(int value) { Store(m_labelsSize, value); }
  TAxisLabelStyle LabelStyle() const { return m_labelStyle; }
  void SetLabelStyle(TAxisLabelStyle value) { Store(m_labelStyle, value); }
  const std::string &AxisValuesFormat() const { return m_axisValuesFormat; }
  void SetAxisValuesFormat(const std::string &value) { Store(m_axisValuesFormat, value); }
  bool IsAxisValuesFormatStored() const;
  const std::string &DateTimeFormat() const { return m_dateTimeFormat; }
  void SetDateTimeFormat(const std::string &value) { Store(m_dateTimeFormat, value); }
  void SetExactDateTime(bool value) { Store(m_exactDateTime, value); }
  bool RoundFirstLabel() const { return m_roundFirstLabel; }
  void SetRoundFirstLabel(bool value) { Store(m_roundFirstLabel, value); }
  bool LabelsMultiLine() const { return m_labelsMultiLine; }
  void SetLabelsMultiLine(bool value) { Store(m_labelsMultiLine, value); }
  int MinorTickCount() const { return m_minorTickCount; }
  void SetMinorTickCount(int value) { Store(m_minorTickCount, value); }
  int MinorTickLength() const { return m_minorTickLength; }
  void SetMinorTickLength(int value) { Store(m_minorTickLength, value); }
  TDarkGrayPen &MinorTicks() { return m_minorTicks; }
  const TDarkGrayPen &MinorTicks() const { return m_minorTicks; }
  TDarkGrayPen &Ticks() { return m_ticks; }
  const TDarkGrayPen &Ticks() const { return m_ticks; }
  TDarkGrayPen &TicksInner() { return m_ticksInner; }
  const TDarkGrayPen &TicksInner() const { return m_ticksInner; }
  int TickInnerLength() const { return m_tickInnerLength; }
  void SetTickInnerLength(int value) { Store(m_tickInnerLength, value); }
  int TickLength() const { return m_tickLength; }
  void SetTickLength(int value) { Store(m_tickLength, value); }
  bool TickOnLabelsOnly() const { return m_tickOnLabelsOnly; }
  void SetTickOnLabelsOnly(bool value) { Store(m_tickOnLabelsOnly, value); }
  bool Visible() const { return m_visible; }
  void SetVisible(bool value) { Store(m_visible, value); }
  // Where the axis starts and ends along the plot, in percent, and how far
  // its line stands inside its side (percent of the plot across it).
  double StartPosition() const { return m_startPosition; }
  void SetStartPosition(double value) { Store(m_startPosition, value); }
  double EndPosition() const { return m_endPosition; }
  void SetEndPosition(double value) { Store(m_endPosition, value); }
  double PositionPercent() const { return m_positionPercent; }
  void SetPositionPercent(double value) { Store(m_positionPercent, value); }
  bool IsStartPositionStored() const { return m_startPosition != 0.0; }
  bool IsEndPositionStored() const { return m_endPosition != 100.0; }
  bool IsPositionPercentStored() const { return m_positionPercent != 0.0; }

  // ---- state
  TCustomAxisPanel *ParentChart() const { return m_chart; }
  // False from when the axis is freed on.
  std::shared_ptr<const bool> LifeToken() const { return m_life.Token(); }
  bool IsOppositeSide() const { return m_oppositeSide; }
  bool IsDepth() const { return m_depth; }
  // Custom axes choose their direction and side; the chart's own are fixed.
  void SetHorizontal(bool value);
  void SetOppositeSide(bool value);
  TAxisSide Side() const;
  double CurMinimum() const { return m_scale.Minimum; }
  double CurMaximum() const { return m_scale.Maximum; }
  double CurRange() const { return m_scale.Range(); }
  int StartPixel() const { return m_scale.StartPixel; }
  int EndPixel() const { return m_scale.EndPixel; }
  int SpanPixels() const { return m_scale.SpanPixels(); }
  int CenterPixel() const { return m_scale.CenterPixel(); }
  const TAxisScale &Scale() const { return m_scale; }
  int AxisLinePos() const { return m_axisLinePos; }
  int LabelsPos() const { return m_labelsPos; }
  int TitlePos() const { return m_titlePos; }
  // Set while the chart's properties are read: range checks are skipped and
  // Automatic leaves its two halves alone.
  bool Loading() const { return m_loading; }
  void SetLoading(bool value) { m_loading = value; }
  // Series that use the axis as their custom axis; freeing the axis detaches
  // them (they go back to their standard axes).
  void AddCustomUser(TChartSeries *series);
  void RemoveCustomUser(TChartSeries *series);

protected:
  void SetDepth(bool value) { m_depth = value; }
  // The drawing shared by the chart's axes.
  void InternalDrawAxis(bool calcPosAxis);
  void Repaint();
  template <typename T> void Store(T &field, const T &value) {
    if (field != value) {
      field = value;
      Repaint();
    }
  }

private:
  friend class TAxisPainter;
  // The label text of a value among labels stepped by step (0: by the range).
  std::string LabelTextAt(double value, double step) const;
  // The values the linear or logarithmic labels take at a step.
  TAxisLabelRequest LabelRequest(double increment) const;
  // The box the label text of a value covers on the canvas (projected into
  // the 3-D view while the axis is drawn).
  TRect LabelBox(double value, const std::string &text);
  // The box of a label text written with its anchor at (x, y) and depth z,
  // as the drawing writes it.
  TRect TextBoxAt(int x, int y, int z, const std::string &text);
  // How the value labels at step lie (apart always for logarithmic axes,
  // whose labels the drawing thins instead).
  TAxisLabelsFit LabelsFitAt(double step);
  // How far a label reaches along the axis before (left, top) and after its anchor.
  struct TLabelExtent {
    int Before = 0;
    int After = 0;
  };
  // EndLabelsReach for labels that name points.
  // extent gives how far a label reaches before and after its anchor.
  void SeriesEndLabelsReach(TAxisLabelStyle style,
                            const std::function<TLabelExtent(const std::string &)> &extent,
                            int &before, int &after);
  // The larger end label's room along the axis at step.
  int EndLabelSizeAt(double step);
  // A label text measured along and across the axis' text direction: width
  // and height of its lines, swapped for labels turned by 90 or 270.
  void LabelTextSize(const std::string &text, int &width, int &height);
  // An automatic range of one value (a single point, equal values) gets a
  // span around that value, so that its points and labels show.
  void WidenEmptyRange();
  // Sets one end's automatic flag; Automatic follows when both ends agree.
  void SetAutomaticEnd(bool &end, bool otherEnd, bool value);
  // The pixel along the axis of a value (depth pixels for the depth axis).
  int PositionOf(double value) const;
  // The label text before the chart's label event.
  std::string PlainLabelText(double value, double step) const;
  // Sizes across the axis: ticks, labels (measured unless fixed), title.
  int TicksSize() const;
  int LabelsRoom();
  int TitleRoom();
  int LabelLines();
  // The canvas takes the font; printed white text is drawn black.
  void AssignTextFont(const TFont &font);
  // The title keeps the angle of its side unless it was given another.
  void UpdateTitleAngle();

  TCustomAxisPanel *m_chart;
  bool m_automatic = true;
  bool m_automaticMaximum = true;
  bool m_automaticMinimum = true;
  double m_increment = 0.0;
  double m_maximum = 0.0;
  double m_minimum = 0.0;
  int m_logarithmicBase = 10;
  TChartAxisPen m_axisPen;
  std::unique_ptr<TChartAxisTitle> m_title;
  int m_titleSize = 0;
  TDottedGrayPen m_grid;
  bool m_gridCentered = false;
  bool m_labels = true;
  int m_labelsAngle = 0;
  TChartFont m_labelsFont;
  bool m_labelsOnAxis = true;
  int m_labelsSeparation = 10;
  int m_labelsSize = 0;
  TAxisLabelStyle m_labelStyle = talAuto;
  std::string m_axisValuesFormat;
  std::string m_dateTimeFormat;
  bool m_exactDateTime = true;
  bool m_roundFirstLabel = true;
  bool m_labelsMultiLine = false;
  int m_minorTickCount = 3;
  int m_minorTickLength = 2;
  TDarkGrayPen m_minorTicks;
  TDarkGrayPen m_ticks;
  TDarkGrayPen m_ticksInner;
  int m_tickInnerLength = 0;
  int m_tickLength = 4;
  bool m_tickOnLabelsOnly = true;
  bool m_visible = true;
  double m_startPosition = 0.0;
  double m_endPosition = 100.0;
  double m_positionPercent = 0.0;

  bool m_oppositeSide = false;
  bool m_depth = false;
  TAxisScale m_scale;
  int m_axisLinePos = 0;
  int m_labelsPos = 0;
  int m_titlePos = 0;
  bool m_loading = false;
  std::vector<TChartSeries *> m_customUsers;
  // The label step of the last drawing (0 before one): date labels are
  // written by it.
  double m_labelStep = 0.0;
  // Set while the axis draws: label boxes are measured in the 3-D view.
  bool m_projectLabels = false;
  TLife m_life;
  // The chart's label event is not asked while labels are measured.
  mutable bool m_labelEventOff = false;
};
