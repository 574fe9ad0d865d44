#include "charts/ChartWindow.h"

#include "chartengine/canvas/ChartCanvas3D.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/FastLineSeries.h"
#include "core/CriticalSection.h"
#include "core/Log.h"
#include "core/SingleToDouble.h"
#include "core/StockInfo.h"
#include "core/StockStore.h"
#include "platform/StringUtils.h"

#include <QApplication>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace {
constexpr int kDefaultWidth = 560;
constexpr int kDefaultHeight = 340;
// Room for a title, a few price and time labels and a plot worth looking at.
constexpr int kMinimumWidth = 320;
constexpr int kMinimumHeight = 200;
constexpr const char *kPriceFormat = "#,##0.00##";
constexpr TColor kLineColor = 0x00A00000; // dark blue
// A lone tick is drawn as a dot of this radius (a line needs two).
constexpr int kLoneTickRadius = 3;
} // namespace

int TdlgChart::RefreshIntervalMs = 2000;

ChartTickRead ReadChartTicks(const std::string &symbol, int from) {
  ChartTickRead read;
  if (IsCashSymbol(symbol) || symbol.empty())
    return read;
  StockInfoType *rec = nullptr;
  {
    MyLockGuard list(StockListLock, "CHRT", true);
    if (!list.Owns()) {
      read.Ok = false;
      return read;
    }
    rec = FindStoreRecord(symbol);
  }
  if (!rec)
    return read;
  if (from < 0)
    from = 0;
  // Nothing new: leave the tick list's lock alone.
  if (from > 0 && rec->Ticks.CountNoLock() == from) {
    read.Count = from;
    return read;
  }
  if (!rec->Ticks.Lock("CHRT")) {
    read.Ok = false;
    return read;
  }
  try {
    read.Count = rec->Ticks.Count();
    if (from < read.Count)
      read.Ticks.reserve(std::size_t(read.Count - from));
    for (int i = from; i < read.Count; ++i) {
      const TickEntry &t = rec->Ticks.Entry(i);
      if (t.Last > 0)
        read.Ticks.push_back(ChartTick{t.Time, SingleToDouble(t.Last)});
    }
  } catch (...) {
    rec->Ticks.Unlock();
    throw;
  }
  rec->Ticks.Unlock();
  return read;
}

TdlgChart::TdlgChart(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("dlgChart"));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(kDefaultWidth, kDefaultHeight);
  setMinimumSize(kMinimumWidth, kMinimumHeight);

  m_chart = new TChart(this);
  m_chart->setObjectName(QStringLiteral("Chart1"));
  m_chart->SetView3D(false);
  m_chart->Legend().SetVisible(false);
  m_chart->SetColor(clWhite);
  // The time labels are written by their step (seconds only when the step
  // is below a minute), so that no two of them read alike.
  m_chart->LeftAxis()->SetAxisValuesFormat(kPriceFormat);
  m_chart->OnAfterDraw = [this] { DrawLoneTick(); };

  m_series = std::make_unique<TFastLineSeries>();
  m_series->XValues().SetDateTime(true);
  m_series->SetSeriesColor(kLineColor);
  m_series->SetParentChart(m_chart);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_chart);

  m_timer = new QTimer(this);
  m_timer->setObjectName(QStringLiteral("Timer1"));
  m_timer->setInterval(RefreshIntervalMs);
  connect(m_timer, &QTimer::timeout, this, [this] { Timer1Timer(); });
  m_timer->start();
}

TdlgChart::~TdlgChart() {
  m_timer->stop();
  // The series leaves the chart before the chart (a child widget) goes.
  m_series.reset();
}

void TdlgChart::SetSymbol(const std::string &symbol) {
  m_symbol = symbol;
  setWindowTitle(QString::fromStdString(symbol));
  m_chart->Title().SetCaption(symbol);
  m_series->SetTitle(symbol);
  Reload();
}

void TdlgChart::Reload() {
  try {
    m_series->Clear();
    m_ticksRead = 0;
    const ChartTickRead read = ReadChartTicks(m_symbol, 0);
    if (!read.Ok)
      return; // the tick list is busy: the timer tries again
    m_ticksRead = read.Count;
    AppendTicks(read.Ticks);
  } catch (const std::exception &e) {
    WriteLog(std::string("Chart Reload Error: ") + e.what());
  }
}

void TdlgChart::Timer1Timer() {
  try {
    if (m_symbol.empty())
      return;
    const ChartTickRead read = ReadChartTicks(m_symbol, m_ticksRead);
    if (!read.Ok)
      return;
    if (read.Count < m_ticksRead) {
      Reload();
      return;
    }
    m_ticksRead = read.Count;
    AppendTicks(read.Ticks);
  } catch (const std::exception &e) {
    WriteLog(std::string("Chart Timer1Timer Error: ") + e.what());
  } catch (...) {
    WriteLog("Chart Timer1Timer Error");
  }
}

void TdlgChart::DrawLoneTick() {
  if (m_series->Count() != 1)
    return;
  TChartCanvas3D &canvas = m_chart->Canvas();
  const int x = m_series->PointScreenX(0);
  const int y = m_series->PointScreenY(0);
  canvas.Pen() = TPen{m_series->SeriesColor(), 1, psSolid};
  canvas.Brush() = TBrush{m_series->SeriesColor(), bsSolid, nullptr};
  canvas.Ellipse(x - kLoneTickRadius, y - kLoneTickRadius, x + kLoneTickRadius + 1,
                 y + kLoneTickRadius + 1);
}

void TdlgChart::AppendTicks(const std::vector<ChartTick> &ticks) {
  for (const ChartTick &t : ticks)
    m_series->AppendPoint(t.Time, t.Last);
}

TdlgChart *FindChartWindow(const std::string &symbol) {
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    auto *chart = qobject_cast<TdlgChart *>(*it);
    if (chart && SameText(chart->Symbol(), symbol))
      return chart;
  }
  return nullptr;
}

TdlgChart *ShowChartWindow(const std::string &symbol) {
  TdlgChart *chart = FindChartWindow(symbol);
  if (chart) {
    chart->setWindowState(chart->windowState() & ~Qt::WindowMinimized);
    chart->show();
    chart->raise();
    chart->activateWindow();
    return chart;
  }
  chart = new TdlgChart();
  chart->SetSymbol(symbol);
  chart->show();
  return chart;
}
