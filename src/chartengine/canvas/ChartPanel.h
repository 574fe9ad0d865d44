#pragma once
#include "chartengine/canvas/ChartCanvas3D.h"
#include "chartengine/canvas/View3DOptions.h"
#include "chartengine/canvas/ZoomPanningRecord.h"

#include <QCursor>
#include <QWidget>
#include <array>
#include <memory>

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// Engine-wide drawing switches.
struct TChartPanelSwitches {
  bool ClipWhenPrinting = true;
  bool ClipWhenMetafiling = true;
  bool PanelBackgroundWhenPrinting = false;
};
TChartPanelSwitches &ChartPanelSwitches();

// The window a chart is drawn on. It owns the projecting canvas and the 3-D
// view options, keeps the drawing's bounds and the plot rectangle that later
// steps narrow, paints through the canvas's off-screen buffer (an unchanged
// chart repaints by one copy) and draws its bevels. DrawToCanvas draws the
// chart onto any canvas, e.g. a picture for saving or tests.
class TCustomChartPanel : public QWidget {
public:
  explicit TCustomChartPanel(QWidget *parent = nullptr);
  ~TCustomChartPanel() override;

  // ---- drawing entry points
  // The chart itself, drawn within bounds (the axis panel implements it).
  virtual void DrawContents(const TRect &bounds) = 0;
  // Marks the buffer stale and schedules a paint.
  virtual void RepaintChart() { Invalidate(); }
  virtual void DrawToCanvas(TCanvas *userCanvas, const TRect &userRect);
  virtual void PaintBevels(const TRect &rect);
  virtual void AssignFontToCanvas(const TFont &font);
  virtual void GetClientRectangle(TRect &rect);
  void Invalidate();
  // Narrows PlotRect into PanelBounds and derives the plot sizes.
  void RecalcPlotRect();
  // Draws (or, drawn twice, removes) the zoom rectangle as an inverted frame.
  void ToggleZoomFrame();
  // Called once the chart's properties are loaded: remembers the cursor.
  virtual void Loaded();
  // Restores the cursor and ends panning.
  void AbortMouseAction();
  void Assign(const TCustomChartPanel &source);

  // ---- the two rectangles and derived sizes
  const TRect &PanelBounds() const { return m_panelBounds; }
  const TRect &PlotRect() const { return m_plotRect; }
  void SetPlotRect(const TRect &rect) { m_plotRect = rect; }
  int PlotWidth() const { return m_plotWidth; }
  int PlotHeight() const { return m_plotHeight; }
  int PlotXCenter() const { return m_plotXCenter; }
  int PlotYCenter() const { return m_plotYCenter; }
  int DepthWidth() const { return m_depthWidth; }
  void SetDepthWidth(int value) { m_depthWidth = value; }
  int DepthHeight() const { return m_depthHeight; }
  void SetDepthHeight(int value) { m_depthHeight = value; }

  // ---- properties (a change repaints)
  int Chart3DPercent() const { return m_chart3DPercent; }
  // 1 .. 100; others raise ChartException and keep the value.
  void SetChart3DPercent(int value);
  bool DepthRows() const { return m_depthRows; }
  void SetDepthRows(bool value);
  // Margins in percent of the drawing size: 0 left, 1 top, 2 right, 3 bottom.
  int Margin(int index) const;
  void SetMargin(int index, int value);
  int MarginLeft() const { return Margin(0); }
  void SetMarginLeft(int v) { SetMargin(0, v); }
  int MarginTop() const { return Margin(1); }
  void SetMarginTop(int v) { SetMargin(1, v); }
  int MarginRight() const { return Margin(2); }
  void SetMarginRight(int v) { SetMargin(2, v); }
  int MarginBottom() const { return Margin(3); }
  void SetMarginBottom(int v) { SetMargin(3, v); }
  int PrintMargin(int index) const;
  void SetPrintMargin(int index, int value);
  bool View3D() const { return m_view3D; }
  void SetView3D(bool value);
  TView3DOptions &View3DOptions() { return *m_view3DOptions; }
  const TView3DOptions &View3DOptions() const { return *m_view3DOptions; }
  void SetView3DOptions(const TView3DOptions &value) { m_view3DOptions->Assign(value); }
  bool Monochrome() const { return m_canvas->GetMonochrome(); }
  void SetMonochrome(bool value) { m_canvas->SetMonochrome(value); }
  bool BufferedDisplay() const { return m_canvas->GetBufferedDisplay(); }
  void SetBufferedDisplay(bool value);
  bool PrintProportional() const { return m_printProportional; }
  void SetPrintProportional(bool value) { m_printProportional = value; }
  int PrintSetting() const { return m_printSetting; }
  void SetPrintSetting(int value) { m_printSetting = value; }

