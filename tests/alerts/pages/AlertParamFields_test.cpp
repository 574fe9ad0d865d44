#include "MemoryParamFields.h"

#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "alerts/pages/AlertParamFields.h"
#include "core/StockStore.h"

#include <gtest/gtest.h>

namespace {

TAlertRecord Alert(int type, double p1, double p2 = 0, double p3 = 0, double p4 = 0) {
  TAlertRecord a;
  a.Symbol = "IBM";
  a.AlertType = std::uint8_t(type);
  a.P1 = p1;
  a.P2 = p2;
  a.P3 = p3;
  a.P4 = p4;
  return a;
}

std::vector<int> Tags(int type) {
  std::vector<int> tags;
  for (const TParamFieldSpec &s : ParamFieldSpecs(type))
    tags.push_back(s.Tag);
  return tags;
}

} // namespace

TEST(AlertParamFieldsTest, ControlsOfEachType) {
  EXPECT_EQ(Tags(AlertTypeLowPrice),
            (std::vector<int>{1000, 1001, 1011, 1010, 1002, 1003, 1004, 1005}));
  EXPECT_EQ(Tags(AlertTypeHighPrice), Tags(AlertTypeLowPrice));
  EXPECT_EQ(Tags(AlertTypeNews), (std::vector<int>{1010, 1001, 1011}));
  EXPECT_EQ(Tags(AlertTypeColumn), (std::vector<int>{1001, 1002, 1003, 1013, 1004}));
  EXPECT_TRUE(ParamFieldSpecs(7).empty());

  const auto price = ParamFieldSpecs(AlertTypeLowPrice);
  EXPECT_EQ(price[0].Caption, "Price Level ");
  EXPECT_EQ(price[1].WidthTemplate, "12345 12/32");
  EXPECT_EQ(price[3].Caption, "Based on: ");
  EXPECT_EQ(price[4].Caption, "Last ");
  EXPECT_EQ(price[5].Caption, "Bid ");
  EXPECT_EQ(price[6].Caption, "Ask ");
  EXPECT_EQ(price[7].Caption, "Trigger only if crossed");
  const auto news = ParamFieldSpecs(AlertTypeNews);
  EXPECT_EQ(news[0].Caption, "Alert if news less than ");
  EXPECT_EQ(news[2].Caption, " hours old");
  const auto column = ParamFieldSpecs(AlertTypeColumn);
  EXPECT_EQ(column[0].Items, ColumnNames());
  EXPECT_EQ(column[1].Items, (std::vector<std::string>{">=", "<="}));
  EXPECT_EQ(column[4].Kind, TParamControlKind::CheckBox);
}

TEST(AlertParamFieldsTest, FillsAPriceAlert) {
  TAlertParamFields logic;
  MemoryParamFields fields(AlertTypeHighPrice);
  TAlertRecord a = Alert(AlertTypeHighPrice, 105.5, 2.0, 0);
  logic.Fill(a, fields, false, 99);
  EXPECT_EQ(fields.GetField(1001), "105.5");
  EXPECT_EQ(fields.GetField(1002), "0");
  EXPECT_EQ(fields.GetField(1003), "1");
  EXPECT_EQ(fields.GetField(1004), "0");
  EXPECT_EQ(fields.GetField(1005), "1");
  EXPECT_TRUE(logic.Stepper.StepMode);
  EXPECT_DOUBLE_EQ(a.P1, 105.5);

  TAlertRecord any = Alert(AlertTypeHighPrice, 105.5, 3.0, 1.0);
  logic.Fill(any, fields, true, 99);
  EXPECT_EQ(fields.GetField(1004), "1");
  EXPECT_EQ(fields.GetField(1005), "0"); // any time beyond the limit
  EXPECT_TRUE(logic.Stepper.Fractions);
}

TEST(AlertParamFieldsTest, UnknownBasisShowsLastAndTakesTheLastPrice) {
  TAlertParamFields logic;
  MemoryParamFields fields(AlertTypeLowPrice);
  TAlertRecord a = Alert(AlertTypeLowPrice, 50, 0.0);
  logic.Fill(a, fields, false, 61.25);
  EXPECT_EQ(fields.GetField(1002), "1");
  EXPECT_DOUBLE_EQ(a.P1, 61.25);
  EXPECT_EQ(fields.GetField(1001), "50"); // the field keeps what was written first
}

