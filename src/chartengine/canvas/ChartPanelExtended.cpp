#include "chartengine/canvas/ChartPanelExtended.h"

TCustomChartPanelExtended::TCustomChartPanelExtended(QWidget *parent)
    : TCustomChartPanel(parent), m_gradient([this] { Invalidate(); }) {}

bool TCustomChartPanelExtended::PaintsBackground() const {
  return !Printing() || ChartPanelSwitches().PanelBackgroundWhenPrinting;
}

void TCustomChartPanelExtended::PaintPanelBackground(const TRect &rect) {
  TChartCanvas3D &canvas = Canvas();
  if (m_gradient.Visible()) {
    // Start colour at the bottom (top-bottom) or right (left-right) edge.
    const TGradientDirection d = m_gradient.Direction();
    if (d == gdTopBottom || d == gdLeftRight)
      canvas.FillGradient(rect, m_gradient.StartColor(), m_gradient.EndColor(), d);
    else
      canvas.FillGradient(rect, m_gradient.EndColor(), m_gradient.StartColor(), d);
    return;
  }
  if (!PaintsBackground())
    return;
  canvas.Brush() = TBrush{ColorToRGB(Color()), bsSolid, nullptr};
  canvas.FillRect(rect);
}

void TCustomChartPanelExtended::PaintPanel(const TRect &rect) {
  PaintPanelBackground(rect);
  DrawBackImageFull(rect);
  if (!PaintsBackground())
    return;
  TChartCanvas3D &canvas = Canvas();
  canvas.Pen() = TPen{canvas.Pen().Color, 1, psSolid, pmCopy};
  canvas.Brush().Style = bsClear;
  PaintBevels(rect);
}

void TCustomChartPanelExtended::DrawBackImageFull(const TRect &rect) {
  if (!m_backImage.isNull())
    DrawBackImage(rect, 0);
}

void TCustomChartPanelExtended::DrawBackImage(const TRect &rect, int depth) {
  const int iw = m_backImage.width(), ih = m_backImage.height();
  if (m_backImage.isNull() || iw <= 0 || ih <= 0)
    return;
  if (depth != 0 && View3D() && !View3DOptions().Orthogonal())
    return;
  TChartCanvas3D &canvas = Canvas();
  if (m_backImageMode == pbmStretch) {
    TRect r = rect;
    if (depth > 0) {
      const TPoint a = canvas.ProjectPoint(rect.Left, rect.Top, depth);
      const TPoint b = canvas.ProjectPoint(rect.Right, rect.Bottom, depth);
      r = TRect(a.X, a.Y, b.X, b.Y);
      if (!View3D())
        ++r.Top;
    }
    canvas.StretchDraw(r, m_backImage);
    return;
  }
  const bool clip = CanClip();
  if (clip) {
    if (depth != 0)
      canvas.ClipToBox(rect, 0, DepthWidth());
    else
      canvas.ClipToRect(rect);
  }
  if (m_backImageMode == pbmTile) {
    for (long long y = rect.Top; y < rect.Bottom; y += ih)
      for (long long x = rect.Left; x < rect.Right; x += iw)
        canvas.Draw(static_cast<int>(x), static_cast<int>(y), m_backImage);
  } else {
    canvas.Draw(rect.Left + (rect.Width() - iw) / 2, rect.Top + (rect.Height() - ih) / 2,
                m_backImage);
  }
  if (clip)
    canvas.ClearClip();
}

void TCustomChartPanelExtended::SetBackImage(const QImage &image) {
  m_backImage = image;
  Invalidate();
}

void TCustomChartPanelExtended::ResetZoom() {
  if (OnUndoZoom)
    OnUndoZoom();
  Invalidate();
  m_zoomed = false;
}

void TCustomChartPanelExtended::Assign(const TCustomChartPanelExtended &s) {
  SetBackImage(s.m_backImage);
  SetBackImageMode(s.m_backImageMode);
  m_gradient.Assign(s.m_gradient);
  m_allowPanning = s.m_allowPanning;
  m_allowZoom = s.m_allowZoom;
  SetAnimatedZoom(s.m_animatedZoom);
  SetAnimatedZoomSteps(s.m_animatedZoomSteps);
  TCustomChartPanel::Assign(s);
}
