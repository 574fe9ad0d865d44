#include "chartengine/engine/CustomAxisPanel.h"

#include "chartengine/canvas/ChartCursors.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartAxis.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/ChartWalks.h"

#include <algorithm>
#include <cmath>

TAxisPanelSwitches &AxisPanelSwitches() {
  static TAxisPanelSwitches switches;
  return switches;
}

TCustomAxisPanel::TCustomAxisPanel(QWidget *parent)
    : TCustomChartPanelExtended(parent), m_legendColor(clTeeColor) {
  CreateStandardAxes();
}

TCustomAxisPanel::~TCustomAxisPanel() {
  m_destroying = true;
  RemoveAllSeries();
  // Axes that unregister while freed find the list empty.
  std::vector<TCustomChartAxis *> axes;
  axes.swap(m_axes);
  m_depthAxis = m_topAxis = m_bottomAxis = m_leftAxis = m_rightAxis = nullptr;
  for (TCustomChartAxis *axis : axes)
    delete axis;
}

// ---- series ------------------------------------------------------------------------

TChartSeries *TCustomAxisPanel::GetSeries(int index) const {
  if (index < 0 || index >= SeriesCount())
    return nullptr;
  return m_series[static_cast<std::size_t>(index)];
}

int TCustomAxisPanel::IndexOfSeries(const TChartSeries *series) const {
  const auto it = std::find(m_series.begin(), m_series.end(), series);
  return it == m_series.end() ? -1 : static_cast<int>(it - m_series.begin());
}

int TCustomAxisPanel::ActiveSeriesCount() const {
  return static_cast<int>(
      std::count_if(m_series.begin(), m_series.end(), [](TChartSeries *s) { return s->Active(); }));
}

TChartSeries *TCustomAxisPanel::ActiveLegendSeries(int index) const {
  if (index < 0)
    return nullptr;
  for (TChartSeries *s : m_series)
    if (s->Active() && s->ShowInLegend() && index-- == 0)
      return s;
  return nullptr;
}

void TCustomAxisPanel::AddSeries(TChartSeries *series) {
  if (series == nullptr || IndexOfSeries(series) >= 0)
    return;
  if (series->ParentChart() != this) {
    // The series leaves its former chart and comes back here.
    series->SetParentChart(this);
    return;
  }
  if (series->SeriesColor() == clTeeColor)
    series->SetSeriesColor(FreeSeriesColor());
  if (series->Designing() && series->SeriesFunction() == nullptr)
    series->FillSampleValues(series->SamplePointCount());
  TChartChanges::Note();
  m_series.push_back(series);
  RepaintChart();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries *series) {
  const int index = IndexOfSeries(series);
  if (index < 0)
    return;
  if (series->ParentChart() == this) {
    // The series leaves and unlists itself through this call again.
    series->SetParentChart(nullptr);
    return;
  }
  TChartChanges::Note();
  m_series.erase(m_series.begin() + index);
  for (TSeriesWalk *walk : m_walks)
    std::replace(walk->Series.begin(), walk->Series.end(), series,
                 static_cast<TChartSeries *>(nullptr));
  if (m_destroying)
    return;
  if (m_cursor == series->Cursor())
    RestoreCursor();
  RepaintChart();
}

void TCustomAxisPanel::RemoveAllSeries() {
  while (!m_series.empty())
    RemoveSeries(m_series.front());
}

TColor TCustomAxisPanel::FreeSeriesColor() {
  for (int t = 0; t < SeriesPaletteSize; ++t)
    if (IsColorUnused(SeriesPaletteColor(t), true))
      return SeriesPaletteColor(t);
  return SeriesPaletteColor(SeriesPaletteSize);
}

bool TCustomAxisPanel::IsColorUnused(TColor color, bool checkBackground) {
  for (TChartSeries *s : m_series)
    if (s->SeriesColor() == color)
      return false;
  return !(checkBackground && ColorToRGB(color) == ColorToRGB(Color()));
}

