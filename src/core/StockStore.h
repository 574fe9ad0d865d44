#pragma once
// The market-data store: one StockInfoType per symbol, found through the
// symbol index StockList, with its ticks and news. Look-ups take the
// stock-list lock "STLIST"; copying a record's quote takes its tick-list lock.
//
// A store key is a symbol or "|" followed by a store index. An index of -1
// (an unknown symbol, "$CASH") never makes a key: use StoreKey(), which falls
// back to the symbol. A "|" key outside the store counts as an unknown symbol.
#include "core/CriticalSection.h"
#include "core/MyStrList.h"
#include "platform/DateTime.h"

#include <cstdint>
#include <string>

// The global symbol index and its lock "STLIST".
extern TMyStrList StockList;
extern MyCriticalSection StockListLock;

constexpr const char *CashSymbol = "$CASH";
// True for "$CASH" (letter case ignored).
bool IsCashSymbol(const std::string &symbol);

// "|" + index for a valid index, else the symbol itself.
std::string StoreKey(int index, const std::string &symbol);
// The record a key names (nullptr when none); index receives its store
// index or -1.
StockInfoType *FindStoreRecord(const std::string &key, int *index = nullptr);

// ---- Reading quotes -----------------------------------------------------------

// A quote as the grid and the alerts read it.
struct QuoteData {
  std::string TickText = "-"; // up to 10 characters
  double Bid = 0;
  double Ask = 0;
  double Last = 0;
  double Volume = 0;
  double High = 0;
  double Low = 0;
  double PrevClose = 0;
  double Change = 0; // last minus previous close
  TDateTime QuoteTime = 0;
  std::int32_t BidSize = 0;
  std::int32_t AskSize = 0;
  std::int32_t LastVolume = 0;
  std::int32_t NumTrades = 0;
  std::int32_t AvgTrade = 0;
  char BidMark = 0; // 'U', 'D' or 0
  char AskMark = 0;
  std::int32_t OpenInterest = 0;
  friend bool operator==(const QuoteData &, const QuoteData &) = default;
};

// The latest quote of a symbol (or "|" + index). Returns the store index or -1.
// - "$CASH": prices 1.0, volume and change 0, quote time now, result -1;
// - no record: zeros, tick text "-", result -1;
// - no quote yet (quote time -1.0): zeros, tick text "-", result the index;
// - otherwise the record's values; the quote time is 0 while the tick list is
//   empty, else the day stamp's date plus the quote's time of day.
// A price of 0 is a price never given: the change is 0 (none) unless both
// the last price and the previous close are known.
int GetLast1(const std::string &symbol, QuoteData &quote);
int GetLast1(const std::string &symbol, std::string &tickText, double &bid, double &ask,
             double &last, double &volume, double &high, double &low, double &prevClose,
             double &change, TDateTime &quoteTime, std::int32_t &bidSize, std::int32_t &askSize,
             std::int32_t &lastVolume, std::int32_t &numTrades, std::int32_t &avgTrade,
             char &bidMark, char &askMark, std::int32_t &openInterest);

// Which record a reader copied and at which stamp (StockInfoType::Stamp).
// While StoreUnchanged says so, what the reader copied from it (quote,
// ticks, fundamentals) is still what the record holds. Record is null when
// the reader found none (no record, "$CASH"): nothing to go by.
struct StoreSighting {
  const StockInfoType *Record = nullptr;
  std::uint64_t Stamp = 0;
  std::uint64_t Epoch = 0;
};
bool StoreUnchanged(const StoreSighting &seen);
// GetLast1 that also gives the sighting of the record it read.
int GetLast1(const std::string &symbol, QuoteData &quote, StoreSighting &seen);

// The symbol's last price, 0 when none.
double GetLastPrice(const std::string &symbol);

// ---- Fundamentals ---------------------------------------------------------------

struct FundData {
  std::string CompanyName; // up to 20 characters
  double PrevClose = 0;
  double Open = 0;
  double AvgVolume = 0;
  double Low52 = 0;
  double High52 = 0;
  double PE = 0;
  double Earnings = 0;
  std::string MarketCap; // up to 8 characters
  double Dividend = 0;
  double Yield = 0;
  std::string Exchange; // up to 10 characters
  friend bool operator==(const FundData &, const FundData &) = default;
};

// Copies the fundamentals of a key's record; zeros and empty texts (and
// false) when there is none.
bool GetFund(const std::string &key, FundData &fund);
void GetFund(const std::string &key, std::string &companyName, double &prevClose, double &open,
             double &avgVolume, double &low52, double &high52, double &pe, double &earnings,
             std::string &marketCap, double &dividend, double &yield, std::string &exchange);

