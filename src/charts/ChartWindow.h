#pragma once
// TdlgChart: the intraday chart window of one symbol: its tick prices as a
// fast line against the tick times (a lone tick as a dot), in a flat chart
// titled with the symbol.
// A timer looks at the tick count and appends only the ticks that arrived
// since the last look. One window per symbol: ShowChartWindow finds an open
// one again by its symbol, restores and raises it, or makes a new one.
// Window thread only.
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QTimer;
class TChart;
class TFastLineSeries;

// One tick as the chart draws it.
struct ChartTick {
  double Time = 0; // TDateTime
  double Last = 0;
};

// The ticks of a symbol's tick list from index `from` on, copied under the
// list's lock. Count receives the list's size as read (0 without a record);
// Ok is false when a lock could not be taken (nothing read then).
// Ticks without a price (last 0 or below) are left out.
struct ChartTickRead {
  bool Ok = true;
  int Count = 0;
  std::vector<ChartTick> Ticks;
};
ChartTickRead ReadChartTicks(const std::string &symbol, int from);

class TdlgChart : public QWidget {
  Q_OBJECT

public:
  explicit TdlgChart(QWidget *parent = nullptr);
  ~TdlgChart() override;

  const std::string &Symbol() const { return m_symbol; }
  // Shows another symbol (caption, title and all of its ticks).
  void SetSymbol(const std::string &symbol);

  TChart *Chart1() const { return m_chart; }
  TFastLineSeries *Series1() const { return m_series.get(); }
  QTimer *Timer1() const { return m_timer; }

  // Appends the ticks that arrived since the last read; reads everything
  // again when the list got shorter (a new day).
  void Timer1Timer();

  // The refresh period in milliseconds; tests shorten it.
  static int RefreshIntervalMs;

private:
  void Reload();
  // A single tick shows as a dot: the line needs a second one.
  void DrawLoneTick();
  void AppendTicks(const std::vector<ChartTick> &ticks);

  std::string m_symbol;
  TChart *m_chart = nullptr; // child widget
  std::unique_ptr<TFastLineSeries> m_series;
  QTimer *m_timer = nullptr;
  int m_ticksRead = 0; // tick-list entries consumed so far
};

// The open chart window of symbol (letter case ignored),
// nullptr when none.
TdlgChart *FindChartWindow(const std::string &symbol);
// Finds the symbol's window (restored from minimised and brought to the
// front) or makes one (owned by nobody, freed when closed) and shows it.
TdlgChart *ShowChartWindow(const std::string &symbol);