void TCustomAxisPanel::GetChildren(const std::function<void(TChartSeries *)> &proc) const {
  for (TChartSeries *s : m_series)
    proc(s);
}

// ---- axes -------------------------------------------------------------------------

void TCustomAxisPanel::CreateStandardAxes() {
  // Listed in this order: the depth axis first, then top, bottom, left, right.
  m_depthAxis = new TChartDepthAxis(this);
  AddAxis(m_depthAxis);
  m_topAxis = new TChartAxis(this, true, true);
  AddAxis(m_topAxis);
  m_bottomAxis = new TChartAxis(this, true, false);
  AddAxis(m_bottomAxis);
  m_leftAxis = new TChartAxis(this, false, false);
  AddAxis(m_leftAxis);
  m_rightAxis = new TChartAxis(this, false, true);
  AddAxis(m_rightAxis);
}

void TCustomAxisPanel::SetTopAxis(const TCustomChartAxis &value) { m_topAxis->Assign(value); }
void TCustomAxisPanel::SetBottomAxis(const TCustomChartAxis &value) { m_bottomAxis->Assign(value); }
void TCustomAxisPanel::SetLeftAxis(const TCustomChartAxis &value) { m_leftAxis->Assign(value); }
void TCustomAxisPanel::SetRightAxis(const TCustomChartAxis &value) { m_rightAxis->Assign(value); }
void TCustomAxisPanel::SetDepthAxis(const TCustomChartAxis &value) { m_depthAxis->Assign(value); }

void TCustomAxisPanel::AddAxis(TCustomChartAxis *axis) {
  if (axis != nullptr && std::find(m_axes.begin(), m_axes.end(), axis) == m_axes.end()) {
    TChartChanges::Note();
    m_axes.push_back(axis);
  }
}

void TCustomAxisPanel::RemoveAxis(TCustomChartAxis *axis) {
  const auto it = std::find(m_axes.begin(), m_axes.end(), axis);
  if (it != m_axes.end()) {
    TChartChanges::Note();
    m_axes.erase(it);
  }
}

TChartSeries *TCustomAxisPanel::FirstSeriesOnAxis(const TCustomChartAxis *axis) const {
  for (TChartSeries *s : m_series)
    if (s->Active() && s->IsOnAxis(axis))
      return s;
  return nullptr;
}

double TCustomAxisPanel::LargestX(TCustomChartAxis *axis) {
  return AxisRange(axis, true, RangeEnd::Largest);
}
double TCustomAxisPanel::LargestY(TCustomChartAxis *axis) {
  return AxisRange(axis, false, RangeEnd::Largest);
}
double TCustomAxisPanel::SmallestX(TCustomChartAxis *axis) {
  return AxisRange(axis, true, RangeEnd::Smallest);
}
double TCustomAxisPanel::SmallestY(TCustomChartAxis *axis) {
  return AxisRange(axis, false, RangeEnd::Smallest);
}

