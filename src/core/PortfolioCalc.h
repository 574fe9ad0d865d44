#pragma once
// Portfolio valuation: the figures of one position and the per-group totals
// of a portfolio (docs/portfolio-totals.md gives the formulas).
#include "core/Portfolio.h"
#include "core/StockStore.h"

// The price a portfolio is valued at ("Calculate Portfolio Total Based On:").
enum TValuationPrice { vpLast = 0, vpBid = 1, vpAsk = 2 };

// The figures of one position for a quote.
struct PositionFigures {
  bool Counted = false; // adds to the totals: not a separator, value not 0
  bool Cash = false;
  double Price = 0;       // the valuation price (1.0 for cash)
  double Value = 0;       // V
  double Cost = 0;        // |quantity x price paid| + commission; the value for cash
  double ChangeValue = 0; // CV = change x quantity
  double PrevValue = 0;   // PV = V - CV
  double Gain = 0;        // G = V - cost
};

// valuation is a TValuationPrice (other values count as vpLast).
PositionFigures ComputePosition(const PortPosition &position, const QuoteData &quote,
                                int valuation);

// Recomputes every total of a portfolio from the store's quotes: the group
// totals 0..10, day low and high of the value, tick text and recalculation
// time (now). Takes the portfolio's own lock ("RCLC"); false when it could
// not be taken (totals unchanged).
bool RecalcPortfolioTotals(PortType &portfolio, int valuation, TDateTime now);

// RecalcPortfolioTotals for PortfolioList[index] (1-based) with the display
// settings' valuation price and the store's clock. The caller holds "PORT".
// False for an index outside the list.
bool RecalcPortfolio(int index);