// One line of fundamentals, e.g. "Apple Inc (NASDAQ)  P/E 28.4  Yield 0.55
// Mkt Cap 2.9T"; parts without data are left out; "" without a record.
std::string GetFundText(const std::string &symbol);

// ---- Kinds ------------------------------------------------------------------------

// True when the symbol's record has kind 'P' (a portfolio's totals).
bool IsKindPSymbol(const std::string &symbol);
// True for a stock: by its record's kind when known, else by its characters
// (letters, digits, ".", "-", "/" starting with a letter or digit, and not an
// index symbol). "$CASH", "TOTAL" and separator lines are not stocks.
bool IsStockSymbol(const std::string &symbol);

// ---- Writing --------------------------------------------------------------------

// The parts of an incoming quote a feed may leave out (QuoteFields::Given).
enum TQuotePart : std::uint32_t {
  qpLast = 1u << 0,
  qpBid = 1u << 1,
  qpAsk = 1u << 2,
  qpVolume = 1u << 3,
  qpHigh = 1u << 4,
  qpLow = 1u << 5,
  qpPrevClose = 1u << 6,
  qpBidSize = 1u << 7,
  qpAskSize = 1u << 8,
};
inline constexpr std::uint32_t AllQuoteParts = (1u << 9) - 1;

// The fundamentals a feed may leave out (StoreFundamentals' given).
enum TFundPart : std::uint32_t {
  fpCompanyName = 1u << 0,
  fpPrevClose = 1u << 1,
  fpOpen = 1u << 2,
  fpAvgVolume = 1u << 3,
  fpLow52 = 1u << 4,
  fpHigh52 = 1u << 5,
  fpPE = 1u << 6,
  fpEarnings = 1u << 7,
  fpMarketCap = 1u << 8,
  fpDividend = 1u << 9,
  fpYield = 1u << 10,
  fpExchange = 1u << 11,
};
inline constexpr std::uint32_t AllFundParts = (1u << 12) - 1;

// One incoming quote.
struct QuoteFields {
  char Kind = KindStock;
  double Last = 0;
  double Bid = 0;
  double Ask = 0;
  TDateTime QuoteTime = 0; // only the time of day is kept; below 0: now
  double Volume = 0;
  double High = 0;
  double Low = 0;
  double PrevClose = 0;
  std::int32_t BidSize = 0;
  std::int32_t AskSize = 0;
  std::int32_t LastVolume = 0;
  std::int32_t AvgTrade = 0;
  std::int32_t NumTrades = 0;
  std::int32_t OpenInterest = 0;
  std::string TickText;   // "" keeps the record's tick text
  TDateTime DayStamp = 0; // the quote's day; 0: today in market time
  bool AddTick = true;    // append a tick to the tick list
  // The TQuotePart fields this quote gives; the others keep the record's
  // value (0 on a new record).
  std::uint32_t Given = AllQuoteParts;
};

// Stores a quote into the symbol's record (created when new): the quote
// fields, the bid and ask marks (direction of the change against the stored
// bid and ask), the day stamp and a tick. Returns the store index, -1 for an
// empty symbol or when a lock could not be taken (logged). The caller marks
// the updated-symbol sets.
int StoreQuote(const std::string &symbol, const QuoteFields &fields);

// Stores the fundamentals of a symbol (record created when new); texts are
// cut to their maximum lengths. Only the TFundPart fields in given are
// stored; the others keep the record's value.
int StoreFundamentals(const std::string &symbol, const FundData &fund,
                      std::uint32_t given = AllFundParts);

// Stores a snapshot (the grid stores a portfolio's totals this way: its key,
// kind 'P', tick text "-", value, value change and change percent, the
// recalculation time, volume -1 for single-price mode). A negative volume
// sets bid and ask to the price. The snapshot's time becomes the quote time
// and day stamp, the previous close is price minus change, the day's high
// and low follow the price, and a tick is appended. Returns the store index.
int AddSnap(const std::string &symbol, char kind, const std::string &tickText, double price,
            double change, double changePercent, TDateTime time, double volume);

// Drops every record and read-news number. Only for tests.
void ResetStockStore();
// Changes when ResetStockStore drops the records: a record pointer kept from
// an earlier epoch must not be used.
std::uint64_t StoreEpoch();

// The clock the store stamps quotes with: EasternNow() (market time).
TDateTime StoreNow();
