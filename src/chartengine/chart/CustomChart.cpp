#include "chartengine/chart/CustomChart.h"

#include "chartengine/canvas/ChartBrushRoutines.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartTextLines.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/ChartWalks.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "platform/QPainterCanvas.h"
#include "platform/SaveFileWhole.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <algorithm>

TChartMouseSettings &ChartMouseSettings() {
  static TChartMouseSettings settings;
  return settings;
}

TCustomChart::TCustomChart(QWidget *parent)
    : TCustomAxisPanel(parent), m_backWall(std::make_unique<TChartWall>(this, clTeeColor)),
      m_bottomWall(std::make_unique<TChartWall>(this, clWhite)),
      m_foot(std::make_unique<TChartTitle>(this)),
      m_leftWall(std::make_unique<TChartWall>(this, TColor(0x80FFFF))),
      m_title(std::make_unique<TChartTitle>(this)) {
  m_backWall->Brush().SetStyle(bsClear);
  m_legend = std::make_unique<TChartLegend>(this);
  // Series cursors follow the mouse without a button held.
  setMouseTracking(true);
}

TCustomChart::~TCustomChart() = default;

void TCustomChart::PrepareForDesigner() {
  m_title->SetCaption("TChart");
  TFont font = m_foot->Font().Font();
  font.SetSize(DefaultChartFontSize());
  m_foot->Font().Assign(font);
  m_foot->SetFontDefaults(clRed, fsItalic);
}

void TCustomChart::Loaded() {
  m_loading = false;
  TCustomAxisPanel::Loaded();
}

void TCustomChart::SetBackColor(TColor value) {
  m_backWall->SetColor(value);
  // A chart shown as a window of its own (no parent widget) takes it too.
  if (!m_loading)
    m_backWall->Brush().SetStyle(bsSolid);
}

// ---- titles and legend --------------------------------------------------------------

void TCustomChart::PaintTitles() {
  if (m_title->Visible())
    m_title->DrawTitleBlock(true);
  if (m_foot->Visible())
    m_foot->DrawTitleBlock(false);
}

void TCustomChart::PaintTitlesAndLegend() {
  // Flat while titles and legend are drawn, also when a handler's change
  // starts the drawing over from inside the legend.
  struct TFlat {
    TChartCanvas3D &Canvas;
    explicit TFlat(TChartCanvas3D &canvas) : Canvas(canvas) { Canvas.Suspend3D(); }
    ~TFlat() { Canvas.Resume3D(); }
    TFlat(const TFlat &) = delete;
    TFlat &operator=(const TFlat &) = delete;
  } flat(Canvas());
  m_legendShown = false;
  if (!m_legend->Visible() || ActiveSeriesCount() == 0) {
    PaintTitles();
  } else if (m_legend->IsVertical()) {
    m_legend->PaintLegend();
    PaintTitles();
  } else {
    PaintTitles();
    m_legend->PaintLegend();
  }
  if (m_legend->Visible() && ActiveSeriesCount() > 0)
    m_legendShown = m_legend->RowCount() > 0 && m_legend->ColumnCount() > 0;
}

TRect TCustomChart::AxisLabelsBounds() const {
  TRect bounds = PanelBounds();
  if (!m_legendShown)
    return bounds;
  // The legend's box with its frame and shadow.
  const int shadow = m_legend->ShadowSize();
  const int frame = m_legend->Frame().Visible() ? m_legend->Frame().Width() : 0;
  const TRect box = m_legend->FrameRect().Inflate(frame, frame);
  switch (m_legend->Alignment()) {
  case laRight:
    bounds.Right = std::min(bounds.Right, box.Left);
    break;
  case laLeft:
    bounds.Left = std::max(bounds.Left, box.Right + shadow + frame);
    break;
  case laTop:
    bounds.Top = std::max(bounds.Top, box.Bottom + shadow + frame);
    break;
  case laBottom:
    bounds.Bottom = std::min(bounds.Bottom, box.Top);
    break;
  }
  return bounds;
}

