#include "views/stockgrid/CellTexts.h"

#include "core/PortfolioCalc.h"
#include "core/PriceText.h"
#include "views/stockgrid/CellTextsFormat.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>

FieldMask AllFields() { return FieldMask().set(); }

TCellRowKind RowKindOfSymbol(const std::string &symbol) {
  if (!symbol.empty() && symbol.find_first_not_of('-') == std::string::npos)
    return rkSeparator;
  if (IsCashSymbol(symbol))
    return rkCash;
  return rkStock;
}

GroupTotals GroupTotalsOf(const PortType &p, int group) {
  GroupTotals t;
  if (group < 0 || group >= PortGroupCount)
    return t;
  const auto g = std::size_t(group);
  t.Value = p.Value[g];
  t.PctBase = p.PctBase[g];
  t.PrevValue = p.PrevValue[g];
  t.ValueChange = p.ValueChange[g];
  t.ValueChangePct = p.ValueChangePct[g];
  t.Gain = p.Gain[g];
  t.GainPct = p.GainPct[g];
  t.PaidTotal = p.PaidTotal[g];
  return t;
}

bool ShowsPortfolioTotals(int gridKind, bool watchMode) {
  return !watchMode && (gridKind == 1 || gridKind == 3);
}

bool TotalRowShown(const GroupTotals &whole) { return whole.PaidTotal != 0 || whole.Value != 0; }

namespace {

constexpr std::size_t MaxCellTextLength = 255;

// The cash row shows only these fields; the others read "-".
bool ShownOnCashRow(int field) {
  return field == gfSymbol || field == gfValue || field == gfNote || field == gfPctPort;
}

// Log labels of the quote fields' blocks.
std::string QuoteFieldLabel(int field) {
  switch (field) {
  case gfQuoteTime:
    return "STGRID Mark 5 ";
  case gfQuoteDate:
    return "STGRID Mark 5.2 ";
  case gfBid:
    return "STGRID Mark 6 ";
  case gfAsk:
    return "STGRID Mark 7 ";
  case gfLast:
    return "STGRID Mark 8 ";
  case gfHigh:
    return "STGRID Mark 9 ";
  default:
    return "STGRID Mark 10." + std::to_string(field) + " ";
  }
}

const char *const PositionLabel = "SGSHOWERROR: ";
const char *const TotalsLabel = "PORT SHOW PROBLEM: ";

std::string PositionFieldLabel(int) { return PositionLabel; }

// Writes the fields of one row into a CellTexts; a field whose text throws
// keeps its cell and leaves a log line.
class RowWriter {
public:
  RowWriter(const CellTextInputs &in, CellTexts &out) : m_in(in), m_out(out) {}

  using Label = std::string (*)(int field);

