#pragma once
#include <array>
#include <string>

// The 45 quote fields of the grid. Their numbers name fields in views, the
// grid, printing and column alerts.
enum TGridField : int {
  gfSymbol = 0,
  gfBid = 1,
  gfAsk = 2,
  gfLast = 3,
  gfChange = 4,
  gfLow = 5,
  gfHigh = 6,
  gfVolume = 7,
  gfTick = 8,
  gfSeparator = 9,
  gfQuantity = 10,
  gfValue = 11,
  gfValueChange = 12,
  gfPaid = 13,
  gfGain = 14,
  gfChart = 15,
  gfBidSize = 16,
  gfAskSize = 17,
  gfLastVol = 18,
  gfTrades = 19,
  gfAvgTrade = 20,
  gfQuoteTime = 21,
  gfPrvCls = 22,
  gfOpen = 23,
  gfAvgVol = 24,
  gfLow52 = 25,
  gfHigh52 = 26,
  gfEarn = 27,
  gfPE = 28,
  gfMktCap = 29,
  gfDividend = 30,
  gfYield = 31,
  gfSpread = 32,
  gfRange = 33,
  gfCompanyName = 34,
  gfVolPct = 35,
  gfNote = 36,
  gfPctPort = 37,
  gfExchange = 38,
  gfValueChangeDollar = 39,
  gfValueChangePct = 40,
  gfGainDollar = 41,
  gfGainPct = 42,
  gfQuoteDate = 43,
  gfOpenInterest = 44,
};

constexpr int GridFieldCount = 45;

// Titles of one field in three lengths (the grid picks the longest that fits)
// and its view key.
struct TFieldTitles {
  const char *Long;
  const char *Medium;
  const char *Short;
  const char *ViewKey;
};

const std::array<TFieldTitles, GridFieldCount> &FieldTitleTables();

// Empty texts for a number outside 0..44.
std::string FieldLongTitle(int field);
std::string FieldMediumTitle(int field);
std::string FieldShortTitle(int field);
std::string FieldViewKey(int field);
// The field of a view key (letter case ignored), -1 when none.
int FieldByViewKey(const std::string &key);

// The optional fields a quote site may or may not provide (Tick and the five
// size and trade fields); a site lists the ones it provides by their view keys
// in upper case (TICKCOL ...).
constexpr std::array<int, 6> OptionalSiteFields = {gfTick,    gfBidSize, gfAskSize,
                                                   gfLastVol, gfTrades,  gfAvgTrade};
