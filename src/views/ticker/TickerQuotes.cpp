#include "views/ticker/TickerQuotes.h"

#include "core/DisplaySettings.h"
#include "core/NewsStore.h"
#include "core/PriceText.h"
#include "platform/Format.h"

TStockBoxInput TickerBoxInput(const std::string &symbol, const QuoteData &quote, bool showTime,
                              bool fractionDisplay, double displayTimeOffset) {
  TStockBoxInput in;
  in.Symbol = symbol;
  in.ShowTime = showTime;
  if (quote.Last == 0) {
    in.Price = "-";
    return in;
  }
  in.Price = PriceToStr(quote.Last, fractionDisplay);
  // Without a previous close there is no day's change to show, not a change of 0.
  if (quote.PrevClose == 0) {
    if (quote.QuoteTime > 0)
      in.Time = FormatDateTime("hh:nn:ss", quote.QuoteTime + displayTimeOffset);
    return in;
  }
  const std::string change = PriceToStr(quote.Change, fractionDisplay);
  if (change == "0") {
    in.Change = change;
  } else if (quote.Change > 0) {
    in.Change = "+" + change;
    in.Direction = "U";
  } else {
    in.Change = change;
    in.Direction = "D";
  }
  if (quote.QuoteTime > 0)
    in.Time = FormatDateTime("hh:nn:ss", quote.QuoteTime + displayTimeOffset);
  return in;
}

TStockBoxInput ReadTickerBoxInput(const std::string &symbol, bool showTime) {
  QuoteData quote;
  GetLast1(symbol, quote);
  const TDisplaySettings display = CurrentDisplaySettings();
  TStockBoxInput in =
      TickerBoxInput(symbol, quote, showTime, display.Fractions, display.DisplayTimeOffset);
  TDateTime lastCheck = 0, newestUnread = 0;
  if (GetNewNews(symbol, lastCheck, newestUnread) && newestUnread > 0) {
    in.Mark = true;
    in.MarkTime = newestUnread;
  }
  return in;
}

std::vector<std::string> TickerSymbolList(const std::string &symbols) {
  std::vector<std::string> out;
  std::string word;
  for (char c : symbols + "|") {
    if (c == '|') {
      if (!word.empty())
        out.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  return out;
}