TEST(AlertParamFieldsTest, FillsNewsAndColumnAlerts) {
  TAlertParamFields logic;
  MemoryParamFields news(AlertTypeNews);
  TAlertRecord n = Alert(AlertTypeNews, 2.5);
  logic.Fill(n, news, false, 0);
  EXPECT_EQ(news.GetField(1001), "2.5");

  MemoryParamFields column(AlertTypeColumn);
  TAlertRecord low = Alert(AlertTypeColumn, ColumnLow, 1, 12.25, 0);
  logic.Fill(low, column, true, 0);
  EXPECT_EQ(column.GetField(1001), "3");
  EXPECT_EQ(column.GetField(1002), "1");
  EXPECT_EQ(column.GetField(1003), "12 1/4"); // a price column shows prices
  EXPECT_EQ(column.GetField(1004), "0");
  EXPECT_TRUE(logic.Stepper.StepMode);

  TAlertRecord volume = Alert(AlertTypeColumn, ColumnVolume, 0, 250000, 1);
  logic.Fill(volume, column, true, 0);
  EXPECT_EQ(column.GetField(1001), "5");
  EXPECT_EQ(column.GetField(1003), "250000");
  EXPECT_EQ(column.GetField(1004), "1");
  EXPECT_FALSE(logic.Stepper.StepMode);
  EXPECT_DOUBLE_EQ(logic.Stepper.FixedStep, 5000);

  TAlertRecord percent = Alert(AlertTypeColumn, ColumnChangePercent, 0, 2.5);
  logic.Fill(percent, column, false, 0);
  EXPECT_DOUBLE_EQ(logic.Stepper.FixedStep, 0.1);
}

TEST(AlertParamFieldsTest, ReadsAPriceAlert) {
  MemoryParamFields fields(AlertTypeLowPrice);
  fields.SetField(1001, "12 1/2");
  fields.SetField(1004, "1");
  fields.SetField(1005, "0");
  TAlertRecord a = Alert(AlertTypeLowPrice, 0);
  TAlertParamFields::Read(fields, a);
  EXPECT_DOUBLE_EQ(a.P1, 12.5);
  EXPECT_DOUBLE_EQ(a.P2, 3.0);
  EXPECT_DOUBLE_EQ(a.P3, 1.0);

  fields.SetField(1001, "");
  fields.SetField(1003, "1");
  fields.SetField(1005, "1");
  TAlertParamFields::Read(fields, a);
  EXPECT_DOUBLE_EQ(a.P1, 0);
  EXPECT_DOUBLE_EQ(a.P2, 2.0);
  EXPECT_DOUBLE_EQ(a.P3, 0);

  fields.SetField(1001, "abc");
  TAlertParamFields::Read(fields, a);
  EXPECT_DOUBLE_EQ(a.P1, 0);
}

TEST(AlertParamFieldsTest, ReadsOtherTypesFieldByField) {
  MemoryParamFields fields(AlertTypeColumn);
  fields.SetField(1001, "6");
  fields.SetField(1002, "1");
  fields.SetField(1003, "1,250.5");
  fields.SetField(1004, "1");
  TAlertRecord a = Alert(AlertTypeColumn, 0, 0, 0, 0);
  a.P5 = 9;
  TAlertParamFields::Read(fields, a);
  EXPECT_DOUBLE_EQ(a.P1, 6);
  EXPECT_DOUBLE_EQ(a.P2, 1);
  EXPECT_DOUBLE_EQ(a.P3, 1250.5);
  EXPECT_DOUBLE_EQ(a.P4, 1);
  EXPECT_DOUBLE_EQ(a.P5, 0); // no field 1005: "0"

  MemoryParamFields news(AlertTypeNews);
  news.SetField(1001, "4.5");
  TAlertRecord n = Alert(AlertTypeNews, 0);
  TAlertParamFields::Read(news, n);
  EXPECT_DOUBLE_EQ(n.P1, 4.5);
  EXPECT_DOUBLE_EQ(n.P2, 0); // 1002 is no control of a news alert
}