std::string TCustomChart::LegendValueText(TChartSeries *series, int valueIndex) {
  if (series == nullptr || valueIndex == -1)
    return {};
  std::string text = series->LegendTextOf(valueIndex, m_legend->TextStyle());
  std::replace(text.begin(), text.end(), LineBreakChar, ' ');
  return text;
}

std::string TCustomChart::LegendItemText(int index) {
  std::string text;
  switch (m_legend->ResolvedStyle()) {
  case lsSeries:
  case lsAuto:
    text = LegendSeriesTitle(index);
    break;
  case lsValues:
    for (int t = 0; t < SeriesCount(); ++t)
      if (GetSeries(t)->Active()) {
        text = LegendValueText(GetSeries(t), index);
        break;
      }
    break;
  case lsLastValues:
    // The item's series is the one its symbol stands for: the index-th
    // active legend series.
    if (TChartSeries *s = ActiveLegendSeries(index))
      text = LegendValueText(s, s->Count() - 1);
    break;
  }
  if (OnGetLegendText)
    CallOut([&] { OnGetLegendText(this, m_legend->ResolvedStyle(), index, text); });
  return text;
}

bool TCustomChart::IsColorUnused(TColor color, bool checkBackground) {
  if (!TCustomAxisPanel::IsColorUnused(color, checkBackground))
    return false;
  const TColor back = BackColor();
  return !(checkBackground && back != clTeeColor && ColorToRGB(color) == ColorToRGB(back));
}

void TCustomChart::ListSourceValueNames(TChartSeries *series,
                                        const std::function<void(const std::string &)> &callback) {
  auto *source = series != nullptr ? dynamic_cast<TChartSeries *>(series->DataSource()) : nullptr;
  if (source == nullptr || !callback)
    return;
  TChartValueLists &lists = source->AllValueLists();
  for (int t = 0; t < lists.Count(); ++t)
    callback(lists[t].Name());
}

// ---- layout -------------------------------------------------------------------------

void TCustomChart::LayoutAxes() {
  FitAxesToSeries();
  CalcDepthSizes();
  if (View3D() && View3DOptions().Orthogonal()) {
    const int wall = View3DWalls() ? m_backWall->Size() : 0;
    TRect r = PlotRect();
    r.Right -= DepthWidth() + wall;
    r.Top += wall + DepthHeight();
    SetPlotRect(r);
  }
  RecalcPlotRect();
  ReserveAxesRoom();
}

int TCustomChart::WallSizeForAxis(const TCustomChartAxis *axis) {
  if (!View3D() || !View3DWalls())
    return 0;
  if (axis == LeftAxis())
    return m_leftWall->Size();
  if (axis == BottomAxis())
    return m_bottomWall->Size();
  return 0;
}

// ---- walls --------------------------------------------------------------------------

void TCustomChart::PrepareWall(TChartWall &wall) {
  TChartCanvas3D &canvas = Canvas();
  canvas.AssignChartPen(wall.Pen());
  const TChartBrush &brush = wall.Brush();
  if (brush.Bitmap() != nullptr) {
    canvas.Brush() = brush.Brush();
    return;
  }
  if (wall.Color() == clTeeColor && brush.Style() == bsSolid) {
    canvas.Brush().Style = bsClear;
    return;
  }
  // Automatic colours stand for white faces and the panel behind hatches.
  const TColor color = wall.Color() == clTeeColor ? clWhite : wall.Color();
  const TColor back = brush.Color() == clTeeColor ? ColorToRGB(Color()) : brush.Color();
  SetBrushWithBackground(canvas, color, brush.Style(), back);
}