  // Computes a visible field's text; the label names its block in the log.
  template <class Make> void Field(int field, Label label, Make &&make) {
    if (!m_in.Visible.test(std::size_t(field)))
      return;
    try {
      m_out.Text[std::size_t(field)] = make();
      m_out.Set.set(std::size_t(field));
    } catch (const std::exception &e) {
      m_out.Errors.push_back(label(field) + e.what());
    } catch (...) {
      m_out.Errors.push_back(label(field) + "unknown error");
    }
  }
  void Put(int field, const std::string &text) {
    Field(field, PositionFieldLabel, [&] { return text; });
  }
  void Empty(std::initializer_list<int> fields) {
    for (int f : fields)
      Put(f, "");
  }
  void EmptyAll() {
    for (int f = 0; f < GridFieldCount; ++f)
      Put(f, "");
  }

private:
  const CellTextInputs &m_in;
  CellTexts &m_out;
};

// "x.xx%" of a percentage, "--" when it cannot be shown.
std::string PercentText(double percent) {
  if (!std::isfinite(percent))
    return FailedText;
  return PercentNumberText(percent) + "%";
}

// The percentage of a subtotal or total: "zeroText" when it is 0, signed.
std::string TotalPercentText(double percent, const char *zeroText) {
  return SignedText(percent == 0 ? std::string(zeroText) : PercentText(percent));
}

// A subtotal amount; "-" when it cannot be formatted.
std::string TotalAmount(double value) {
  return std::isfinite(value) ? WholeNumberText(value) : std::string(NoDataText);
}

std::string PaidTotalText(double paid) {
  return paid == 0 ? std::string(NoDataText) : SubtotalAmountText(paid);
}

std::string TickMark(bool highBidAsk, char mark) {
  if (!highBidAsk)
    return "";
  return mark == 'U' ? ">" : mark == 'D' ? "<" : "";
}

std::string ChangeText(double change, bool fractions) {
  if (change == 0)
    return NoDataText;
  if (!std::isfinite(change))
    return FailedText;
  const std::string t = PriceToStr(change, fractions);
  if (t.empty() || t == "-")
    return t;
  if (t[0] == '-')
    return "- " + t.substr(1);
  return "+ " + t;
}

std::string PriceOrNoData(double value, bool fractions) {
  return value == 0 ? std::string(NoDataText) : PriceCellText(value, fractions);
}

std::string WholeOrNoData(double value) {
  return value == 0 ? std::string(NoDataText) : WholeNumberText(value);
}

std::string ShortPriceOrNoData(double value) {
  return value == 0 ? std::string(NoDataText) : ShortPriceText(value);
}

std::string CountText(std::int32_t value) {
  return value == 0 || value == -1 ? std::string(NoDataText) : std::to_string(value);
}

// A price of 0 is one never given: no change is known without both the
// last price and the previous close.
bool ChangeKnown(const QuoteData &q) { return q.Last != 0 && q.PrevClose != 0; }

// The day's price change in percent of the previous close ("x.xx%"); "--"
// when it cannot be computed (no last price or previous close, a failed
// division).
std::string PriceChangePercent(const QuoteData &q) {
  if (!ChangeKnown(q) || q.Last == q.Change)
    return FailedText;
  double r = 0;
  if (!Percentage(q.Change, q.Last - q.Change, r))
    return FailedText;
  return PercentText(r);
}

void MarketFields(RowWriter &w, const CellTextInputs &in) {
  const QuoteData &q = in.Quote;
  const FundData &fund = in.Fund;
  const bool fr = in.Settings.Fractions;
  const double offset = in.Settings.SiteOffset;
  const auto field = [&](int f, auto &&make) { w.Field(f, QuoteFieldLabel, make); };

  // A price of 0 was never given (no quote yet, or a feed without it): "-".
  field(gfBid, [&] {
    if (q.Bid == 0)
      return std::string(NoDataText);
    return TickMark(in.Settings.HighBidAsk, q.BidMark) + PriceCellText(q.Bid, fr);
  });
  field(gfAsk, [&] {
    if (q.Ask == 0)
      return std::string(NoDataText);
    return TickMark(in.Settings.HighBidAsk, q.AskMark) + PriceCellText(q.Ask, fr);
  });
  field(gfLast, [&] {
    if (q.Last == 0)
      return std::string(NoDataText);
    const std::string t = PriceCellText(q.Last, fr);
    if (q.High == q.Last && q.High != 0 && q.High != q.Low)
      return ">" + t;
    if (q.Low == q.Last && q.Low != 0 && q.High != q.Low)
      return "<" + t;
    return t;
  });
  field(gfChange,
        [&] { return ChangeKnown(q) ? ChangeText(q.Change, fr) : std::string(NoDataText); });
  field(gfLow, [&] {
    if (q.Low == 0)
      return std::string(NoDataText);
    const std::string t = PriceCellText(q.Low, fr);
    return q.Low == q.Last && q.Low != q.High ? "<" + t : t;
  });
  field(gfHigh, [&] {
    if (q.High == 0)
      return std::string(NoDataText);
    const std::string t = PriceCellText(q.High, fr);
    return q.High == q.Last && q.High != q.Low ? ">" + t : t;
  });
  field(gfVolume, [&] { return WholeOrNoData(q.Volume); });
  field(gfTick, [&] { return q.TickText; });
  field(gfSeparator, [&] { return std::string(); });
  field(gfBidSize, [&] { return CountText(q.BidSize); });
  field(gfAskSize, [&] { return CountText(q.AskSize); });
  field(gfLastVol, [&] { return CountText(q.LastVolume); });
  field(gfTrades, [&] { return CountText(q.NumTrades); });
  field(gfAvgTrade, [&] { return CountText(q.AvgTrade); });
  field(gfOpenInterest, [&] { return CountText(q.OpenInterest); });
  // A quote time of 0 is no quote (a real one carries its day).
  field(gfQuoteTime,
        [&] { return q.QuoteTime == 0 ? std::string() : QuoteTimeText(q.QuoteTime, offset); });
  field(gfPrvCls, [&] { return PriceOrNoData(fund.PrevClose, fr); });
  field(gfOpen, [&] { return PriceOrNoData(fund.Open, fr); });
  field(gfAvgVol, [&] { return WholeOrNoData(fund.AvgVolume); });
  field(gfLow52, [&] { return PriceOrNoData(fund.Low52, fr); });
  field(gfHigh52, [&] { return PriceOrNoData(fund.High52, fr); });
  field(gfEarn, [&] { return ShortPriceOrNoData(fund.Earnings); });
  field(gfPE, [&] { return ShortPriceOrNoData(fund.PE); });
  field(gfDividend, [&] { return ShortPriceOrNoData(fund.Dividend); });
  field(gfYield, [&] { return ShortPriceOrNoData(fund.Yield); });
  field(gfMktCap, [&] { return fund.MarketCap; });
  field(gfCompanyName, [&] { return fund.CompanyName; });
  field(gfExchange, [&] { return fund.Exchange; });
  field(gfSpread, [&] {
    return q.Ask == 0 || q.Bid == 0 ? std::string(NoDataText) : PriceCellText(q.Ask - q.Bid, fr);
  });
  field(gfRange, [&] {
    return q.High == 0 || q.Low == 0 ? std::string(NoDataText) : PriceCellText(q.High - q.Low, fr);
  });
  field(gfVolPct, [&] {
    if (fund.AvgVolume == 0)
      return std::string(NoDataText);
    double r = 0;
    return Percentage(q.Volume, fund.AvgVolume, r) ? WholeNumberText(r) : std::string(FailedText);
  });
  field(gfQuoteDate, [&] { return QuoteDateText(q.QuoteTime, offset); });
}

void WatchFields(RowWriter &w, const CellTextInputs &in) {
  // Without a price there is nothing to show; without a previous close no
  // change can be computed.
  const std::string percent =
      in.Quote.Last == 0 ? std::string(NoDataText) : SignedText(PriceChangePercent(in.Quote));
  w.Put(gfValueChange, percent);
  w.Put(gfValueChangeDollar, FailedText);
  w.Put(gfValueChangePct, WithoutPercent(percent));
}

void PositionFields(RowWriter &w, const CellTextInputs &in) {
  if (!in.HasPosition) {
    w.Empty({gfNote, gfQuantity, gfValue, gfPctPort, gfValueChange, gfValueChangeDollar,
             gfValueChangePct, gfPaid, gfGain, gfGainDollar, gfGainPct});
    return;
  }
  const PortPosition &pos = in.Position;
  const QuoteData &q = in.Quote;
  w.Put(gfNote, pos.Note);
  w.Put(gfQuantity, ShortPriceText(pos.Quantity));

  const PositionFigures f = ComputePosition(pos, q, in.Settings.ValuationPrice);
  const double v = f.Value;
  // No price, no value: "-" rather than a value of 0.
  w.Put(gfValue, f.Price == 0 ? std::string(NoDataText) : WholeNumberText(v));
  w.Put(gfPctPort, ShareText(v, in.Whole.PctBase));
  if (f.Cash) {
    for (int field : {gfValueChange, gfValueChangeDollar, gfValueChangePct, gfPaid, gfGain,
                      gfGainDollar, gfGainPct})
      w.Put(field, NoDataText);
    return;
  }

  std::string percent, amount;
  if (v == 0) {
    percent = PriceChangePercent(q);
    amount = FailedText;
  } else if (!ChangeKnown(q)) {
    percent = amount = FailedText;
  } else {
    double r = 0;
    if (Percentage(f.ChangeValue, f.PrevValue, r)) {
      percent = PercentText(r);
      amount = WholeNumberText(f.ChangeValue);
    } else {
      percent = amount = FailedText;
    }
  }
  percent = SignedText(percent);
  w.Put(gfValueChangePct, WithoutPercent(percent));
  w.Put(gfValueChangeDollar, SignedText(amount));
  w.Put(gfValueChange, percent + " " + amount);

  w.Put(gfPaid, AlignPriceText(pos.PaidText, in.Settings.Fractions));

  std::string gainPercent = FailedText, gainAmount = FailedText;
  double g = 0;
  if (v != 0 && Percentage(f.Gain, f.Cost, g)) {
    gainPercent = SignedText(PercentText(g));
    gainAmount = WholeNumberText(f.Gain);
  }
  w.Put(gfGain, gainPercent + " " + gainAmount);
  w.Put(gfGainPct, WithoutPercent(gainPercent));
  w.Put(gfGainDollar, SignedText(gainAmount));
}

void SeparatorFields(RowWriter &w, const CellTextInputs &in) {
  // Every field is emptied, so no text of a row that stood here before stays.
  w.EmptyAll();
  if (!ShowsPortfolioTotals(in.GridKind, in.WatchMode))
    return;
  const GroupTotals &t = in.Group;
  if (t.Value == 0)
    return;
  w.Put(gfValue, TotalAmount(t.Value));
  w.Put(gfPrvCls, TotalAmount(t.PrevValue));
  w.Put(gfPaid, PaidTotalText(t.PaidTotal));
  const std::string percent = TotalPercentText(t.ValueChangePct, NoDataText);
  w.Put(gfValueChangePct, WithoutPercent(percent));
  w.Put(gfValueChange, percent + " " + TotalAmount(t.ValueChange));
  w.Put(gfValueChangeDollar, SignedText(TotalAmount(t.ValueChange)));
  const std::string gainPercent = TotalPercentText(t.GainPct, NoDataText);
  w.Put(gfGainPct, WithoutPercent(gainPercent));
  w.Put(gfGainDollar, SignedText(TotalAmount(t.Gain)));
  w.Put(gfGain, gainPercent + " " + SignedText(TotalAmount(t.Gain)));
}

void TotalFields(RowWriter &w, const CellTextInputs &in, CellTexts &out) {
  const GroupTotals &t = in.Whole;
  w.Empty({gfBid,         gfAsk,      gfLast,    gfChange,   gfVolume,       gfSeparator,
           gfQuantity,    gfBidSize,  gfAskSize, gfSpread,   gfRange,        gfTrades,
           gfLastVol,     gfAvgTrade, gfOpen,    gfAvgVol,   gfLow52,        gfHigh52,
           gfEarn,        gfPE,       gfMktCap,  gfExchange, gfDividend,     gfYield,
           gfCompanyName, gfVolPct,   gfNote,    gfPctPort,  gfOpenInterest, gfQuoteDate});
  w.Put(gfQuoteTime, QuoteTimeText(in.RecalcTime, in.Settings.SiteOffset));
  w.Put(gfTick, in.PortTickText);
  w.Put(gfPaid, PaidTotalText(t.PaidTotal));
  if (t.Value == 0) {
    // Shown for its paid total while no position has a price: as a
    // subtotal without a value, the value's fields stay empty.
    w.Empty({gfValue, gfLow, gfHigh, gfPrvCls, gfValueChangeDollar, gfValueChangePct, gfValueChange,
             gfGain, gfGainPct, gfGainDollar});
    return;
  }
  w.Put(gfValue, TotalAmount(t.Value));
  out.AnnouncePortfolio = true;
  const bool moved = std::fabs(in.DayHigh - in.DayLow) > 0.1;
  const bool atLow = moved && std::fabs(t.Value - in.DayLow) < 0.1;
  const bool atHigh = moved && std::fabs(t.Value - in.DayHigh) < 0.1;
  w.Put(gfLow, (atLow ? "<" : "") + TotalAmount(in.DayLow));
  w.Put(gfHigh, (atHigh ? ">" : "") + TotalAmount(in.DayHigh));
  w.Put(gfPrvCls, TotalAmount(t.PrevValue));
  const std::string percent = TotalPercentText(t.ValueChangePct, NoDataText);
  w.Put(gfValueChangeDollar, SignedText(TotalAmount(t.ValueChange)));
  w.Put(gfValueChangePct, WithoutPercent(percent));
  w.Put(gfValueChange, percent + " " + TotalAmount(t.ValueChange));
  const std::string gainPercent = TotalPercentText(t.GainPct, FailedText);
  const std::string gainAmount = TotalAmount(t.Gain);
  w.Put(gfGain, gainPercent + " " + gainAmount);
  w.Put(gfGainPct, WithoutPercent(gainPercent));
  w.Put(gfGainDollar, SignedText(gainAmount));
}

} // namespace

