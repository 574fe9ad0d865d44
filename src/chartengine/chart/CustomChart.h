#pragma once
#include "chartengine/chart/ChartHit.h"
#include "chartengine/chart/ChartLegend.h"
#include "chartengine/chart/ChartTitle.h"
#include "chartengine/chart/ChartWall.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "platform/StringGridTypes.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

class TCustomChart;

// Mouse settings shared by every chart.
struct TChartMouseSettings {
  TMouseButton ZoomButton = mbLeft;
  TMouseButton PanButton = mbRight;
  // Keys that must be held (all of them) to start a zoom or a pan.
  TShiftState ZoomShift = 0;
  TShiftState PanShift = 0;
  // Each step of an animated zoom moves this fraction (1 / factor) of the way.
  double AnimatedZoomFactor = 3.0;
  // A zoom drag must exceed this many pixels both ways to count.
  int MinZoomDrag = 16;
};
TChartMouseSettings &ChartMouseSettings();

// Events of the chart control.
using TChartClick =
    std::function<void(TCustomChart *sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TChartClickAxis = std::function<void(TCustomChart *sender, TCustomChartAxis *axis,
                                           TMouseButton button, TShiftState shift, int x, int y)>;
using TChartClickSeries =
    std::function<void(TCustomChart *sender, TChartSeries *series, int valueIndex,
                       TMouseButton button, TShiftState shift, int x, int y)>;
// May change the new range of a panned axis or refuse the move.
using TChartAllowScrollEvent =
    std::function<void(TCustomChartAxis *sender, double &aMin, double &aMax, bool &allowScroll)>;
using TOnGetLegendText = std::function<void(TCustomAxisPanel *sender, TLegendStyle legendStyle,
                                            int index, std::string &legendText)>;
using TOnGetLegendPos =
    std::function<void(TCustomChart *sender, int index, int &x, int &y, int &xColor)>;
using TOnGetLegendRect = std::function<void(TCustomChart *sender, TRect &rect)>;
using TChartMouseEvent = std::function<void(TMouseButton button, TShiftState shift, int x, int y)>;
using TChartMouseMoveEvent = std::function<void(TShiftState shift, int x, int y)>;

// An axis range as a zoom or pan found it, restored by ResetZoom.
struct TSavedAxisRange {
  bool Automatic = true;
  bool AutomaticMinimum = true;
  bool AutomaticMaximum = true;
  double Minimum = 0.0;
  double Maximum = 0.0;
};

// A target range for one axis of a zoom.
struct TAxisZoomRange {
  double Minimum = 0.0;
  double Maximum = 0.0;
};
// Targets for the top, left, right and bottom axes, in that order.
using TAxisZoomRanges = std::array<TAxisZoomRange, 4>;

// The chart component windows place on their forms: the axis panel plus the
// back, left and bottom walls, the title and foot texts, the legend, the
// layout steps that make room for them, zooming and panning with the mouse,
// and clicks on named parts of the chart.
//
// Typical use:
//   auto *chart = new TChart(parent);
//   series->SetParentChart(chart);          // or chart->AddSeries(series)
//   chart->LeftAxis()->SetMinMax(0, 100);
//   chart->SaveToImage(image);              // or let the widget paint
class TCustomChart : public TCustomAxisPanel {
public:
  explicit TCustomChart(QWidget *parent = nullptr);
  ~TCustomChart() override;

  // ---- parts
  TChartWall &BackWall() { return *m_backWall; }
  TChartWall &LeftWall() { return *m_leftWall; }
  TChartWall &BottomWall() { return *m_bottomWall; }
  TChartTitle &Title() { return *m_title; }
  TChartTitle &Foot() { return *m_foot; }
  TChartLegend &Legend() { return *m_legend; }
  const TChartLegend &Legend() const { return *m_legend; }
  void SetBackWall(const TChartWall &value) { m_backWall->Assign(value); }
  void SetLeftWall(const TChartWall &value) { m_leftWall->Assign(value); }
  void SetBottomWall(const TChartWall &value) { m_bottomWall->Assign(value); }
  void SetTitle(const TChartTitle &value) { m_title->Assign(value); }
  void SetFoot(const TChartTitle &value) { m_foot->Assign(value); }
  void SetLegend(const TChartLegend &value) { m_legend->Assign(value); }
  // The back wall's colour; setting it gives the back wall a solid brush
  // once the chart is in a window and not loading.
  TColor BackColor() const { return m_backWall->Color(); }
  void SetBackColor(TColor value);
  // The back wall's outline.
  TChartPen &Frame() { return m_backWall->Pen(); }
  void SetFrame(const TChartPen &value) { m_backWall->Pen().Assign(value); }
  // The background picture goes inside the walls instead of over the panel.
  bool BackImageInside() const { return m_backImageInside; }
  void SetBackImageInside(bool value) { Store(m_backImageInside, value); }
  // Set while the chart's properties are read; Loaded ends it.
  bool Loading() const { return m_loading; }
  void SetLoading(bool value) { m_loading = value; }
  void Loaded() override;
  // The chart as a form designer creates it: the class name as title, a red
  // italic foot.
  void PrepareForDesigner();

  // ---- clicks, zoom and pan
  ChartHit HitTest(int x, int y);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // Zooms every axis to the values under the zoom rectangle.
  virtual void ApplyZoomFrame();
  // Sets the four axes to the targets (animated when AnimatedZoom).
  void ZoomToRanges(const TAxisZoomRanges &targets);
  // Back to the ranges the axes had before the first zoom or pan.
  void ResetZoom() override;
  void SaveAxisRanges();
  void RestoreAxisRanges();
  // Ranges were saved by a zoom or pan and not yet restored.
  bool AxisRangesSaved() const { return !m_rangesNotSaved; }
  // Moves the axes of one orientation by the values between two pixels.
  void PanAxes(bool horizontal, int newPos, int oldPos);

  // ---- legend texts
  std::string LegendValueText(TChartSeries *series, int valueIndex) override;
  // The text of a legend item by the legend's resolved style.
  std::string LegendItemText(int index);
  bool IsColorUnused(TColor color, bool checkBackground) override;
  int WallSizeForAxis(const TCustomChartAxis *axis) override;
  // Calls back with the names of the value lists of the series' source series.
  void ListSourceValueNames(TChartSeries *series,
                            const std::function<void(const std::string &)> &callback);

  // ---- output
  // Draws the chart into a picture of the widget's size (or of the given size).
  QImage SaveToImage();
  QImage SaveToImage(int width, int height);
  // Writes the chart as a picture file (PNG, BMP, JPG by the extension);
  // false when it could not be written.
  bool SaveToFile(const std::string &fileName);

  // Walls, legend, titles and BackImageInside, then the axis panel's settings.
  void Assign(const TCustomChart &source);

  // ---- events
  TChartAllowScrollEvent OnAllowScroll;
  TChartClickAxis OnClickAxis;
  TChartClick OnClickBackground;
  TChartClick OnClickLegend;
  TChartClickSeries OnClickSeries;
  TOnGetLegendPos OnGetLegendPos;
  TOnGetLegendRect OnGetLegendRect;
  TOnGetLegendText OnGetLegendText;
  // The control's own mouse events, run before the chart handles the mouse.
  TChartMouseEvent OnMouseDown;
  TChartMouseMoveEvent OnMouseMove;
  TChartMouseEvent OnMouseUp;

protected:
  void LayoutAxes() override;
  // The panel less a legend drawn beside, above or below the plot.
  TRect AxisLabelsBounds() const override;
  void PaintTitlesAndLegend() override;
  void PaintWalls() override;
  void DrawBackImageFull(const TRect &rect) override;

  void mousePressEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

private:
  void PaintTitles();
  void PrepareWall(TChartWall &wall);
  // The cancel-flag protocol of the click events: true when taken.
  bool FireClick(const std::function<void()> &fire);
  bool BackgroundClick(TMouseButton button, TShiftState shift, int x, int y);
  bool StartZoomOrPan(TMouseButton button, TShiftState shift, int x, int y);
  void PanMove(int x, int y);
  // The four axes in the order of saved ranges and zoom targets.
  std::array<TCustomChartAxis *, 4> ZoomAxes() const;
  template <typename Fn> void Guarded(const char *where, Fn &&fn);

  bool m_backImageInside = false;
  std::unique_ptr<TChartWall> m_backWall;
  std::unique_ptr<TChartWall> m_bottomWall;
  std::unique_ptr<TChartTitle> m_foot;
  std::unique_ptr<TChartWall> m_leftWall;
  std::unique_ptr<TChartLegend> m_legend;
  bool m_rangesNotSaved = true;
  std::array<TSavedAxisRange, 4> m_savedRanges;
  std::unique_ptr<TChartTitle> m_title;
  bool m_loading = false;
  bool m_axesMoved = false;
  // The legend drew items in this drawing.
  bool m_legendShown = false;
};

// The chart component as published.
class TChart : public TCustomChart {
public:
  using TCustomChart::TCustomChart;
};
