#include "alerts/pages/QuickAlertsPageModel.h"

#include "alerts/pages/PageTestSupport.h"
#include "alerts/pages/QuickAlertsPageDrawing.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

class QuickAlertsModelTest : public PageTest {
protected:
  // The rows' texts as the grid would hold them.
  std::vector<TQuickAlertTexts> Texts() const {
    std::vector<TQuickAlertTexts> texts;
    for (const TQuickAlertRow &row : model.Rows())
      texts.push_back(row.Shown);
    return texts;
  }
  int RowOf(const std::string &symbol) const {
    for (int i = 0; i < model.Count(); ++i)
      if (model.Rows()[std::size_t(i)].Symbol == symbol)
        return i;
    return -1;
  }

  TQuickAlertsModel model;
};

} // namespace

TEST_F(QuickAlertsModelTest, PortfolioEntriesStartWithAllStocks) {
  AddPortfolio("Growth", "GROW", {"IBM"});
  AddPortfolio("Income", "INC", {"T"});
  EXPECT_EQ(TQuickAlertsModel::PortfolioEntries(),
            (std::vector<std::string>{"***All Stocks***", "Growth", "Income"}));
}

TEST_F(QuickAlertsModelTest, SymbolsAreSortedStocksListedOnce) {
  AddPortfolio("Growth", "GROW", {"MSFT", "$CASH", "IBM", "----", "AAPL"});
  AddPortfolio("Income", "INC", {"T", "IBM", "ibm"});
  EXPECT_EQ(TQuickAlertsModel::CollectSymbols(1),
            (std::vector<std::string>{"AAPL", "IBM", "MSFT"}));
  EXPECT_EQ(TQuickAlertsModel::CollectSymbols(2), (std::vector<std::string>{"IBM", "T"}));
  EXPECT_EQ(TQuickAlertsModel::CollectSymbols(0),
            (std::vector<std::string>{"AAPL", "IBM", "MSFT", "T"}))
      << "a symbol held by two portfolios is listed once under All Stocks";
  EXPECT_TRUE(TQuickAlertsModel::CollectSymbols(3).empty());
}

TEST_F(QuickAlertsModelTest, FillShowsTheFirstAlertOfEachKind) {
  const std::string low = AddAlert("IBM", AlertTypeLowPrice, 101.25);
  AddAlert("IBM", AlertTypeLowPrice, 99); // a second low alert is not shown
  const std::string high = AddAlert("IBM", AlertTypeHighPrice, 120.5);
  const std::string news = AddAlert("IBM", AlertTypeNews, 4);
  const std::string volume = AddAlert("IBM", AlertTypeColumn, ColumnVolume, 1234567);
  AddAlert("T", AlertTypeColumn, ColumnChange, 2); // not a volume alert
  model.Fill(AlertSystem(), {"IBM", "T"});
  ASSERT_EQ(model.Count(), 2);
  const TQuickAlertRow &ibm = model.Rows()[0];
  EXPECT_EQ(ibm.Shown, (TQuickAlertTexts{"IBM", "101.25", "120.5", "Y", "           1,234,567"}));
  EXPECT_EQ(ibm.AlertID, (TQuickAlertTexts{"", low, high, news, volume}));
  const TQuickAlertRow &t = model.Rows()[1];
  EXPECT_EQ(t.Shown, (TQuickAlertTexts{"T", "", "", "", ""}));
}

TEST_F(QuickAlertsModelTest, PricesShowInTheFractionDisplayWhenItIsOn) {
  AddAlert("IBM", AlertTypeLowPrice, 101.25);
  SetFractionDisplay(true);
  model.Fill(AlertSystem(), {"IBM"});
  SetFractionDisplay(false);
  EXPECT_EQ(model.Rows()[0].Shown[QuickColLow], "101 1/4");
}