CellTexts ComputeCellTexts(const CellTextInputs &in) {
  CellTexts out;
  try {
    RowWriter w(in, out);
    switch (in.Kind) {
    case rkSeparator:
      SeparatorFields(w, in);
      break;
    case rkTotal:
      TotalFields(w, in, out);
      break;
    case rkStock:
    case rkCash: {
      MarketFields(w, in);
      try {
        if (in.WatchMode)
          WatchFields(w, in);
        else
          PositionFields(w, in);
      } catch (const std::exception &e) {
        out.Errors.push_back(std::string(PositionLabel) + e.what());
      }
      if (in.Kind == rkCash) {
        for (int f = 0; f < GridFieldCount; ++f)
          if (out.Set.test(std::size_t(f)) && !ShownOnCashRow(f))
            out.Text[std::size_t(f)] = NoDataText;
      }
      break;
    }
    }
  } catch (const std::exception &e) {
    out.Errors.push_back(std::string(TotalsLabel) + e.what());
  } catch (...) {
    out.Errors.push_back(std::string(TotalsLabel) + "unknown error");
  }
  // The symbol column is always written.
  out.Text[gfSymbol] = in.Kind == rkSeparator ? std::string(NoDataText)
                       : in.Kind == rkTotal   ? std::string("TOTAL")
                                              : in.Symbol;
  out.Set.set(gfSymbol);
  for (std::string &t : out.Text)
    if (t.size() > MaxCellTextLength)
      t.resize(MaxCellTextLength);
  return out;
}

bool ShareValue(double value, double base, double &share) {
  return value != 0 && Percentage(value, base, share);
}

std::string ShareText(double value, double base) {
  double share = 0;
  return ShareValue(value, base, share) ? OneDecimalText(share) : std::string(FailedText);
}

ShareSource PortShareSource(const CellTextInputs &in) {
  ShareSource source;
  if ((in.Kind != rkStock && in.Kind != rkCash) || in.WatchMode || !in.Visible.test(gfPctPort))
    return source;
  try {
    if (in.HasPosition)
      source.Value = ComputePosition(in.Position, in.Quote, in.Settings.ValuationPrice).Value;
    source.HasPosition = in.HasPosition;
    source.Shown = true;
  } catch (...) {
  }
  return source;
}
