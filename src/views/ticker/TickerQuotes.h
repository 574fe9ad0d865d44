#pragma once
// What the ticker shows for a symbol: the box texts made from its latest
// quote and news state.
#include "core/StockStore.h"
#include "views/ticker/StockBox.h"

#include <string>
#include <vector>

// The box texts for a quote: the price and the change as PriceToStr writes
// them (a rising change with "+"), the time of day of the quote, the
// direction of the change ("U", "D" or "" when unchanged). A symbol without a
// price shows "-" and no change.
TStockBoxInput TickerBoxInput(const std::string &symbol, const QuoteData &quote, bool showTime,
                              bool fractionDisplay, double displayTimeOffset);

// The box texts of a symbol from the market-data store, with a news bulb when
// the symbol has unread news (its time is the newest unread item's).
TStockBoxInput ReadTickerBoxInput(const std::string &symbol, bool showTime);

// The symbols of a ticker list "|A|B|" in order, empty fields skipped.
std::vector<std::string> TickerSymbolList(const std::string &symbols);