TEST_F(QuickAlertsModelTest, NormalizeEdits) {
  struct Row {
    int col;
    const char *text;
    const char *expected;
  };
  const Row rows[] = {
      {QuickColLow, "101.250", "101.25"},
      {QuickColLow, "0", ""},
      {QuickColLow, "abc", ""},
      {QuickColHigh, "12 1/2", "12.5"},
      {QuickColVolume, "1,500000", "           1,500,000"},
      {QuickColVolume, "0", ""},
      {QuickColNews, "Y", "Y"},
  };
  for (const Row &r : rows)
    EXPECT_EQ(TQuickAlertsModel::NormalizeEdit(r.col, r.text), r.expected) << r.text;
}

TEST_F(QuickAlertsModelTest, TypingValuesCreatesAlertsWithTheDefaults) {
  TAlertDefaults defaults;
  defaults.Popup = true;
  defaults.Flash = false;
  defaults.HighRow = true;
  SetAlertDefaults(defaults);
  model.Fill(AlertSystem(), {"IBM"});
  auto texts = Texts();
  texts[0] = {"IBM", "95", "130.5", "Y", "2,000,000"};
  model.Save(AlertSystem(), texts);

  const TQuickAlertRow &row = model.Rows()[0];
  const auto low = Stored(row.AlertID[QuickColLow]);
  const auto high = Stored(row.AlertID[QuickColHigh]);
  const auto news = Stored(row.AlertID[QuickColNews]);
  const auto volume = Stored(row.AlertID[QuickColVolume]);
  ASSERT_TRUE(low && high && news && volume);
  EXPECT_EQ(low->AlertType, AlertTypeLowPrice);
  EXPECT_EQ(low->P1, 95);
  EXPECT_EQ(low->P2, 1.0);
  EXPECT_EQ(low->P3, 0);
  EXPECT_EQ(low->HighlightColor, 255);
  EXPECT_EQ(high->AlertType, AlertTypeHighPrice);
  EXPECT_EQ(high->P1, 130.5);
  EXPECT_EQ(high->HighlightColor, 32768);
  EXPECT_EQ(news->AlertType, AlertTypeNews);
  EXPECT_EQ(news->P1, 2.0);
  EXPECT_EQ(news->HighlightColor, 32768);
  EXPECT_EQ(volume->AlertType, AlertTypeColumn);
  EXPECT_EQ(volume->P1, ColumnVolume);
  EXPECT_EQ(volume->P2, 0);
  EXPECT_EQ(volume->P3, 2000000);
  EXPECT_EQ(volume->P4, 1.0);
  for (const auto &a : {*low, *high, *news, *volume}) {
    EXPECT_EQ(a.Symbol, "IBM");
    EXPECT_TRUE(a.Actions.Contains(ActionPopup));
    EXPECT_TRUE(a.Actions.Contains(ActionHighlightRow));
    EXPECT_FALSE(a.Actions.Contains(ActionFlashWindow));
  }
  EXPECT_EQ(AlertSystem().Count(), 4);

  // Saving the same rows again changes nothing.
  model.Save(AlertSystem(), Texts());
  EXPECT_EQ(AlertSystem().Count(), 4);
}

TEST_F(QuickAlertsModelTest, ClearingACellDeletesTheAlert) {
  const std::string low = AddAlert("IBM", AlertTypeLowPrice, 95);
  const std::string other = AddAlert("IBM", AlertTypeLowPrice, 90);
  const std::string news = AddAlert("IBM", AlertTypeNews, 2);
  model.Fill(AlertSystem(), {"IBM"});
  auto texts = Texts();
  texts[0][QuickColLow] = "";
  texts[0][QuickColNews] = "";
  model.Save(AlertSystem(), texts);
  EXPECT_FALSE(Stored(low));
  EXPECT_FALSE(Stored(news));
  EXPECT_TRUE(Stored(other)) << "only the first alert of the kind is handled";
  EXPECT_EQ(model.Rows()[0].AlertID[QuickColLow], "");
}

TEST_F(QuickAlertsModelTest, ZeroOrNoValueCountsAsCleared) {
  const std::string low = AddAlert("IBM", AlertTypeLowPrice, 95);
  model.Fill(AlertSystem(), {"IBM", "T"});
  auto texts = Texts();
  texts[0][QuickColLow] = "0";
  texts[1][QuickColHigh] = "abc"; // a pending edit written in as typed
  texts[1][QuickColVolume] = "  0 ";
  model.Save(AlertSystem(), texts);
  EXPECT_FALSE(Stored(low));
  EXPECT_EQ(AlertSystem().Count(), 0) << StoreSummary().size();
}