void TCustomChart::PaintWalls() {
  TChartCanvas3D &canvas = Canvas();
  const TRect p = PlotRect();
  const int depth = DepthWidth();
  const bool walls = View3DWalls();
  const int leftSize = m_leftWall->Size();
  const int bottomSize = m_bottomWall->Size();

  PrepareWall(*m_backWall);
  if (View3D()) {
    const int backSize = m_backWall->Size();
    if (!walls || backSize < 1)
      canvas.RectangleAtDepth(TRect(p.Left + 1, p.Top - 1, p.Right, p.Bottom), depth);
    else
      canvas.Box(p.Left - leftSize, p.Right, p.Top, p.Bottom + bottomSize, depth, depth + backSize,
                 m_backWall->Shaded());
  } else {
    canvas.Rectangle(p.Left, p.Top, p.Right + 1, p.Bottom);
  }

  if (m_backImageInside && !BackImage().isNull()) {
    TRect r = p;
    if (m_backWall->Pen().Visible()) {
      ++r.Top;
      --r.Bottom;
    }
    DrawBackImage(r, depth);
  }

  if (!View3D() || !walls)
    return;
  PrepareWall(*m_leftWall);
  if (leftSize < 1)
    canvas.RectangleInX(p.Left, p.Top, p.Bottom + bottomSize, 0, depth + 1);
  else
    canvas.Box(p.Left - leftSize, p.Left, p.Top, p.Bottom + bottomSize, 0, depth + 1,
               m_leftWall->Shaded());
  PrepareWall(*m_bottomWall);
  if (bottomSize < 1)
    canvas.RectangleInY(p.Left, p.Bottom, p.Right, 0, depth);
  else
    canvas.Box(p.Left, p.Right, p.Bottom, p.Bottom + bottomSize, 0, depth, m_bottomWall->Shaded());
}

void TCustomChart::DrawBackImageFull(const TRect &rect) {
  if (!m_backImageInside)
    TCustomAxisPanel::DrawBackImageFull(rect);
}

// ---- hit test -----------------------------------------------------------------------

ChartHit TCustomChart::HitTest(int x, int y) {
  ChartHit hit;
  for (int t = SeriesCount() - 1; t >= 0; --t) {
    TChartSeries *s = GetSeries(t);
    if (!s->Active())
      continue;
    const int index = s->PointAtPosition(x, y);
    if (index != -1) {
      hit.HitKind = SeriesPart;
      hit.HitSeries = s;
      hit.HitIndex = index;
      return hit;
    }
  }
  for (TCustomChartAxis *axis : Axes())
    if (axis->IsHitOnAxis(x, y)) {
      hit.HitKind = AxisPart;
      hit.HitAxis = axis;
      return hit;
    }
  if (m_title->IsHit(x, y)) {
    hit.HitKind = TitlePart;
    return hit;
  }
  if (m_foot->IsHit(x, y)) {
    hit.HitKind = FootPart;
    return hit;
  }
  if (PlotRect().Contains(TPoint(x, y)) && ActiveSeriesCount() > 0) {
    hit.HitKind = PlotPart;
    return hit;
  }
  if (m_legend->Visible()) {
    const int position = m_legend->LegendHitTest(x, y);
    if (position != -1) {
      hit.HitKind = LegendPart;
      hit.HitIndex = position;
    }
  }
  return hit;
}

// ---- output -------------------------------------------------------------------------

QImage TCustomChart::SaveToImage() { return SaveToImage(width(), height()); }

QImage TCustomChart::SaveToImage(int w, int h) {
  QImage image(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    TQPainterCanvas canvas(painter);
    DrawToCanvas(&canvas, TRect(0, 0, image.width(), image.height()));
  }
  return image;
}

bool TCustomChart::SaveToFile(const std::string &fileName) {
  const QString path = QString::fromStdString(fileName);
  QByteArray format = QFileInfo(path).suffix().toUpper().toLatin1();
  if (format.isEmpty())
    format = "PNG";
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!SaveToImage().save(&buffer, format.constData()))
    return false;
  std::string error;
  return SaveFileWhole(fileName, std::string_view(bytes.constData(), std::size_t(bytes.size())),
                       error);
}

// ---- copying ------------------------------------------------------------------------

void TCustomChart::Assign(const TCustomChart &s) {
  if (&s == this)
    return;
  m_backWall->Assign(*s.m_backWall);
  m_bottomWall->Assign(*s.m_bottomWall);
  m_leftWall->Assign(*s.m_leftWall);
  m_legend->Assign(*s.m_legend);
  m_title->Assign(*s.m_title);
  m_foot->Assign(*s.m_foot);
  SetBackImageInside(s.m_backImageInside);
  TCustomAxisPanel::Assign(s);
}
