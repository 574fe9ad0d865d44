#include "core/StockStore.h"
#include "core/SingleToDouble.h"

#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "core/NewsStore.h"
#include "core/PriceText.h"
#include "platform/AsciiText.h"
#include "platform/StringUtils.h"

#include <cctype>
#include <charconv>
#include <exception>

TMyStrList StockList;
MyCriticalSection StockListLock("STLIST");

namespace {
std::atomic<std::uint64_t> g_storeEpoch{1};
} // namespace

namespace {

void Log(const std::string &text) {
  if (LoggingOn)
    WriteLog(text, 0);
}

// Finds or creates a record under the stock-list lock.
StockInfoType *AddRecord(const std::string &symbol, const char *tag, int &index) {
  index = -1;
  MyLockGuard guard(StockListLock, tag, false);
  if (!guard.Owns())
    return nullptr;
  index = StockList.Add(symbol);
  return StockList.Objects(index);
}

char Direction(double now, double before) {
  if (now > before)
    return 'U';
  if (now < before)
    return 'D';
  return 0;
}

} // namespace

TDateTime StoreNow() { return EasternNow(); }

std::uint64_t StoreEpoch() { return g_storeEpoch.load(std::memory_order_acquire); }

bool IsCashSymbol(const std::string &symbol) { return SameText(symbol, CashSymbol); }

std::string StoreKey(int index, const std::string &symbol) {
  if (index >= 0 && index < StockList.Count())
    return "|" + std::to_string(index);
  return symbol;
}

StockInfoType *FindStoreRecord(const std::string &key, int *index) {
  int found = -1;
  if (!key.empty() && key[0] == '|') {
    const char *first = key.data() + 1;
    const char *last = key.data() + key.size();
    int n = -1;
    auto [end, ec] = std::from_chars(first, last, n);
    if (ec == std::errc() && end == last && first != last && n >= 0 && n < StockList.Count())
      found = n;
  } else {
    found = StockList.IndexOf(key);
  }
  if (index)
    *index = found;
  return found >= 0 ? StockList.Objects(found) : nullptr;
}

// ---- GetLast1 -------------------------------------------------------------------

bool StoreUnchanged(const StoreSighting &seen) {
  return seen.Record && seen.Epoch == StoreEpoch() &&
         seen.Record->Stamp.load(std::memory_order_acquire) == seen.Stamp;
}

int GetLast1(const std::string &symbol, QuoteData &q) {
  StoreSighting seen;
  return GetLast1(symbol, q, seen);
}

int GetLast1(const std::string &symbol, QuoteData &q, StoreSighting &seen) {
  q = QuoteData();
  seen = StoreSighting();
  try {
    if (IsCashSymbol(symbol)) {
      q.Bid = q.Ask = q.Last = q.High = q.Low = q.PrevClose = 1.0;
      q.QuoteTime = StoreNow();
      return -1;
    }

    int index = -1;
    StockInfoType *rec = nullptr;
    const std::uint64_t epoch = StoreEpoch();
    {
      MyLockGuard guard(StockListLock, "GLAST", false);
      if (!guard.Owns()) {
        Log("GetLast1 Error: stock list lock not taken for " + symbol);
        return -1;
      }
      rec = FindStoreRecord(symbol, &index);
    }
    if (!rec)
      return -1;

    MyLockGuard ticks(rec->Ticks.LockObject(), "GLST", true);
    if (!ticks.Owns()) {
      Log("GetLast2 Error: tick list lock not taken for " + rec->Symbol);
      return index;
    }
    // Writers change the stamp under this lock: it matches what is copied.
    seen = StoreSighting{rec, rec->Stamp.load(std::memory_order_acquire), epoch};
    try {
      if (rec->QuoteTime == -1.0)
        return index;
      q.Last = SingleToDouble(rec->Last);
      q.Bid = SingleToDouble(rec->Bid);
      q.Ask = SingleToDouble(rec->Ask);
      q.Volume = SingleToDouble(rec->Volume);
      q.High = SingleToDouble(rec->High);
      q.Low = SingleToDouble(rec->Low);
      q.PrevClose = SingleToDouble(rec->PrevClose);
      // No change against a price that was never given.
      q.Change = q.Last != 0 && q.PrevClose != 0 ? q.Last - q.PrevClose : 0;
      q.BidMark = rec->BidMark;
      q.AskMark = rec->AskMark;
      q.TickText = CutTo(rec->TickText, 10);
      q.BidSize = rec->BidSize;
      q.AskSize = rec->AskSize;
      q.LastVolume = rec->LastVolume;
      q.NumTrades = rec->NumTrades;
      q.AvgTrade = rec->AvgTrade;
      q.OpenInterest = rec->OpenInterest;
      q.QuoteTime = rec->Ticks.Count() == 0 ? 0.0 : DateOf(rec->DayStamp) + TimeOf(rec->QuoteTime);
    } catch (const std::exception &e) {
      Log(std::string("GetLast4 Error: ") + e.what());
      q = QuoteData();
      seen = StoreSighting();
    }
    return index;
  } catch (const std::exception &e) {
    q = QuoteData();
    seen = StoreSighting();
    ShowErrorReport(e.what(), "GetLast Error");
    return -1;
  }
}