double TCustomAxisPanel::AxisRange(TCustomChartAxis *axis, bool isX, RangeEnd end) {
  if (axis == nullptr)
    return 0.0;
  const bool smallest = end == RangeEnd::Smallest;
  if (axis->IsDepth()) {
    if (axis->ResolveLabelStyle() == talValue) {
      for (TChartSeries *s : m_series)
        if (s->Active())
          return smallest ? s->SmallestZ() : s->LargestZ();
      return 0.0;
    }
    return smallest ? -0.5 : m_deepestIndex + 0.5;
  }

  TChartSeries *first = FirstSeriesOnAxis(axis);
  const bool paging =
      m_maxPointsPerPage > 0 && first != nullptr && first->MainIsY() == isX && first->Count() > 0;
  if (paging) {
    // One page of the first series' ordering values.
    const int per = m_maxPointsPerPage;
    const int count = first->Count();
    long long firstIndex = static_cast<long long>(m_page - 1) * per;
    if (count <= firstIndex)
      firstIndex = static_cast<long long>(std::max(0, count / per - 1)) * per;
    long long lastIndex = firstIndex + per - 1;
    if (count <= lastIndex)
      lastIndex = count % per + firstIndex - 1;
    const TChartValueList &list = isX ? first->XValues() : first->YValues();
    // Values that are no numbers are no points: the page ends at the first
    // and last numbers on it (0 .. 0 for a page without any).
    long long low = firstIndex;
    while (low <= lastIndex && !std::isfinite(list.Value(static_cast<int>(low))))
      ++low;
    long long high = lastIndex;
    while (high > low && !std::isfinite(list.Value(static_cast<int>(high))))
      --high;
    if (low > lastIndex)
      return 0.0;
    const double min = list.Value(static_cast<int>(low));
    double max = list.Value(static_cast<int>(high));
    const long long onPage = lastIndex - firstIndex + 1;
    // The last page keeps the spacing of a full one.
    if (!m_scaleLastPage && onPage < per)
      max = min + (max - min) * per / static_cast<double>(onPage);
    return smallest ? min : max;
  }

  bool any = false;
  double result = 0.0;
  for (TChartSeries *s : m_series) {
    // A series with nothing to draw adds nothing to its axes.
    if (!s->Active() || !s->HasDrawnPoints())
      continue;
    const bool onAxis = isX ? (s->HorizAxis() == aBothHorizAxis || s->HorizAxisObject() == axis)
                            : (s->VertAxis() == aBothVertAxis || s->VertAxisObject() == axis);
    if (!onAxis)
      continue;
    const double v = isX ? (smallest ? s->SmallestX() : s->LargestX())
                         : (smallest ? s->SmallestY() : s->LargestY());
    if (!any)
      result = v;
    else
      result = smallest ? std::min(result, v) : std::max(result, v);
    any = true;
  }
  return result;
}

bool TCustomAxisPanel::IsAxisVisible(const TCustomChartAxis *axis) const {
  if (axis == nullptr || !m_axisVisible || !axis->Visible())
    return false;
  if (axis->IsDepth())
    return View3D();
  bool anyWithAxes = false;
  for (TChartSeries *s : m_series) {
    if (!s->Active() || !s->HasAxes())
      continue;
    anyWithAxes = true;
    if (s->IsOnAxis(axis))
      return true;
  }
  return !anyWithAxes;
}

// ---- paging -------------------------------------------------------------------------

int TCustomAxisPanel::PageCount() const {
  if (m_maxPointsPerPage <= 0 || m_series.empty())
    return 1;
  const bool horizontal = m_series.front()->MainIsY();
  auto pagesOn = [&](const TCustomChartAxis *axis) {
    int largest = 0;
    for (TChartSeries *s : m_series)
      if (s->Active() && s->IsOnAxis(axis))
        largest = std::max(largest, s->Count());
    if (largest < 1)
      return 1;
    return (largest + m_maxPointsPerPage - 1) / m_maxPointsPerPage;
  };
  if (horizontal)
    return std::max(pagesOn(BottomAxis()), pagesOn(TopAxis()));
  return std::max(pagesOn(LeftAxis()), pagesOn(RightAxis()));
}

void TCustomAxisPanel::SetPage(int value) {
  value = std::max(1, std::min(value, PageCount()));
  if (value == m_page)
    return;
  m_page = value;
  RepaintChart();
  if (OnPageChange)
    OnPageChange();
}

void TCustomAxisPanel::SetMaxPointsPerPage(int value) {
  if (value < 0)
    throw ChartException(ChartText(ctMaxPointsPerPage));
  if (value != m_maxPointsPerPage) {
    m_maxPointsPerPage = value;
    RepaintChart();
  }
  if (m_page > PageCount())
    SetPage(PageCount());
}