TEST_F(QuickAlertsModelTest, ChangingALimitTurnsTheAlertOffFirst) {
  const std::string high = AddAlert("IBM", AlertTypeHighPrice, 120);
  const std::string volume = AddAlert("IBM", AlertTypeColumn, ColumnVolume, 5000);
  Activate(high);
  Activate(volume);
  model.Fill(AlertSystem(), {"IBM"});
  auto texts = Texts();
  texts[0][QuickColHigh] = "125.75";
  texts[0][QuickColVolume] = "6,000";
  model.Save(AlertSystem(), texts);
  const auto h = Stored(high);
  const auto v = Stored(volume);
  ASSERT_TRUE(h && v);
  EXPECT_EQ(h->P1, 125.75);
  EXPECT_TRUE(h->ActiveActions.Empty());
  EXPECT_EQ(v->P3, 6000);
  EXPECT_EQ(v->P1, ColumnVolume);
  EXPECT_TRUE(v->ActiveActions.Empty());
}

TEST_F(QuickAlertsModelTest, AnUntouchedCellKeepsALimitItShowsRounded) {
  // 105.123456 shows as "105.123"; saving the page must not cut the limit
  // or end the alert's pending actions.
  const std::string low = AddAlert("IBM", AlertTypeLowPrice, 105.123456);
  const std::string volume = AddAlert("IBM", AlertTypeColumn, ColumnVolume, 1500.6);
  Activate(low);
  model.Fill(AlertSystem(), {"IBM"});
  EXPECT_EQ(model.Rows()[0].Shown[QuickColLow], "105.123");
  model.Save(AlertSystem(), Texts());
  const auto l = Stored(low);
  ASSERT_TRUE(l);
  EXPECT_EQ(l->P1, 105.123456);
  EXPECT_FALSE(l->ActiveActions.Empty());
  EXPECT_EQ(Stored(volume)->P3, 1500.6);
}

TEST_F(QuickAlertsModelTest, AnAlertDeletedMeanwhileIsNotTouched) {
  const std::string low = AddAlert("IBM", AlertTypeLowPrice, 95);
  model.Fill(AlertSystem(), {"IBM"});
  AlertSystem().DeleteAlert(low, false);
  auto texts = Texts();
  texts[0][QuickColLow] = "";
  model.Save(AlertSystem(), texts);
  EXPECT_EQ(AlertSystem().Count(), 0);
}

TEST_F(QuickAlertsModelTest, ALongSymbolIsCutForTheAlert) {
  model.Fill(AlertSystem(), {"ABCDEFGHIJKLMNOPQ"});
  auto texts = Texts();
  texts[0][QuickColLow] = "5";
  model.Save(AlertSystem(), texts);
  EXPECT_EQ(Stored(model.Rows()[0].AlertID[QuickColLow])->Symbol, "ABCDEFGHIJKLMNO");
}

TEST_F(QuickAlertsModelTest, ColumnWidths) {
  const auto w = TQuickAlertsModel::ColumnWidths(400, 60, 30);
  // (400 - 25 - 60 - 30) / 11 = 25
  EXPECT_EQ(w.Symbol, 60);
  EXPECT_EQ(w.News, 30);
  EXPECT_EQ(w.Low, 75);
  EXPECT_EQ(w.High, 75);
  EXPECT_EQ(w.Volume, 125);
  const auto narrow = TQuickAlertsModel::ColumnWidths(50, 60, 30);
  EXPECT_EQ(narrow.Low, 0);
  EXPECT_EQ(narrow.Volume, 0);
}

// ---- Drawing ------------------------------------------------------------------------------

