#include "core/FieldTitles.h"

#include "platform/AsciiText.h"

#include <cctype>

namespace {

// Long, medium and short titles and the view key of each field, in field order.
const std::array<TFieldTitles, GridFieldCount> kTitles = {{
    {"Symbol", "Symb", "Sym", "SymCol"},
    {"Bid", "Bid", "Bid", "BidCol"},
    {"Ask", "Ask", "Ask", "AskCol"},
    {"Last", "Last", "Lst", "LastCol"},
    {"Change", "Chg", "Chg", "ChangeCol"},
    {"Low", "Low", "Lo", "LowCol"},
    {"High", "High", "Hi", "HighCol"},
    {"Volume", "Vol", "Vol", "VolumeCol"},
    {"Tick", "Tick", "Tk", "TickCol"},
    {"Separator", "Sep", "Sp", "SepCol"},
    {"Quantity", "Qty", "Qty", "QtyCol"},
    {"Value", "Value", "Val", "ValueCol"},
    {"Value Change", "Val Chg", "VCh", "ValChgCol"},
    {"Paid", "Paid", "Pd", "PaidCol"},
    {"Gain", "Gain", "Gn", "GainCol"},
    {"Chart", "Chart", "Ch", "ChartCol"},
    {"Bid Size", "BidSz", "BSz", "BidSizeCol"},
    {"Ask Size", "AskSz", "ASz", "AskSizeCol"},
    {"Last Vol", "LstVol", "LVl", "LastVolCol"},
    {"# trades", "Trades", "#Tr", "TradesCol"},
    {"Avg Trade", "AvgTrd", "ATr", "AvgTradeCol"},
    {"Quote Time", "Time", "Tm", "TimeCol"},
    {"Prv Cls", "PrvCls", "PC", "PrvClsCol"},
    {"Open", "Open", "Op", "OpenCol"},
    {"Avg Vol", "AvgVol", "AV", "AvgVolCol"},
    {"52w Low", "52Lo", "52L", "Low52Col"},
    {"52w High", "52Hi", "52H", "High52Col"},
    {"Earn", "Earn", "Ern", "EarnCol"},
    {"PE", "PE", "PE", "PECol"},
    {"Mkt Cap", "MktCap", "MC", "MktCapCol"},
    {"Dvdnd", "Div", "Dv", "DivCol"},
    {"Yield", "Yld", "Yd", "YieldCol"},
    {"Spread", "Sprd", "Spr", "SpreadCol"},
    {"Range", "Rng", "Rg", "RangeCol"},
    {"Company Name", "Company", "Co", "CompanyCol"},
    {"Vol %", "Vol%", "Vl%", "VolPctCol"},
    {"Note", "Note", "Nt", "NoteCol"},
    {"% Port", "%Port", "%P", "PctPortCol"},
    {"Exchange", "Exch", "Ex", "ExchCol"},
    {"Value Change $", "VChg $", "VC$", "ValChgDolCol"},
    {"Value Change %", "VChg %", "VC%", "ValChgPctCol"},
    {"Gain $", "Gain$", "G$", "GainDolCol"},
    {"Gain %", "Gain%", "G%", "GainPctCol"},
    {"Quote Date", "Date", "Dt", "DateCol"},
    {"Open Interest", "OpenInt", "OI", "OpenIntCol"},
}};

bool InRange(int field) { return field >= 0 && field < GridFieldCount; }

} // namespace

const std::array<TFieldTitles, GridFieldCount> &FieldTitleTables() { return kTitles; }

std::string FieldLongTitle(int field) { return InRange(field) ? kTitles[field].Long : ""; }
std::string FieldMediumTitle(int field) { return InRange(field) ? kTitles[field].Medium : ""; }
std::string FieldShortTitle(int field) { return InRange(field) ? kTitles[field].Short : ""; }
std::string FieldViewKey(int field) { return InRange(field) ? kTitles[field].ViewKey : ""; }

int FieldByViewKey(const std::string &key) {
  for (int f = 0; f < GridFieldCount; ++f) {
    const std::string k = kTitles[f].ViewKey;
    if (k.size() != key.size())
      continue;
    bool same = true;
    for (std::size_t i = 0; i < k.size() && same; ++i)
      same = SameAsciiLetter(k[i], key[i]);
    if (same)
      return f;
  }
  return -1;
}