int GetLast1(const std::string &symbol, std::string &tickText, double &bid, double &ask,
             double &last, double &volume, double &high, double &low, double &prevClose,
             double &change, TDateTime &quoteTime, std::int32_t &bidSize, std::int32_t &askSize,
             std::int32_t &lastVolume, std::int32_t &numTrades, std::int32_t &avgTrade,
             char &bidMark, char &askMark, std::int32_t &openInterest) {
  QuoteData q;
  const int index = GetLast1(symbol, q);
  tickText = q.TickText;
  bid = q.Bid;
  ask = q.Ask;
  last = q.Last;
  volume = q.Volume;
  high = q.High;
  low = q.Low;
  prevClose = q.PrevClose;
  change = q.Change;
  quoteTime = q.QuoteTime;
  bidSize = q.BidSize;
  askSize = q.AskSize;
  lastVolume = q.LastVolume;
  numTrades = q.NumTrades;
  avgTrade = q.AvgTrade;
  bidMark = q.BidMark;
  askMark = q.AskMark;
  openInterest = q.OpenInterest;
  return index;
}

double GetLastPrice(const std::string &symbol) {
  QuoteData q;
  GetLast1(symbol, q);
  return q.Last;
}

// ---- Fundamentals ---------------------------------------------------------------

bool GetFund(const std::string &key, FundData &f) {
  f = FundData();
  StockInfoType *rec = nullptr;
  {
    MyLockGuard guard(StockListLock, "GFND", false);
    if (!guard.Owns()) {
      Log("GetFund Error: stock list lock not taken for " + key);
      return false;
    }
    rec = FindStoreRecord(key);
  }
  if (!rec)
    return false;
  MyLockGuard ticks(rec->Ticks.LockObject(), "GFND", true);
  if (!ticks.Owns()) {
    Log("GetFund Error: tick list lock not taken for " + rec->Symbol);
    return false;
  }
  f.CompanyName = rec->CompanyName;
  f.PrevClose = SingleToDouble(rec->FundPrevClose);
  f.Open = SingleToDouble(rec->Open);
  f.AvgVolume = SingleToDouble(rec->AvgVolume);
  f.Low52 = SingleToDouble(rec->Low52);
  f.High52 = SingleToDouble(rec->High52);
  f.PE = SingleToDouble(rec->PE);
  f.Earnings = SingleToDouble(rec->Earnings);
  f.MarketCap = rec->MarketCap;
  f.Dividend = SingleToDouble(rec->Dividend);
  f.Yield = SingleToDouble(rec->Yield);
  f.Exchange = rec->Exchange;
  return true;
}

void GetFund(const std::string &key, std::string &companyName, double &prevClose, double &open,
             double &avgVolume, double &low52, double &high52, double &pe, double &earnings,
             std::string &marketCap, double &dividend, double &yield, std::string &exchange) {
  FundData f;
  GetFund(key, f);
  companyName = f.CompanyName;
  prevClose = f.PrevClose;
  open = f.Open;
  avgVolume = f.AvgVolume;
  low52 = f.Low52;
  high52 = f.High52;
  pe = f.PE;
  earnings = f.Earnings;
  marketCap = f.MarketCap;
  dividend = f.Dividend;
  yield = f.Yield;
  exchange = f.Exchange;
}

