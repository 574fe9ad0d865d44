#include "views/stockgrid/CellTexts.h"
#include "views/stockgrid/CellTextsFormat.h"
#include "views/stockgrid/RowInputs.h"

#include "acquisition/HTTPSite.h"
#include "core/PortfolioCalc.h"
#include "core/PriceText.h"
#include "core/StoreTestSupport.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <iomanip>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

using Texts = std::map<int, std::string>;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr TDateTime Jan10 = 45301; // 1/10/2024

// A stock row with a quote of last 12.5, previous close 12, stamped 1/10/2024 10:30.
CellTextInputs Stock() {
  CellTextInputs in;
  in.Kind = rkStock;
  in.Symbol = "ACME";
  in.Quote.TickText = "U";
  in.Quote.Last = 12.5;
  in.Quote.Bid = 12.25;
  in.Quote.Ask = 12.75;
  in.Quote.High = 13;
  in.Quote.Low = 11;
  in.Quote.PrevClose = 12;
  in.Quote.Change = 0.5;
  in.Quote.Volume = 1234567;
  in.Quote.QuoteTime = Jan10 + 10.5 / 24;
  in.Fund.PrevClose = 12;
  in.Fund.Open = 11.5;
  in.Fund.AvgVolume = 1000000;
  return in;
}

// A position of 100 bought at 10 with 9.95 commission; % Port base 5000.
CellTextInputs Position() {
  CellTextInputs in = Stock();
  in.HasPosition = true;
  in.Position.Symbol = "ACME";
  in.Position.Quantity = 100;
  in.Position.PaidText = "10";
  in.Position.PricePaid = 10;
  in.Position.Commission = 9.95f;
  in.Position.Note = "core holding";
  in.Whole.PctBase = 5000;
  return in;
}

struct TextCase {
  const char *name;
  std::function<CellTextInputs()> make;
  Texts expected;
};

void PrintTo(const TextCase &c, std::ostream *os) { *os << c.name; }

class CellTextTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(CellTextTable, FieldsReadAsExpected) {
  const TextCase &c = GetParam();
  const CellTexts out = ComputeCellTexts(c.make());
  EXPECT_TRUE(out.Errors.empty());
  for (const auto &[field, text] : c.expected) {
    EXPECT_TRUE(out.Has(field)) << "field " << field << " not written";
    EXPECT_EQ(out.Text[std::size_t(field)], text) << "field " << field;
  }
}

// ---- Quote fields -------------------------------------------------------------

template <class F> std::function<CellTextInputs()> StockWith(F change) {
  return [change] {
    CellTextInputs in = Stock();
    change(in);
    return in;
  };
}