TEST(QuickAlertsDrawing, FixedCells) {
  TRecordingCanvas c;
  const TRect header(40, 0, 120, 16);
  DrawQuickAlertCell(c, 1, 0, header, "Low", gdFixed);
  ASSERT_EQ(c.CountOf("FillRect"), 1);
  EXPECT_EQ(c.CallsNamed("FillRect")[0].Brush.Color, TColor(12632256));
  const auto text = c.CallsNamed("TextOut").at(0);
  EXPECT_EQ(text.Text, "Low");
  EXPECT_EQ(text.Args[0], 40 + (80 - c.TextWidth("Low")) / 2) << "headers are centred";
  EXPECT_EQ(text.Args[1], (16 - c.TextHeight("Low")) / 2);

  c.Clear();
  DrawQuickAlertCell(c, 0, 3, TRect(0, 51, 40, 67), "IBM", gdFixed);
  EXPECT_EQ(c.CallsNamed("TextOut").at(0).Args[0], 2) << "symbols stand 2 pixels in";
}

TEST(QuickAlertsDrawing, DataRowsAlternateAndValuesAlignRight) {
  TRecordingCanvas c;
  const TRect cell(40, 17, 120, 33);
  DrawQuickAlertCell(c, QuickColLow, 1, cell, "101.25", 0);
  EXPECT_EQ(c.CallsNamed("FillRect").at(0).Brush.Color, TColor(16777215));
  auto text = c.CallsNamed("TextOut").at(0);
  EXPECT_EQ(text.Text, "101.25");
  EXPECT_EQ(text.Args[0], 120 - 2 - c.TextWidth("101.25"));
  EXPECT_EQ(text.Font.Color, clBlack);

  c.Clear();
  DrawQuickAlertCell(c, QuickColVolume, 2, cell, "           1,234,567", 0);
  EXPECT_EQ(c.CallsNamed("FillRect").at(0).Brush.Color, TColor(12582911));
  text = c.CallsNamed("TextOut").at(0);
  EXPECT_EQ(text.Text, "1,234,567");
  EXPECT_EQ(text.Args[0], 120 - 2 - c.TextWidth("1,234,567"));
}

TEST(QuickAlertsDrawing, EmptyValuesShowDashesCentred) {
  for (const char *empty : {"", "-"}) {
    TRecordingCanvas c;
    DrawQuickAlertCell(c, QuickColHigh, 1, TRect(40, 17, 120, 33), empty, 0);
    const auto text = c.CallsNamed("TextOut").at(0);
    EXPECT_EQ(text.Text, "--");
    EXPECT_EQ(text.Args[0], 40 + (80 - c.TextWidth("--")) / 2);
  }
}

TEST(QuickAlertsDrawing, TheCurrentCellInTheSelectedColours) {
  TRecordingCanvas c;
  DrawQuickAlertCell(c, QuickColLow, 1, TRect(40, 17, 120, 33), "5", gdSelected | gdFocused);
  EXPECT_EQ(c.CallsNamed("FillRect").at(0).Brush.Color, clBlue);
  EXPECT_EQ(c.CallsNamed("TextOut").at(0).Font.Color, clYellow);
}

TEST(QuickAlertsDrawing, NewsFlagIsACheckBox) {
  TRecordingCanvas c;
  const TRect cell(120, 17, 150, 33); // 30 x 16: a box of 14
  DrawQuickAlertCell(c, QuickColNews, 1, cell, "", 0);
  ASSERT_EQ(c.CountOf("Rectangle"), 1);
  const auto box = c.CallsNamed("Rectangle")[0];
  EXPECT_EQ(box.Args, (std::vector<int>{128, 18, 142, 32}));
  EXPECT_EQ(box.Pen.Color, clBlack);
  EXPECT_EQ(box.Brush.Style, bsClear);
  EXPECT_EQ(c.CountOf("LineTo"), 0);
  EXPECT_EQ(c.CountOf("TextOut"), 0);

  c.Clear();
  DrawQuickAlertCell(c, QuickColNews, 1, cell, "Y", 0);
  const auto lines = c.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 2u);
  for (const auto &line : lines) {
    EXPECT_EQ(line.Pen.Width, 2);
    for (const TPoint &p : line.Points) {
      EXPECT_GT(p.X, 128);
      EXPECT_LT(p.X, 142);
      EXPECT_GT(p.Y, 18);
      EXPECT_LT(p.Y, 32);
    }
  }
}