std::string GetFundText(const std::string &symbol) {
  FundData f;
  if (!GetFund(symbol, f))
    return {};
  std::string text = f.CompanyName;
  auto add = [&text](const std::string &part) {
    if (!text.empty())
      text += "  ";
    text += part;
  };
  if (!f.Exchange.empty()) {
    if (text.empty())
      text = "(" + f.Exchange + ")";
    else
      text += " (" + f.Exchange + ")";
  }
  if (f.PE != 0)
    add("P/E " + FormatPrice(f.PE));
  if (f.Earnings != 0)
    add("EPS " + FormatPrice(f.Earnings));
  if (f.Dividend != 0)
    add("Div " + FormatPrice(f.Dividend));
  if (f.Yield != 0)
    add("Yield " + FormatPrice(f.Yield));
  if (f.Low52 != 0 || f.High52 != 0)
    add("52w " + FormatPrice(f.Low52) + "-" + FormatPrice(f.High52));
  if (!f.MarketCap.empty())
    add("Mkt Cap " + f.MarketCap);
  return text;
}

// ---- Kinds ------------------------------------------------------------------------

bool IsKindPSymbol(const std::string &symbol) {
  StockInfoType *rec = StockList.Find(symbol);
  if (!rec)
    return false;
  MyLockGuard ticks(rec->Ticks.LockObject(), "KINDP", true);
  return ticks.Owns() && rec->Kind == KindPortfolio;
}

bool IsStockSymbol(const std::string &symbol) {
  if (symbol.empty() || IsCashSymbol(symbol) || SameText(symbol, "TOTAL"))
    return false;
  if (symbol.find_first_not_of('-') == std::string::npos)
    return false;
  if (StockInfoType *rec = StockList.Find(symbol)) {
    MyLockGuard ticks(rec->Ticks.LockObject(), "KINDS", true);
    if (ticks.Owns() && rec->Kind != KindUnknown)
      return rec->Kind == KindStock;
  }
  if (!IsAsciiLetterOrDigit(symbol[0]))
    return false;
  for (char c : symbol) {
    if (!IsAsciiLetterOrDigit(c) && c != '.' && c != '-' && c != '/')
      return false;
  }
  const std::string padded = " " + UpperCase(IndexSymbolsText()) + " ";
  return padded.find(" " + UpperCase(symbol) + " ") == std::string::npos;
}

// ---- Writing --------------------------------------------------------------------

int StoreQuote(const std::string &symbol, const QuoteFields &in) {
  int index = -1;
  StockInfoType *rec = AddRecord(symbol, "ADD", index);
  if (!rec) {
    if (!TMyStrList::KeyOf(symbol).empty())
      Log("StoreQuote Error: stock list lock not taken for " + symbol);
    return -1;
  }
  MyLockGuard ticks(rec->Ticks.LockObject(), "STQ", false);
  if (!ticks.Owns()) {
    Log("StoreQuote Error: tick list lock not taken for " + rec->Symbol);
    return -1;
  }
  const bool hadQuote = rec->QuoteTime != -1.0;
  // A part the quote does not give keeps what the record holds.
  const auto given = [&in](std::uint32_t part) { return (in.Given & part) != 0; };
  rec->BidMark = hadQuote && given(qpBid) ? Direction(in.Bid, rec->Bid) : 0;
  rec->AskMark = hadQuote && given(qpAsk) ? Direction(in.Ask, rec->Ask) : 0;
  const TDateTime now = StoreNow();
  const TDateTime time = in.QuoteTime < 0 ? TimeOf(now) : TimeOf(in.QuoteTime);
  rec->Kind = in.Kind;
  if (given(qpLast))
    rec->Last = float(in.Last);
  if (given(qpBid))
    rec->Bid = float(in.Bid);
  if (given(qpAsk))
    rec->Ask = float(in.Ask);
  rec->QuoteTime = time;
  if (given(qpVolume))
    rec->Volume = float(in.Volume);
  if (given(qpHigh))
    rec->High = float(in.High);
  if (given(qpLow))
    rec->Low = float(in.Low);
  if (given(qpPrevClose))
    rec->PrevClose = float(in.PrevClose);
  if (given(qpBidSize))
    rec->BidSize = in.BidSize;
  if (given(qpAskSize))
    rec->AskSize = in.AskSize;
  rec->LastVolume = in.LastVolume;
  rec->AvgTrade = in.AvgTrade;
  rec->NumTrades = in.NumTrades;
  rec->OpenInterest = in.OpenInterest;
  if (!in.TickText.empty())
    rec->TickText = CutTo(in.TickText, 1);
  rec->DayStamp = DateOf(in.DayStamp != 0 ? in.DayStamp : now);
  if (in.AddTick)
    rec->Ticks.Add(TickEntry{rec->Last, rec->Ask, rec->Bid, rec->DayStamp + time, rec->Volume});
  rec->Stamp.store(NewRecordStamp(), std::memory_order_release);
  return index;
}

