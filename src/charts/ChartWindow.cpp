#include "charts/ChartWindow.h"

#include "core/CriticalSection.h"
#include "core/SmallGraph.h"
#include "core/StockInfo.h"
#include "core/StockStore.h"
#include "platform/QPainterCanvas.h"
#include "platform/StringUtils.h"

#include <QApplication>
#include <QPainter>

namespace {
constexpr int kDefaultWidth = 480;
constexpr int kDefaultHeight = 300;
constexpr int kMargin = 8;
constexpr TColor kBack = 0x000000;
constexpr TColor kLine = 0x00FFFF;
} // namespace

TdlgChart::TdlgChart(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("dlgChart"));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(kDefaultWidth, kDefaultHeight);
}

void TdlgChart::SetSymbol(const std::string &symbol) {
  m_symbol = symbol;
  setWindowTitle(QString::fromStdString(symbol));
  update();
}

std::vector<double> TdlgChart::TickPrices(const std::string &symbol) {
  std::vector<double> prices;
  if (IsCashSymbol(symbol))
    return prices;
  StockInfoType *rec = FindStoreRecord(symbol);
  if (!rec)
    return prices;
  MyLockGuard ticks(rec->Ticks.LockObject(), "CHRT", true);
  if (!ticks.Owns())
    return prices;
  for (const TickEntry &t : rec->Ticks.Entries())
    if (t.Last > 0)
      prices.push_back(t.Last);
  return prices;
}

void TdlgChart::paintEvent(QPaintEvent *event) {
  (void)event;
  try {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(kBack));
    const TRect area(kMargin, kMargin, width() - kMargin, height() - kMargin);
    const std::vector<TPoint> points = SmallGraphPoints(TickPrices(m_symbol), area);
    painter.setPen(ToQColor(kLine));
    for (std::size_t i = 1; i < points.size(); ++i)
      painter.drawLine(points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y);
  } catch (...) {
    // A chart that can't be drawn stays blank.
  }
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
