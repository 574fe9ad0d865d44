#include "BenchPortfolio.h"

#include "core/Portfolio.h"
#include "core/StockStore.h"
#include "platform/GridCellStore.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <cstdio>
#include <map>
#include <vector>

namespace {

QuoteFields SampleQuote(int i, double step) {
  QuoteFields q;
  q.Last = 25 + (i % 70) * 0.37 + step;
  q.Bid = q.Last - 0.01;
  q.Ask = q.Last + 0.01;
  q.PrevClose = q.Last - 0.5 + (i % 3) * 0.4;
  q.High = q.Last + 0.3;
  q.Low = q.Last - 0.6;
  q.Volume = 100000 + i * 37;
  q.BidSize = 3;
  q.AskSize = 5;
  q.LastVolume = 100;
  q.NumTrades = 1200 + i;
  q.AvgTrade = 250;
  q.QuoteTime = 0.55;
  q.DayStamp = 45301;
  return q;
}

} // namespace

std::string SampleSymbol(int i) {
  char symbol[16];
  std::snprintf(symbol, sizeof symbol, "S%04d", i);
  return symbol;
}

void MoveSampleQuote(int i, double step) { StoreQuote(SampleSymbol(i), SampleQuote(i, step)); }

int SamplePortfolio(int rows) {
  static std::map<int, int> made;
  if (const auto it = made.find(rows); it != made.end())
    return it->second;
  std::vector<PortPosition> positions;
  for (int i = 0; i < rows; ++i) {
    PortPosition p;
    if (i % 10 == 9) {
      p.Symbol = "-";
    } else {
      p.Symbol = SampleSymbol(i);
      p.Quantity = 10 + i % 90;
      p.PaidText = std::to_string(20 + i % 50);
      p.PricePaid = float(20 + i % 50);
      p.Commission = 4.95f;
      p.Note = "note";
      const QuoteFields q = SampleQuote(i, 0);
      StoreQuote(p.Symbol, q);
      FundData f;
      f.CompanyName = "Company " + p.Symbol;
      f.PrevClose = q.PrevClose;
      f.Open = q.Last - 0.2;
      f.AvgVolume = 90000;
      f.Low52 = q.Last * 0.7;
      f.High52 = q.Last * 1.3;
      f.PE = 18.5;
      f.Earnings = 1.45;
      f.MarketCap = "12.3B";
      f.Dividend = 0.8;
      f.Yield = 1.9;
      f.Exchange = "NYSE";
      StoreFundamentals(p.Symbol, f);
    }
    positions.push_back(p);
  }
  const int index =
      PortfolioList.Add("Bench " + std::to_string(rows), "BENCH" + std::to_string(rows), positions);
  made[rows] = index;
  return index;
}

TFillRequest SampleRequest(int index) {
  TFillRequest r;
  r.GridKind = gkPrintGrid;
  r.PortfolioIndex = index;
  for (int f = 0; f < GridFieldCount; ++f)
    r.ColPos[f] = f;
  for (const PortPosition &p : PortfolioList[index].Positions)
    r.Symbols.push_back(p.Symbol);
  return r;
}

std::vector<std::vector<std::string>> SampleGridTexts(int rows) {
  auto store = std::make_shared<TGridCellStore>(GridFieldCount, 2);
  auto link = std::make_shared<TFillLink>();
  link->FillRunning = true;
  TStoreFillSink sink(store, link);
  ExecuteFill(SampleRequest(SamplePortfolio(rows)), sink, *link);
  std::vector<std::vector<std::string>> texts;
  for (int r = 0; r < store->RowCount(); ++r)
    texts.push_back(store->RowTexts(r));
  return texts;
}