int StoreFundamentals(const std::string &symbol, const FundData &f, std::uint32_t given) {
  int index = -1;
  StockInfoType *rec = AddRecord(symbol, "ADDF", index);
  if (!rec)
    return -1;
  MyLockGuard ticks(rec->Ticks.LockObject(), "STF", false);
  if (!ticks.Owns()) {
    Log("StoreFundamentals Error: tick list lock not taken for " + rec->Symbol);
    return -1;
  }
  const auto has = [given](std::uint32_t part) { return (given & part) != 0; };
  if (has(fpCompanyName))
    rec->CompanyName = CutTo(f.CompanyName, CompanyNameMaxLength);
  if (has(fpPrevClose))
    rec->FundPrevClose = float(f.PrevClose);
  if (has(fpOpen))
    rec->Open = float(f.Open);
  if (has(fpAvgVolume))
    rec->AvgVolume = float(f.AvgVolume);
  if (has(fpLow52))
    rec->Low52 = float(f.Low52);
  if (has(fpHigh52))
    rec->High52 = float(f.High52);
  if (has(fpPE))
    rec->PE = float(f.PE);
  if (has(fpEarnings))
    rec->Earnings = float(f.Earnings);
  if (has(fpMarketCap))
    rec->MarketCap = CutTo(f.MarketCap, MarketCapMaxLength);
  if (has(fpDividend))
    rec->Dividend = float(f.Dividend);
  if (has(fpYield))
    rec->Yield = float(f.Yield);
  if (has(fpExchange))
    rec->Exchange = CutTo(f.Exchange, ExchangeMaxLength);
  rec->Stamp.store(NewRecordStamp(), std::memory_order_release);
  return index;
}

int AddSnap(const std::string &symbol, char kind, const std::string &tickText, double price,
            double change, double /*changePercent*/, TDateTime time, double volume) {
  int index = -1;
  StockInfoType *rec = AddRecord(symbol, "SNAP", index);
  if (!rec)
    return -1;
  MyLockGuard ticks(rec->Ticks.LockObject(), "SNAP", false);
  if (!ticks.Owns()) {
    Log("AddSnap Error: tick list lock not taken for " + rec->Symbol);
    return -1;
  }
  const bool sameDay = rec->QuoteTime != -1.0 && DateOf(rec->DayStamp) == DateOf(time);
  const float p = float(price);
  rec->Kind = kind;
  if (!tickText.empty())
    rec->TickText = CutTo(tickText, 1);
  if (volume < 0) {
    rec->BidMark = rec->AskMark = 0;
    rec->Bid = rec->Ask = p;
    rec->Volume = 0;
  } else {
    rec->Volume = float(volume);
  }
  rec->Last = p;
  rec->PrevClose = float(price - change);
  rec->High = sameDay && rec->High > p ? rec->High : p;
  rec->Low = sameDay && rec->Low < p && rec->Low != 0 ? rec->Low : p;
  rec->QuoteTime = TimeOf(time);
  rec->DayStamp = DateOf(time);
  rec->Ticks.Add(TickEntry{p, rec->Ask, rec->Bid, time, rec->Volume});
  rec->Stamp.store(NewRecordStamp(), std::memory_order_release);
  return index;
}

void ResetStockStore() {
  MyLockGuard guard(StockListLock, "RESET", false);
  g_storeEpoch.fetch_add(1, std::memory_order_acq_rel);
  StockList.ClearAll();
  ResetNewsStore();
}