TEST(AlertParamFieldsTest, SpinsTheEditOfAnUpDown) {
  TAlertParamFields logic;
  MemoryParamFields fields(AlertTypeHighPrice);
  fields.SetField(1001, "4.95");
  EXPECT_EQ(logic.Spin(fields, 1001, 1), "5");
  fields.SetField(1001, "1000");
  EXPECT_EQ(logic.Spin(fields, 1001, 1), "1000.2");
}

TEST(AlertParamFieldsTest, TypedTextTable) {
  struct Case {
    const char *text;
    bool accepted;
  } cases[] = {
      {"12.5", true}, {"12 1/2", true}, {"0", true},      {"0.00", true}, {" 7 ", true},
      {"", false},    {"abc", false},   {"12 1/", false}, {"1/0", false}, {"1.2.3", false},
      {"-3/4", true}, {"-", false},     {"0/5", false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(TAlertParamFields::AcceptsTypedText(c.text), c.accepted) << '"' << c.text << '"';
}

TEST(AlertParamFieldsTest, TypeChangeClearsAndSetsDefaults) {
  TAlertRecord a = Alert(AlertTypeLowPrice, 50, 2.0, 1.0, 3);
  a.P5 = 7;
  TAlertParamFields::ChangeType(a, AlertTypeColumn, 80);
  EXPECT_EQ(a.AlertType, AlertTypeColumn);
  EXPECT_DOUBLE_EQ(a.P1, ColumnVolume);
  EXPECT_DOUBLE_EQ(a.P2, 0);
  EXPECT_DOUBLE_EQ(a.P3, 0);
  EXPECT_DOUBLE_EQ(a.P4, 1.0);
  EXPECT_DOUBLE_EQ(a.P5, 0);

  TAlertParamFields::ChangeType(a, AlertTypeHighPrice, 80);
  EXPECT_DOUBLE_EQ(a.P1, 80);
  EXPECT_DOUBLE_EQ(a.P2, 1.0);
  EXPECT_EQ(a.HighlightColor, 65280);

  // The same type keeps the other parameters but takes the defaults again.
  a.P3 = 1.0;
  TAlertParamFields::ChangeType(a, AlertTypeHighPrice, 81);
  EXPECT_DOUBLE_EQ(a.P1, 81);
  EXPECT_DOUBLE_EQ(a.P3, 1.0);

  TAlertParamFields::ChangeType(a, AlertTypeLowPrice, 81);
  EXPECT_EQ(a.HighlightColor, 255);

  TAlertRecord noSymbol = Alert(AlertTypeNews, 3);
  noSymbol.Symbol.clear();
  TAlertParamFields::ChangeType(noSymbol, AlertTypeLowPrice, 81);
  EXPECT_DOUBLE_EQ(noSymbol.P1, 0); // no symbol, no last price

  TAlertParamFields::ChangeType(noSymbol, AlertTypeNews, 81);
  EXPECT_DOUBLE_EQ(noSymbol.P1, 2);

  TAlertParamFields::ChangeType(noSymbol, -1, 81); // no type chosen: unchanged
  EXPECT_EQ(noSymbol.AlertType, AlertTypeNews);
}

TEST(AlertParamFieldsTest, ColumnRulesTable) {
  struct Case {
    int column;
    bool crossVisible;
    const char *compare; // "" when the comparison is left as it was
    bool compareEnabled;
  } cases[] = {
      {ColumnChange, false, "", true},         {ColumnChangePercent, false, "", true},
      {ColumnSpread, true, "", true},          {ColumnLow, false, "1", false},
      {ColumnHigh, false, "0", false},         {ColumnVolume, true, "0", false},
      {ColumnVolumePercent, true, "0", false}, {ColumnTrades, false, "0", false},
  };
  for (const Case &c : cases) {
    MemoryParamFields fields(AlertTypeColumn);
    fields.SetField(1001, std::to_string(c.column));
    fields.SetField(1002, c.column == ColumnLow ? "0" : "1");
    const std::string before = fields.GetField(1002);
    TAlertParamFields::EnableDisable(fields);
    EXPECT_EQ(fields.fields[1004].visible, c.crossVisible) << c.column;
    EXPECT_EQ(fields.fields[1002].enabled, c.compareEnabled) << c.column;
    EXPECT_EQ(fields.GetField(1002), *c.compare ? std::string(c.compare) : before) << c.column;
  }
}

TEST(AlertParamFieldsTest, ColumnValuesTable) {
  TColumnQuote q;
  q.Last = 105;
  q.PrevClose = 100;
  q.Low = 99.5;
  q.High = 106;
  q.NumTrades = 1234;
  q.AvgVolume = 200000;
  q.HasTick = true;
  q.TickAsk = 105.25;
  q.TickBid = 105;
  q.TickVolume = 50000;
  const double expected[] = {5, 5, 0.25, 99.5, 106, 50000, 25, 1234};
  for (int column = 0; column < 8; ++column)
    EXPECT_DOUBLE_EQ(ColumnCurrentValue(q, column), expected[column]) << column;
  EXPECT_DOUBLE_EQ(ColumnCurrentValue(q, 9), 0);

  TColumnQuote bare;
  bare.Last = 5;
  bare.NumTrades = 3;
  EXPECT_DOUBLE_EQ(ColumnCurrentValue(bare, ColumnChangePercent), 0); // no previous close
  EXPECT_DOUBLE_EQ(ColumnCurrentValue(bare, ColumnSpread), 0);        // no ticks
  EXPECT_DOUBLE_EQ(ColumnCurrentValue(bare, ColumnVolume), 0);
  bare.HasTick = true;
  bare.TickVolume = 10;
  EXPECT_DOUBLE_EQ(ColumnCurrentValue(bare, ColumnVolumePercent), 0); // no average volume
}

TEST(AlertParamFieldsTest, ColumnChangeWritesTheCurrentValue) {
  TAlertParamFields logic;
  MemoryParamFields fields(AlertTypeColumn);
  TColumnQuote q;
  q.Low = 12.25;
  q.HasTick = true;
  q.TickVolume = 70000;
  logic.Stepper.Fractions = true;
  fields.SetField(1001, "3");
  logic.ColumnChanged(fields, q);
  EXPECT_EQ(fields.GetField(1003), "12 1/4");
  EXPECT_TRUE(logic.Stepper.StepMode);
  fields.SetField(1001, "5");
  logic.ColumnChanged(fields, q);
  EXPECT_EQ(fields.GetField(1003), "70000");
  EXPECT_FALSE(logic.Stepper.StepMode);
  EXPECT_DOUBLE_EQ(logic.Stepper.FixedStep, 5000);
}

TEST(AlertParamFieldsTest, ReadsTheStoreForColumnValues) {
  ResetStockStore();
  QuoteFields f;
  f.Last = 52;
  f.PrevClose = 50;
  f.Low = 49;
  f.High = 53;
  f.Bid = 51.9;
  f.Ask = 52.1;
  f.Volume = 120000;
  f.NumTrades = 77;
  ASSERT_GE(StoreQuote("QQQ", f), 0);
  const TColumnQuote q = ReadColumnQuote("QQQ");
  EXPECT_FLOAT_EQ(float(q.Last), 52);
  EXPECT_FLOAT_EQ(float(q.PrevClose), 50);
  EXPECT_DOUBLE_EQ(q.NumTrades, 77);
  EXPECT_TRUE(q.HasTick);
  EXPECT_FLOAT_EQ(float(q.TickVolume), 120000);
  EXPECT_NEAR(ColumnCurrentValue(q, ColumnSpread), 0.2, 1e-5);

  const TColumnQuote none = ReadColumnQuote("NOSUCH");
  EXPECT_FALSE(none.HasTick);
  EXPECT_DOUBLE_EQ(none.Last, 0);
  ResetStockStore();
}

TEST(AlertParamFieldsTest, UntouchedNewPriceAlert) {
  MemoryParamFields fields(AlertTypeLowPrice);
  fields.SetField(1001, "0");
  fields.SetField(1002, "1");
  fields.SetField(1005, "1");
  EXPECT_TRUE(TAlertParamFields::UntouchedPriceFields(fields));
  fields.SetField(1003, "1");
  EXPECT_FALSE(TAlertParamFields::UntouchedPriceFields(fields));
}
