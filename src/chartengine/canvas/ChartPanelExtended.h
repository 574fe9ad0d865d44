#pragma once
#include "chartengine/canvas/ChartGradient.h"
#include "chartengine/canvas/ChartPanel.h"

#include <QImage>
#include <functional>

enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TChartBackImageMode { pbmStretch, pbmTile, pbmCenter };

// The chart panel with a background gradient, a background picture and the
// zoom and panning settings.
class TCustomChartPanelExtended : public TCustomChartPanel {
public:
  explicit TCustomChartPanelExtended(QWidget *parent = nullptr);

  // Background: gradient or panel colour, then the picture, then the bevels.
  virtual void PaintPanel(const TRect &rect);
  virtual void PaintPanelBackground(const TRect &rect);
  virtual void DrawBackImageFull(const TRect &rect);
  // The picture in rect; with depth, on the back wall of a 3-D view.
  void DrawBackImage(const TRect &rect, int depth);
  virtual void ResetZoom();
  void Assign(const TCustomChartPanelExtended &source);

  int AnimatedZoomSteps() const { return m_animatedZoomSteps; }
  void SetAnimatedZoomSteps(int value) { Store(m_animatedZoomSteps, value); }
  bool AnimatedZoom() const { return m_animatedZoom; }
  void SetAnimatedZoom(bool value) { Store(m_animatedZoom, value); }
  bool AllowZoom() const { return m_allowZoom; }
  void SetAllowZoom(bool value) { m_allowZoom = value; }
  TPanningMode AllowPanning() const { return m_allowPanning; }
  void SetAllowPanning(TPanningMode value) { m_allowPanning = value; }
  const QImage &BackImage() const { return m_backImage; }
  void SetBackImage(const QImage &image);
  TChartBackImageMode BackImageMode() const { return m_backImageMode; }
  void SetBackImageMode(TChartBackImageMode value) { Store(m_backImageMode, value); }
  TChartGradient &Gradient() { return m_gradient; }
  const TChartGradient &Gradient() const { return m_gradient; }
  void SetGradient(const TChartGradient &value) { m_gradient.Assign(value); }
  bool Zoomed() const { return m_zoomed; }
  void SetZoomed(bool value) { m_zoomed = value; }

  std::function<void()> OnAfterDraw;
  std::function<void()> OnScroll;
  std::function<void()> OnUndoZoom;
  std::function<void()> OnZoom;

private:
  bool PaintsBackground() const;

  int m_animatedZoomSteps = 8;
  bool m_animatedZoom = false;
  bool m_allowZoom = true;
  TPanningMode m_allowPanning = pmBoth;
  QImage m_backImage;
  TChartBackImageMode m_backImageMode = pbmStretch;
  TChartGradient m_gradient;
  bool m_zoomed = false;
};