const TextCase QuoteCases[] = {
    {"plain_quote",
     Stock,
     {{gfSymbol, "ACME"},
      {gfBid, "  12.25"},
      {gfAsk, "  12.75"},
      {gfLast, "  12.5"},
      {gfChange, "+ 0.5"},
      {gfLow, "  11"},
      {gfHigh, "  13"},
      {gfVolume, "1,234,567"},
      {gfTick, "U"},
      {gfSeparator, ""},
      {gfSpread, "    0.5"},
      {gfRange, "    2"},
      {gfQuoteTime, "10:30:00"},
      {gfQuoteDate, "1/10/2024"},
      {gfPrvCls, "  12"},
      {gfOpen, "  11.5"},
      {gfAvgVol, "1,000,000"},
      {gfVolPct, "123"}}},
    {"no_quote_yet",
     StockWith([](CellTextInputs &in) {
       in.Quote = QuoteData();
       in.Fund = FundData();
     }),
     {{gfBid, "-"},          {gfAsk, "-"},       {gfLast, "-"},
      {gfSpread, "-"},       {gfRange, "-"},     {gfChange, "-"},
      {gfLow, "-"},          {gfHigh, "-"},      {gfVolume, "-"},
      {gfTick, "-"},         {gfBidSize, "-"},   {gfAskSize, "-"},
      {gfLastVol, "-"},      {gfTrades, "-"},    {gfAvgTrade, "-"},
      {gfOpenInterest, "-"}, {gfQuoteDate, ""},  {gfQuoteTime, ""},
      {gfPrvCls, "-"},       {gfOpen, "-"},      {gfAvgVol, "-"},
      {gfLow52, "-"},        {gfHigh52, "-"},    {gfEarn, "-"},
      {gfPE, "-"},           {gfDividend, "-"},  {gfYield, "-"},
      {gfVolPct, "-"},       {gfMktCap, ""},     {gfCompanyName, ""},
      {gfExchange, ""}}},
    {"last_at_high",
     StockWith([](CellTextInputs &in) { in.Quote.High = 12.5; }),
     {{gfLast, ">  12.5"}, {gfHigh, ">  12.5"}, {gfLow, "  11"}}},
    {"last_at_low",
     StockWith([](CellTextInputs &in) { in.Quote.Low = 12.5; }),
     {{gfLast, "<  12.5"}, {gfLow, "<  12.5"}, {gfHigh, "  13"}}},
    {"high_equals_low_no_marks",
     StockWith([](CellTextInputs &in) {
       in.Quote.High = 12.5;
       in.Quote.Low = 12.5;
     }),
     {{gfLast, "  12.5"}, {gfLow, "  12.5"}, {gfHigh, "  12.5"}, {gfRange, "    0"}}},
    {"last_zero_low_zero_no_mark",
     StockWith([](CellTextInputs &in) {
       in.Quote.Last = 0;
       in.Quote.Low = 0;
     }),
     {{gfLast, "-"}, {gfLow, "-"}, {gfChange, "-"}}},
    {"negative_change",
     StockWith([](CellTextInputs &in) { in.Quote.Change = -0.25; }),
     {{gfChange, "- 0.25"}}},
    {"fraction_prices",
     StockWith([](CellTextInputs &in) { in.Settings.Fractions = true; }),
     {{gfLast, "  12 1/2"}, {gfBid, "  12 1/4"}, {gfChange, "+ 0 1/2"}, {gfLow, "  11"}}},
    {"dynamic_marks_on",
     StockWith([](CellTextInputs &in) {
       in.Settings.HighBidAsk = true;
       in.Quote.BidMark = 'U';
       in.Quote.AskMark = 'D';
     }),
     {{gfBid, ">  12.25"}, {gfAsk, "<  12.75"}}},
    {"dynamic_marks_off",
     StockWith([](CellTextInputs &in) {
       in.Quote.BidMark = 'U';
       in.Quote.AskMark = 'D';
     }),
     {{gfBid, "  12.25"}, {gfAsk, "  12.75"}}},
    {"sizes",
     StockWith([](CellTextInputs &in) {
       in.Quote.BidSize = -1;
       in.Quote.AskSize = 0;
       in.Quote.LastVolume = 300;
       in.Quote.NumTrades = 1234;
       in.Quote.AvgTrade = 77;
       in.Quote.OpenInterest = 5000;
     }),
     {{gfBidSize, "-"},
      {gfAskSize, "-"},
      {gfLastVol, "300"},
      {gfTrades, "1234"},
      {gfAvgTrade, "77"},
      {gfOpenInterest, "5000"}}},
    {"site_offset",
     StockWith([](CellTextInputs &in) {
       in.Settings.SiteOffset = 14.0 / 24; // past midnight: the next day
     }),
     {{gfQuoteTime, "00:30:00"}, {gfQuoteDate, "1/11/2024"}}},
    {"time_without_date",
     StockWith([](CellTextInputs &in) { in.Quote.QuoteTime = 0.75; }),
     {{gfQuoteTime, "18:00:00"}, {gfQuoteDate, ""}}},
    {"fundamentals",
     StockWith([](CellTextInputs &in) {
       in.Fund.Low52 = 8.5;
       in.Fund.High52 = 150.25;
       in.Fund.Earnings = 1.234567;
       in.Fund.PE = 0;
       in.Fund.Dividend = 0.88;
       in.Fund.Yield = 2.5;
       in.Fund.MarketCap = "2.9B";
       in.Fund.CompanyName = "Acme Corporation";
       in.Fund.Exchange = "NYSE";
     }),
     {{gfLow52, "    8.5"},
      {gfHigh52, "150.25"},
      {gfEarn, "1.23457"},
      {gfPE, "-"},
      {gfDividend, "0.88"},
      {gfYield, "2.5"},
      {gfMktCap, "2.9B"},
      {gfCompanyName, "Acme Corporation"},
      {gfExchange, "NYSE"}}},
    {"not_finite_values_fail",
     StockWith([](CellTextInputs &in) {
       in.Quote.Last = NaN;
       in.Quote.Change = Inf;
       in.Quote.Volume = Inf;
       in.Quote.Bid = NaN;
       in.Quote.QuoteTime = NaN;
       in.Fund.AvgVolume = 1000;
     }),
     {{gfLast, "--"},
      {gfChange, "--"},
      {gfVolume, "--"},
      {gfBid, "--"},
      {gfSpread, "--"},
      {gfQuoteTime, "--"},
      {gfQuoteDate, ""},
      {gfVolPct, "--"}}},
};
INSTANTIATE_TEST_SUITE_P(Quote, CellTextTable, ::testing::ValuesIn(QuoteCases),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- Position rows --------------------------------------------------------------

template <class F> std::function<CellTextInputs()> PositionWith(F change) {
  return [change] {
    CellTextInputs in = Position();
    change(in);
    return in;
  };
}

void SetPrices(CellTextInputs &in, double last, double prevClose) {
  in.Quote.Last = last;
  in.Quote.PrevClose = prevClose;
  in.Quote.Change = last - prevClose;
}

const TextCase PositionCases[] = {
    {"long",
     Position,
     {{gfQuantity, "100"},
      {gfValue, "1,250"},
      {gfPctPort, "25.0"},
      {gfValueChange, "+4.17% 50"},
      {gfValueChangeDollar, "+50"},
      {gfValueChangePct, "+4.17"},
      {gfPaid, "  10"},
      {gfGain, "+23.77% 240"},
      {gfGainDollar, "+240"},
      {gfGainPct, "+23.77"},
      {gfNote, "core holding"}}},
    {"long_losing",
     PositionWith([](CellTextInputs &in) {
       SetPrices(in, 12, 12.5);
       in.Position.PaidText = "15";
       in.Position.PricePaid = 15;
       in.Position.Commission = 0;
     }),
     {{gfValue, "1,200"},
      {gfValueChange, "-4.00% -50"},
      {gfValueChangeDollar, "-50"},
      {gfValueChangePct, "-4.00"},
      {gfGain, "-20.00% -300"},
      {gfGainDollar, "-300"},
      {gfGainPct, "-20.00"}}},
    {"short_bought_back_cheaper",
     PositionWith([](CellTextInputs &in) {
       SetPrices(in, 8, 9);
       in.Position.Quantity = -100;
       in.Position.Commission = 0;
       in.Whole.PctBase = 6000;
     }),
     // cost 1000, V = 2*1000 - 800 = 1200, CV = -1 * -100 = 100, PV 1100, G 200.
     {{gfQuantity, "-100"},
      {gfValue, "1,200"},
      {gfPctPort, "20.0"},
      {gfValueChange, "+9.09% 100"},
      {gfGain, "+20.00% 200"},
      {gfGainDollar, "+200"}}},
    {"quantity_zero",
     PositionWith([](CellTextInputs &in) { in.Position.Quantity = 0; }),
     {{gfQuantity, "0"},
      {gfValue, "0"},
      {gfPctPort, "--"},
      {gfValueChange, "+4.17% --"},
      {gfValueChangeDollar, "--"},
      {gfValueChangePct, "+4.17"},
      {gfGain, "-- --"},
      {gfGainDollar, "--"},
      {gfGainPct, "--"}}},
    {"quantity_zero_without_previous_close",
     PositionWith([](CellTextInputs &in) {
       in.Position.Quantity = 0;
       SetPrices(in, 12.5, 0);
     }),
     {{gfValueChange, "-- --"}, {gfValueChangePct, "--"}, {gfValueChangeDollar, "--"}}},
    {"previous_close_zero",
     PositionWith([](CellTextInputs &in) { SetPrices(in, 12.5, 0); }),
     // PV = V - CV = 0: the change percentage cannot be computed.
     {{gfValue, "1,250"},
      {gfValueChange, "-- --"},
      {gfValueChangeDollar, "--"},
      {gfValueChangePct, "--"},
      {gfGain, "+23.77% 240"}}},
    {"no_quote",
     PositionWith([](CellTextInputs &in) { in.Quote = QuoteData(); }),
     {{gfValue, "-"}, {gfPctPort, "--"}, {gfValueChange, "-- --"}, {gfGain, "-- --"}}},
    {"nothing_paid",
     PositionWith([](CellTextInputs &in) {
       in.Position.PaidText = "";
       in.Position.PricePaid = 0;
       in.Position.Commission = 0;
     }),
     {{gfPaid, ""}, {gfGain, "-- --"}, {gfGainPct, "--"}, {gfGainDollar, "--"}}},
    {"zero_percentage_base",
     PositionWith([](CellTextInputs &in) { in.Whole.PctBase = 0; }),
     {{gfPctPort, "--"}, {gfValue, "1,250"}}},
    {"valued_at_bid",
     PositionWith([](CellTextInputs &in) {
       in.Settings.ValuationPrice = vpBid;
       in.Quote.Bid = 12;
     }),
     {{gfValue, "1,200"}, {gfPctPort, "24.0"}}},
    {"valued_at_ask",
     PositionWith([](CellTextInputs &in) {
       in.Settings.ValuationPrice = vpAsk;
       in.Quote.Ask = 13;
     }),
     {{gfValue, "1,300"}}},
    {"fraction_paid_text",
     PositionWith([](CellTextInputs &in) {
       in.Settings.Fractions = true;
       in.Position.PaidText = "10 1/4";
     }),
     {{gfPaid, "  10 1/4"}}},
    {"decimal_paid_text_reformatted",
     PositionWith([](CellTextInputs &in) { in.Position.PaidText = "1,234.50"; }),
     {{gfPaid, "1234.5"}}},
    {"no_position_empties",
     PositionWith([](CellTextInputs &in) { in.HasPosition = false; }),
     {{gfQuantity, ""},
      {gfValue, ""},
      {gfPctPort, ""},
      {gfValueChange, ""},
      {gfGain, ""},
      {gfNote, ""},
      {gfLast, "  12.5"}}},
};
INSTANTIATE_TEST_SUITE_P(Position, CellTextTable, ::testing::ValuesIn(PositionCases),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- Watch list -----------------------------------------------------------------

template <class F> std::function<CellTextInputs()> WatchWith(F change) {
  return [change] {
    CellTextInputs in = Stock();
    in.WatchMode = true;
    in.GridKind = 2;
    change(in);
    return in;
  };
}

const TextCase WatchCases[] = {
    {"rise",
     WatchWith([](CellTextInputs &) {}),
     {{gfValueChange, "+4.17%"}, {gfValueChangeDollar, "--"}, {gfValueChangePct, "+4.17"}}},
    {"fall",
     WatchWith([](CellTextInputs &in) { SetPrices(in, 12, 12.5); }),
     {{gfValueChange, "-4.00%"}, {gfValueChangePct, "-4.00"}}},
    {"no_previous_close",
     WatchWith([](CellTextInputs &in) { SetPrices(in, 12.5, 0); }),
     {{gfValueChange, "--"}, {gfValueChangePct, "--"}}},
    {"no_quote",
     WatchWith([](CellTextInputs &in) { in.Quote = QuoteData(); }),
     {{gfValueChange, "-"}, {gfValueChangePct, "-"}, {gfLast, "-"}, {gfQuoteTime, ""}}},
};
INSTANTIATE_TEST_SUITE_P(Watch, CellTextTable, ::testing::ValuesIn(WatchCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CellTexts, WatchRowsWriteNoPositionFields) {
  CellTextInputs in = Position();
  in.WatchMode = true;
  const CellTexts out = ComputeCellTexts(in);
  for (int f : {gfQuantity, gfValue, gfPaid, gfGain, gfNote, gfPctPort, gfGainDollar, gfGainPct})
    EXPECT_FALSE(out.Has(f)) << f;
}

// ---- Cash rows --------------------------------------------------------------------

CellTextInputs Cash(double amount) {
  CellTextInputs in;
  in.Kind = rkCash;
  in.Symbol = "$CASH";
  in.Quote.Bid = in.Quote.Ask = in.Quote.Last = 1;
  in.Quote.High = in.Quote.Low = in.Quote.PrevClose = 1;
  in.Quote.QuoteTime = Jan10 + 0.5;
  in.HasPosition = true;
  in.Position.Symbol = "$CASH";
  in.Position.Quantity = amount;
  in.Position.Note = "money market";
  in.Whole.PctBase = 5000;
  in.Settings.HighBidAsk = true;
  in.Quote.BidMark = 'U';
  return in;
}

TEST(CellTexts, CashRowShowsValueNotePortShareAndDashesElsewhere) {
  const CellTexts out = ComputeCellTexts(Cash(2500));
  EXPECT_EQ(out.Text[gfSymbol], "$CASH");
  EXPECT_EQ(out.Text[gfValue], "2,500");
  EXPECT_EQ(out.Text[gfPctPort], "50.0");
  EXPECT_EQ(out.Text[gfNote], "money market");
  for (int f = 0; f < GridFieldCount; ++f) {
    if (f == gfSymbol || f == gfValue || f == gfPctPort || f == gfNote || f == gfChart)
      continue;
    EXPECT_TRUE(out.Has(f)) << f;
    EXPECT_EQ(out.Text[std::size_t(f)], "-") << "field " << f;
  }
  EXPECT_FALSE(out.Has(gfChart));
}

TEST(CellTexts, NegativeCashIsShownWithItsShare) {
  const CellTexts out = ComputeCellTexts(Cash(-1000));
  EXPECT_EQ(out.Text[gfValue], "-1,000");
  EXPECT_EQ(out.Text[gfPctPort], "-20.0");
}

// ---- Separator rows -----------------------------------------------------------------

GroupTotals Subtotal() {
  GroupTotals t;
  t.Value = 3000;
  t.PctBase = 3000;
  t.PrevValue = 2950;
  t.ValueChange = 50;
  t.ValueChangePct = 50 * 100.0 / 2950;
  t.Gain = 200;
  t.PaidTotal = 2800;
  t.GainPct = 200 * 100.0 / 2800;
  return t;
}

template <class F> std::function<CellTextInputs()> SeparatorWith(F change) {
  return [change] {
    CellTextInputs in;
    in.Kind = rkSeparator;
    in.Symbol = "---";
    in.GridKind = 1;
    in.Group = Subtotal();
    change(in);
    return in;
  };
}

const TextCase SeparatorCases[] = {
    {"subtotal",
     SeparatorWith([](CellTextInputs &) {}),
     {{gfSymbol, "-"},
      {gfValue, "3,000"},
      {gfPrvCls, "2,950"},
      {gfPaid, "2,800"},
      {gfValueChangePct, "+1.69"},
      {gfValueChange, "+1.69% 50"},
      {gfValueChangeDollar, "+50"},
      {gfGainPct, "+7.14"},
      {gfGainDollar, "+200"},
      {gfGain, "+7.14% +200"},
      {gfBid, ""},
      {gfLast, ""},
      {gfQuoteTime, ""},
      {gfQuoteDate, ""},
      {gfNote, ""},
      {gfPctPort, ""},
      {gfChart, ""},
      {gfQuantity, ""}}},
    {"print_grid_subtotal",
     SeparatorWith([](CellTextInputs &in) { in.GridKind = 3; }),
     {{gfValue, "3,000"}}},
    {"falling_group",
     SeparatorWith([](CellTextInputs &in) {
       in.Group.ValueChange = -50;
       in.Group.ValueChangePct = -50 * 100.0 / 3050;
       in.Group.Gain = -200;
       in.Group.GainPct = -200 * 100.0 / 3200;
     }),
     {{gfValueChange, "-1.64% -50"},
      {gfValueChangeDollar, "-50"},
      {gfGain, "-6.25% -200"},
      {gfGainDollar, "-200"}}},
    {"zero_percentages_and_paid",
     SeparatorWith([](CellTextInputs &in) {
       in.Group.ValueChangePct = 0;
       in.Group.GainPct = 0;
       in.Group.PaidTotal = 0;
     }),
     {{gfValueChangePct, "-"},
      {gfValueChange, "- 50"},
      {gfGainPct, "-"},
      {gfGain, "- +200"},
      {gfPaid, "-"}}},
    {"empty_group",
     SeparatorWith([](CellTextInputs &in) { in.Group = GroupTotals(); }),
     {{gfValue, ""},
      {gfPrvCls, ""},
      {gfPaid, ""},
      {gfValueChangePct, ""},
      {gfValueChange, ""},
      {gfValueChangeDollar, ""},
      {gfGainPct, ""},
      {gfGainDollar, ""},
      {gfGain, ""}}},
    {"watch_list_empties_change_fields",
     SeparatorWith([](CellTextInputs &in) {
       in.WatchMode = true;
       in.GridKind = 2;
     }),
     {{gfSymbol, "-"}, {gfValueChange, ""}, {gfPrvCls, ""}, {gfValueChangePct, ""}}},
    {"other_grid_kinds_show_no_subtotal",
     SeparatorWith([](CellTextInputs &in) { in.GridKind = 2; }),
     {{gfValue, ""}, {gfGain, ""}, {gfValueChangePct, ""}}},
    {"not_finite_subtotal",
     SeparatorWith([](CellTextInputs &in) {
       in.Group.Value = NaN;
       in.Group.ValueChangePct = Inf;
       in.Group.Gain = Inf;
     }),
     {{gfValue, "-"},
      {gfValueChangePct, "--"},
      {gfValueChange, "-- 50"},
      {gfGainDollar, "-"},
      {gfGain, "+7.14% -"}}},
};
INSTANTIATE_TEST_SUITE_P(Separator, CellTextTable, ::testing::ValuesIn(SeparatorCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CellTexts, SeparatorRowWritesEveryField) {
  for (bool watch : {false, true}) {
    CellTextInputs in = SeparatorWith([](CellTextInputs &) {})();
    in.WatchMode = watch;
    EXPECT_TRUE(ComputeCellTexts(in).Set.all()) << watch;
  }
}

// ---- TOTAL row ------------------------------------------------------------------

template <class F> std::function<CellTextInputs()> TotalWith(F change) {
  return [change] {
    CellTextInputs in;
    in.Kind = rkTotal;
    in.GridKind = 1;
    in.Whole.Value = 5000;
    in.Whole.PrevValue = 4950;
    in.Whole.ValueChange = 50;
    in.Whole.ValueChangePct = 50 * 100.0 / 4950;
    in.Whole.PaidTotal = 4800;
    in.Whole.Gain = 200;
    in.Whole.GainPct = 200 * 100.0 / 4800;
    in.DayLow = 4900;
    in.DayHigh = 5100;
    in.PortTickText = "U";
    in.RecalcTime = Jan10 + 14.25 / 24;
    in.Settings.SiteOffset = 1.0 / 24;
    change(in);
    return in;
  };
}

const TextCase TotalCases[] = {
    {"totals",
     TotalWith([](CellTextInputs &) {}),
     {{gfSymbol, "TOTAL"},
      {gfQuoteTime, "15:15:00"},
      {gfQuoteDate, ""},
      {gfValue, "5,000"},
      {gfLow, "4,900"},
      {gfHigh, "5,100"},
      {gfTick, "U"},
      {gfPrvCls, "4,950"},
      {gfPaid, "4,800"},
      {gfValueChangeDollar, "+50"},
      {gfValueChangePct, "+1.01"},
      {gfValueChange, "+1.01% 50"},
      {gfGain, "+4.17% 200"},
      {gfGainPct, "+4.17"},
      {gfGainDollar, "+200"},
      {gfBid, ""},
      {gfNote, ""},
      {gfPctPort, ""},
      {gfOpenInterest, ""}}},
    {"at_day_low",
     TotalWith([](CellTextInputs &in) { in.DayLow = 4999.95; }),
     {{gfLow, "<5,000"}, {gfHigh, "5,100"}}},
    {"at_day_high",
     TotalWith([](CellTextInputs &in) { in.DayHigh = 5000.05; }),
     {{gfHigh, ">5,000"}, {gfLow, "4,900"}}},
    {"flat_day_no_marks",
     TotalWith([](CellTextInputs &in) {
       in.DayLow = 5000;
       in.DayHigh = 5000.05;
     }),
     {{gfLow, "5,000"}, {gfHigh, "5,000"}}},
    {"zero_percentages",
     TotalWith([](CellTextInputs &in) {
       in.Whole.ValueChangePct = 0;
       in.Whole.GainPct = 0;
     }),
     {{gfValueChange, "- 50"},
      {gfValueChangePct, "-"},
      {gfGain, "-- 200"},
      {gfGainPct, "--"},
      {gfGainDollar, "+200"}}},
    {"losses",
     TotalWith([](CellTextInputs &in) {
       in.Whole.ValueChange = -50;
       in.Whole.ValueChangePct = -1;
       in.Whole.Gain = -1200;
       in.Whole.GainPct = -20;
     }),
     {{gfValueChange, "-1.00% -50"},
      {gfValueChangeDollar, "-50"},
      {gfGain, "-20.00% -1,200"},
      {gfGainDollar, "-1,200"}}},
    {"zero_value",
     TotalWith([](CellTextInputs &in) {
       in.Whole.Value = 0;
       in.Whole.PaidTotal = 1000;
     }),
     {{gfValue, ""}, {gfLow, ""}, {gfHigh, ""}, {gfPaid, "1,000"}, {gfValueChange, ""},
      {gfGain, ""}}},
};
INSTANTIATE_TEST_SUITE_P(Total, CellTextTable, ::testing::ValuesIn(TotalCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CellTexts, TotalRowAnnouncesOnlyAPortfolioWithValue) {
  EXPECT_TRUE(ComputeCellTexts(TotalWith([](CellTextInputs &) {})()).AnnouncePortfolio);
  const CellTexts zero =
      ComputeCellTexts(TotalWith([](CellTextInputs &in) { in.Whole.Value = 0; })());
  EXPECT_FALSE(zero.AnnouncePortfolio);
  EXPECT_FALSE(ComputeCellTexts(Stock()).AnnouncePortfolio);
}

TEST(CellTexts, TotalRowLeavesOnlyTheChartUnwritten) {
  const CellTexts out = ComputeCellTexts(TotalWith([](CellTextInputs &) {})());
  FieldMask expected = AllFields();
  expected.reset(gfChart);
  EXPECT_EQ(out.Set, expected);
}

TEST(CellTexts, TotalRowShownUnlessValueAndPaidAreZero) {
  GroupTotals t;
  EXPECT_FALSE(TotalRowShown(t));
  t.PaidTotal = 10;
  EXPECT_TRUE(TotalRowShown(t));
  t.PaidTotal = 0;
  t.Value = -5;
  EXPECT_TRUE(TotalRowShown(t));
}

TEST(CellTexts, PortfolioTotalsBelongToMainAndPrintGrids) {
  EXPECT_TRUE(ShowsPortfolioTotals(1, false));
  EXPECT_TRUE(ShowsPortfolioTotals(3, false));
  EXPECT_FALSE(ShowsPortfolioTotals(1, true));
  EXPECT_FALSE(ShowsPortfolioTotals(2, false));
  EXPECT_FALSE(ShowsPortfolioTotals(4, false));
}

// ---- Visibility, limits, kinds -----------------------------------------------------------

TEST(CellTexts, HiddenFieldsAreNotWrittenButTheSymbolIs) {
  CellTextInputs in = Position();
  in.Visible.reset();
  in.Visible.set(gfLast);
  in.Visible.set(gfValue);
  const CellTexts out = ComputeCellTexts(in);
  FieldMask expected;
  expected.set(gfSymbol).set(gfLast).set(gfValue);
  EXPECT_EQ(out.Set, expected);
  EXPECT_EQ(out.Text[gfBid], "");
  EXPECT_EQ(out.Text[gfValue], "1,250");
}

TEST(CellTexts, StockRowLeavesTheChartFieldAlone) {
  const CellTexts out = ComputeCellTexts(Position());
  FieldMask expected = AllFields();
  expected.reset(gfChart);
  EXPECT_EQ(out.Set, expected);
}

TEST(CellTexts, TextsAreCutTo255Characters) {
  CellTextInputs in = Position();
  in.Position.Note = std::string(300, 'n');
  EXPECT_EQ(ComputeCellTexts(in).Text[gfNote], std::string(255, 'n'));
}

TEST(CellTexts, NoTextEverShowsInfinityOrNaN) {
  for (double bad : {NaN, Inf, -Inf}) {
    CellTextInputs in = Position();
    in.Quote.Last = in.Quote.Change = in.Quote.High = bad;
    in.Whole.PctBase = bad;
    in.Position.Commission = float(bad);
    for (const std::string &t : ComputeCellTexts(in).Text) {
      EXPECT_EQ(t.find("INF"), std::string::npos) << t;
      EXPECT_EQ(t.find("NAN"), std::string::npos) << t;
      EXPECT_EQ(t.find("inf"), std::string::npos) << t;
      EXPECT_EQ(t.find("nan"), std::string::npos) << t;
    }
  }
}

TEST(CellTexts, RowKindFollowsTheSymbol) {
  EXPECT_EQ(RowKindOfSymbol("-"), rkSeparator);
  EXPECT_EQ(RowKindOfSymbol("-----"), rkSeparator);
  EXPECT_EQ(RowKindOfSymbol("$CASH"), rkCash);
  EXPECT_EQ(RowKindOfSymbol("$cash"), rkCash);
  EXPECT_EQ(RowKindOfSymbol("BRK-B"), rkStock);
  EXPECT_EQ(RowKindOfSymbol("^DJI"), rkStock);
  EXPECT_EQ(RowKindOfSymbol(" "), rkStock);
}

TEST(CellTextsFormat, Builders) {
  EXPECT_EQ(WholeNumberText(-1234567.5), "-1,234,568");
  EXPECT_EQ(OneDecimalText(1234.56), "1,234.6");
  EXPECT_EQ(PercentNumberText(-0.004), "0.00");
  EXPECT_EQ(SubtotalAmountText(98765.4), "98,765");
  EXPECT_EQ(SignedText("5"), "+5");
  EXPECT_EQ(SignedText("-5"), "-5");
  EXPECT_EQ(SignedText("+5"), "+5");
  EXPECT_EQ(SignedText(""), "+");
  EXPECT_EQ(WithoutPercent("+1.00%"), "+1.00");
  EXPECT_EQ(WithoutPercent("--"), "--");
  double r = 0;
  EXPECT_FALSE(Percentage(5, 0, r));
  EXPECT_FALSE(Percentage(1e300, 1e-300, r));
  EXPECT_TRUE(Percentage(1, 4, r));
  EXPECT_DOUBLE_EQ(r, 25);
}

// The cell builders format without the general formatters' pattern reading;
// their texts are those of the general formatters, byte for byte, over values
// of every size, both signs, halves at each rounding place and the place
// where rounding carries into a new digit or column class.
TEST(CellTextsFormat, TextsAreThoseOfTheGeneralFormatters) {
  std::vector<double> values = {0,        -0.0,      0.5,        -0.5,      1.005,     2.675,
                                0.125,    -0.125,    0.045,      9.999995,  9.9999949, 999.9995,
                                999.9994, 9999.995,  10000.004,  10000.05,  99999.95,  0.000001,
                                1e-300,   -1e-300,   123456.785, 999999.95, 1e9 - 0.5, 1e14 + 0.5,
                                1e15 - 1, 1e15,      1e15 + 1,   4.35e20,   -7.5e30,   1e308};
  // Pseudo-random values of every magnitude, and decimal halves.
  std::uint64_t seed = 88172645463325252ull;
  auto next = [&] {
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    return seed;
  };
  for (int i = 0; i < 20000; ++i) {
    const double mantissa = double(next() % 100000000) / 1000.0;
    const double scale = std::pow(10.0, int(next() % 20) - 8);
    const double v = (next() % 2 ? -1 : 1) * mantissa * scale;
    values.push_back(v);
    values.push_back(std::round(v * 1000) / 1000 + 0.0005);
    values.push_back(std::round(v * 100) / 100 + 0.005);
  }
  for (double v : values) {
    SCOPED_TRACE(testing::Message() << std::setprecision(17) << v);
    ASSERT_EQ(WholeNumberText(v), Trim(Format("%20.0n", {v})));
    ASSERT_EQ(OneDecimalText(v), Trim(Format("%20.1n", {v})));
    ASSERT_EQ(PercentNumberText(v), Trim(Format("%7.2f", {v})));
    ASSERT_EQ(SubtotalAmountText(v), Trim(Format("%12.0n", {v})));
    ASSERT_EQ(PriceCellText(v, false), AlignPriceText(PriceToStr(v, false), false));
    ASSERT_EQ(PriceCellText(v, true), AlignPriceText(PriceToStr(v, true), true));
    const double time = std::fabs(std::fmod(v, 50000.0));
    ASSERT_EQ(QuoteTimeText(time, 0), FormatDateTime("hh:nn:ss", time));
  }
}

// ---- Gathering from the stores -------------------------------------------------------------

class RowInputsTest : public StoreTest {
protected:
  void SetUp() override {
    StoreTest::SetUp();
    QuoteFields q = Quote(12.5, 12.25, 12.75, 12);
    q.High = 13;
    q.Low = 11;
    StoreQuote("ACME", q);
    FundData f;
    f.CompanyName = "Acme Corporation";
    f.PrevClose = 12;
    StoreFundamentals("ACME", f);
    StoreQuote("BETA", Quote(20, 19.9, 20.1, 21));
    PortPosition acme{"ACME", 100, "10", 10, 9.95f, "core"};
    PortPosition sep{"-", 0, "", 0, 0, ""};
    PortPosition beta{"BETA", 50, "18", 18, 0, ""};
    PortPosition cash{"$CASH", 1000, "", 0, 0, ""};
    index = PortfolioList.Add("Main", "MAINPORT", {acme, sep, beta, cash});
    EXPECT_TRUE(RecalcPortfolio(index));
    EXPECT_TRUE(SnapshotPortfolio(index, snapshot));
  }
  void TearDown() override {
    SetCurrentQuoteSite(HTTPSite());
    StoreTest::TearDown();
  }
  int index = 0;
  PortfolioSnapshot snapshot;
  CellTextSettings settings;
};

TEST_F(RowInputsTest, SnapshotCopiesPositionsAndTotals) {
  EXPECT_EQ(snapshot.Key, "MAINPORT");
  ASSERT_EQ(snapshot.Positions.size(), 4u);
  EXPECT_EQ(snapshot.Positions[2].Symbol, "BETA");
  // ACME 1250, BETA 1000, cash 1000.
  EXPECT_DOUBLE_EQ(snapshot.Groups[0].Value, 3250);
  EXPECT_DOUBLE_EQ(snapshot.Groups[1].Value, 1250);
  EXPECT_DOUBLE_EQ(snapshot.Groups[2].Value, 2000);
  PortfolioSnapshot none;
  EXPECT_FALSE(SnapshotPortfolio(99, none));
  EXPECT_TRUE(none.Positions.empty());
}

TEST_F(RowInputsTest, StockRowReadsQuoteFundamentalsAndPosition) {
  int storeIndex = -2;
  const CellTextInputs in =
      GatherListRow("ACME", 0, 1, RowPlace(), &snapshot, settings, &storeIndex);
  EXPECT_GE(storeIndex, 0);
  EXPECT_EQ(in.Kind, rkStock);
  EXPECT_DOUBLE_EQ(in.Quote.Last, 12.5);
  EXPECT_EQ(in.Fund.CompanyName, "Acme Corporation");
  ASSERT_TRUE(in.HasPosition);
  EXPECT_EQ(in.Position.Note, "core");
  const CellTexts out = ComputeCellTexts(in);
  EXPECT_EQ(out.Text[gfValue], "1,250");
  EXPECT_EQ(out.Text[gfValueChange], "+4.17% 50");
  EXPECT_EQ(out.Text[gfGain], "+23.77% 240");
  EXPECT_EQ(out.Text[gfPctPort], "38.5"); // of 3250
  EXPECT_EQ(out.Text[gfCompanyName], "Acme Corporation");
}

TEST_F(RowInputsTest, PositionIsFoundBySymbolWhenTheListMovedOn) {
  const CellTextInputs in = GatherListRow("BETA", 0, 1, RowPlace(), &snapshot, settings);
  ASSERT_TRUE(in.HasPosition);
  EXPECT_DOUBLE_EQ(in.Position.Quantity, 50);
  const CellTextInputs gone = GatherListRow("GONE", 0, 1, RowPlace(), &snapshot, settings);
  EXPECT_FALSE(gone.HasPosition);
}

TEST_F(RowInputsTest, SeparatorAndTotalRowsCarryTheirTotals) {
  int storeIndex = 7;
  const CellTextInputs sep = GatherListRow("-", 1, 1, RowPlace(), &snapshot, settings, &storeIndex);
  EXPECT_EQ(sep.Kind, rkSeparator);
  EXPECT_EQ(storeIndex, -1);
  EXPECT_EQ(ComputeCellTexts(sep).Text[gfValue], "1,250");
  const CellTextInputs total = GatherTotalRow(RowPlace(), snapshot, settings);
  EXPECT_EQ(total.Kind, rkTotal);
  const CellTexts out = ComputeCellTexts(total);
  EXPECT_EQ(out.Text[gfValue], "3,250");
  EXPECT_TRUE(out.AnnouncePortfolio);
}

TEST_F(RowInputsTest, CashAndUnknownSymbols) {
  int storeIndex = 7;
  const CellTexts cash =
      ComputeCellTexts(GatherListRow("$CASH", 3, 2, RowPlace(), &snapshot, settings, &storeIndex));
  EXPECT_EQ(storeIndex, -1);
  EXPECT_EQ(cash.Text[gfValue], "1,000");
  EXPECT_EQ(cash.Text[gfLast], "-");
  const CellTextInputs unknown =
      GatherListRow("NOPE", 0, 1, RowPlace(), nullptr, settings, &storeIndex);
  EXPECT_EQ(storeIndex, -1);
  EXPECT_EQ(unknown.Quote.TickText, "-");
  EXPECT_FALSE(unknown.HasPosition);
}

TEST_F(RowInputsTest, WatchListRowsHaveNoPosition) {
  RowPlace place;
  place.GridKind = 2;
  place.WatchMode = true;
  const CellTextInputs in = GatherListRow("ACME", 0, 1, place, &snapshot, settings);
  EXPECT_FALSE(in.HasPosition);
  EXPECT_TRUE(in.WatchMode);
}

TEST_F(RowInputsTest, SettingsComeFromDisplaySettingsAndTheQuoteSite) {
  TDisplaySettings d;
  d.ValuationPrice = TDisplaySettings::PriceAsk;
  d.HighBidAsk = false;
  d.Fractions = true;
  SetDisplaySettings(d);
  HTTPSite site;
  site.GMTOFFSET = -5.0 / 24;
  SetCurrentQuoteSite(site);
  const CellTextSettings s = CurrentCellTextSettings();
  EXPECT_EQ(s.ValuationPrice, 2);
  EXPECT_FALSE(s.HighBidAsk);
  EXPECT_TRUE(s.Fractions);
  EXPECT_DOUBLE_EQ(s.SiteOffset, -5.0 / 24);
}

TEST(RowInputs, VisibleFieldsFollowTheColumnMap) {
  std::array<int, GridFieldCount> colPos;
  colPos.fill(-1);
  colPos[gfSymbol] = 0;
  colPos[gfLast] = 1;
  colPos[gfValue] = 5; // beyond the grid's columns
  const FieldMask m = VisibleFields(colPos, 3);
  FieldMask expected;
  expected.set(gfSymbol).set(gfLast);
  EXPECT_EQ(m, expected);
}

} // namespace