// ---- data sources ---------------------------------------------------------------------

bool TCustomAxisPanel::CanBeDataSource(TChartSeries *series, TChartComponent *component) {
  if (component == nullptr || component == series)
    return false;
  auto *source = dynamic_cast<TChartSeries *>(component);
  return source != nullptr && series->CanTakeSourceFrom(source);
}

void TCustomAxisPanel::RefreshFromSource(TChartSeries *series) {
  if (series == nullptr || series->Loading())
    return;
  if (auto *source = dynamic_cast<TChartSeries *>(series->DataSource()))
    series->CopyPointsFrom(*source);
}

void TCustomAxisPanel::SeriesSourceRemoved(TChartSeries *, TChartComponent *) {}

// ---- texts and sizes --------------------------------------------------------------------

std::string TCustomAxisPanel::LegendSeriesTitle(int index) const {
  const TChartSeries *s = ActiveLegendSeries(index);
  if (s == nullptr)
    return {};
  if (!s->Title().empty())
    return s->Title();
  if (!s->Name().empty())
    return s->Name();
  return "Series " + std::to_string(index);
}

std::string TCustomAxisPanel::SeriesTitleAtDepth(int depthIndex) const {
  for (TChartSeries *s : m_series) {
    if (!s->Active() || s->DepthIndex() != depthIndex)
      continue;
    if (!s->Title().empty())
      return s->Title();
    return s->Name();
  }
  return {};
}

int TCustomAxisPanel::WidestSeriesTitle() {
  int widest = 0;
  TChartCanvas3D &canvas = Canvas();
  for (TChartSeries *s : m_series) {
    if (!s->Active())
      continue;
    for (int t = 0; t < s->Count(); ++t) {
      const std::string label = s->PointLabel(t);
      if (!label.empty())
        widest = std::max(widest, canvas.TextWidth(label));
    }
  }
  return widest;
}

int TCustomAxisPanel::WidestMark() {
  int widest = 0;
  TChartCanvas3D &canvas = Canvas();
  // A mark-text handler that frees, removes or empties a series starts the
  // walk over on the series left.
  RunWalk([&] {
    widest = 0;
    for (std::size_t u = 0; u < m_series.size(); ++u) {
      TChartSeries *s = m_series[u];
      if (!s->Active())
        continue;
      for (int t = 0; t < s->Count(); ++t)
        widest = std::max(widest, canvas.TextWidth(s->MarkText(t)));
    }
  });
  return widest;
}

// ---- cursor ---------------------------------------------------------------------------

void TCustomAxisPanel::SetCursor(int value) {
  if (m_cursor == value)
    return;
  m_cursor = value;
  setCursor(ChartCursorShape(value));
}

void TCustomAxisPanel::Loaded() {
  TCustomChartPanelExtended::Loaded();
  m_savedCursor = m_cursor;
}

// ---- copying ----------------------------------------------------------------------------

void TCustomAxisPanel::Assign(const TCustomAxisPanel &s) {
  if (&s == this)
    return;
  SetAxisVisible(s.m_axisVisible);
  const TCustomChartAxis *from[] = {s.TopAxis(), s.BottomAxis(), s.LeftAxis(), s.RightAxis(),
                                    s.DepthAxis()};
  TCustomChartAxis *to[] = {TopAxis(), BottomAxis(), LeftAxis(), RightAxis(), DepthAxis()};
  for (int t = 0; t < 5; ++t)
    if (from[t] != nullptr && to[t] != nullptr)
      to[t]->Assign(*from[t]);
  SetClipPoints(s.m_clipPoints);
  SetMaxPointsPerPage(s.m_maxPointsPerPage);
  SetPage(s.m_page);
  SetScaleLastPage(s.m_scaleLastPage);
  SetView3DWalls(s.m_view3DWalls);
  TCustomChartPanelExtended::Assign(s);
}