  // The panel look: colour and bevels.
  TColor Color() const { return m_color; }
  void SetColor(TColor value);
  TPanelBevel BevelOuter() const { return m_bevelOuter; }
  void SetBevelOuter(TPanelBevel value);
  TPanelBevel BevelInner() const { return m_bevelInner; }
  void SetBevelInner(TPanelBevel value);
  int BevelWidth() const { return m_bevelWidth; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return m_borderWidth; }
  void SetBorderWidth(int value);

  // ---- state
  TChartCanvas3D &Canvas() { return *m_canvas; }
  // The canvas of the window while it paints; the canvas's idle target otherwise.
  TCanvas *WindowCanvas() const { return m_windowCanvas; }
  TZoomPanningRecord &ZoomRecord() { return m_zoom; }
  TZoomPanningRecord &PanningRecord() { return m_panning; }
  bool Printing() const { return m_printing; }
  void SetPrinting(bool value) { m_printing = value; }
  // Repaint requests are held while this is false.
  bool IsCreated() const { return m_created; }
  void SetCreated(bool value) { m_created = value; }
  bool CancelMouse() const { return m_cancelMouse; }
  void SetCancelMouse(bool value) { m_cancelMouse = value; }
  bool Drawing() const { return m_drawing; }
  // Clipping is allowed for the output being drawn.
  bool CanClip() const;

protected:
  void paintEvent(QPaintEvent *event) override;
  // Stores a changed value and repaints.
  template <typename T> void Store(T &field, const T &value) {
    if (field != value) {
      field = value;
      Invalidate();
    }
  }

private:
  int m_chart3DPercent = 15;
  bool m_depthRows = true;
  TRect m_panelBounds;
  int m_plotWidth = 0;
  int m_plotHeight = 0;
  int m_plotXCenter = 0;
  int m_plotYCenter = 0;
  TCanvas *m_windowCanvas = nullptr;
  int m_depthHeight = 0;
  std::array<int, 4> m_margins = {3, 4, 3, 4};
  QCursor m_savedCursor;
  TZoomPanningRecord m_panning;
  bool m_printing = false;
  bool m_printProportional = true;
  int m_printSetting = 0;
  bool m_view3D = true;
  std::unique_ptr<TView3DOptions> m_view3DOptions;
  int m_depthWidth = 0;
  TZoomPanningRecord m_zoom;
  std::unique_ptr<TChartCanvas3D> m_canvas;
  bool m_created = false;
  bool m_cancelMouse = false;
  TRect m_plotRect;
  std::array<int, 4> m_printMargins = {15, 15, 15, 15};
  TColor m_color = clBtnFace;
  TPanelBevel m_bevelOuter = bvRaised;
  TPanelBevel m_bevelInner = bvNone;
  int m_bevelWidth = 1;
  int m_borderWidth = 0;
  bool m_drawing = false;
  // A whole repaint was asked of the window and its paint has not come yet.
  bool m_updatePending = false;
  // Inside paintEvent.
  bool m_painting = false;
  // The chart changed while it was drawn (a handler called by the drawing).
  bool m_changedWhileDrawing = false;
  // The coming paint was asked for by the panel after a paint during which
  // the chart changed; no outside change came since.
  bool m_followUpPaint = false;

  // Asks the window for a paint (once until it comes).
  void RequestPaint();
  // After a paint: a change made while it drew is drawn by one more paint.
  void PaintAgainIfChanged();
};
