#pragma once
// TdlgChart: the intraday chart window of one symbol, in its least form: the
// symbol's tick prices drawn as a plain line over the window. One window per
// symbol: ShowChartWindow finds an open one again by its symbol, restores
// and raises it, or makes a new one. Window thread only.
#include <QWidget>

#include <string>
#include <vector>

class TdlgChart : public QWidget {
  Q_OBJECT

public:
  explicit TdlgChart(QWidget *parent = nullptr);

  const std::string &Symbol() const { return m_symbol; }
  // Shows another symbol (caption and line).
  void SetSymbol(const std::string &symbol);
  // The symbol's last prices above 0, oldest first (empty when the store has
  // none or its tick list is busy).
  static std::vector<double> TickPrices(const std::string &symbol);

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  std::string m_symbol;
};

// The open chart window of symbol (letter case ignored),
// nullptr when none.
TdlgChart *FindChartWindow(const std::string &symbol);
// Finds the symbol's window (restored from minimised and brought to the
// front) or makes one (owned by nobody, freed when closed) and shows it.
TdlgChart *ShowChartWindow(const std::string &symbol);
