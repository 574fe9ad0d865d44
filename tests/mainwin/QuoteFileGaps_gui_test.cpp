// What the windows show when quotes.csv leaves out columns or symbols: a
// value the file does not give is never made up as 0.
#include "mainwin/ProgramWindowTest.h"

#include "core/FieldTitles.h"
#include "platform/StringUtils.h"
#include "views/WatchForm.h"
#include "views/ticker/TickerQuotes.h"

#include <QComboBox>

namespace {

class QuoteFileGapsTest : public ProgramWindowTest {
protected:
  void TearDown() override {
    watch.reset();
    ProgramWindowTest::TearDown();
  }
  // Shows the Income portfolio (JNJ PG KO - XOM CVX - $CASH).
  bool ShowIncome() {
    form->cbPortfolio->setCurrentIndex(1);
    return Settle();
  }
  // Stores a new version of the file through the refresh timer.
  bool Feed(const std::string &csv) {
    WriteQuotes(csv);
    return Refresh();
  }
  std::string Cell(int field, const std::string &symbol) const {
    const int row = RowOf(symbol);
    return row < 0 ? "(no row " + symbol + ")" : Field(field, row);
  }
  // The number a price cell shows: its marks and alignment left out.
  std::string Shown(int field, const std::string &symbol) const {
    std::string t = Cell(field, symbol);
    while (!t.empty() && (t[0] == '<' || t[0] == '>'))
      t.erase(0, 1);
    return Trim(t);
  }

  std::unique_ptr<TwForm> watch;
};

// Quotes of the Income portfolio without KO.
const char *const kIncomeWithoutKo = "Symbol,Last,Bid,Ask,Volume,High,Low,PrevClose\n"
                                     "JNJ,158.80,158.78,158.82,6980100,159.40,157.90,158.20\n"
                                     "PG,149.60,149.58,149.63,5870200,150.20,148.90,151.00\n"
                                     "XOM,102.70,102.68,102.72,16230900,103.50,101.90,104.30\n"
                                     "CVX,149.10,149.07,149.12,8450700,150.00,148.20,150.60\n";

TEST_F(QuoteFileGapsTest, ColumnsTheHeaderDoesNotNameKeepTheirStoredValues) {
  ShowForm();
  ASSERT_TRUE(Refresh());
  ASSERT_TRUE(ShowIncome());
  ASSERT_TRUE(Feed("Symbol,CompanyName,PE\nKO,Coca-Cola Co,24.1\n"));
  ASSERT_EQ(Shown(gfLast, "KO"), "59.1") << "a file without Last leaves the price";

  ASSERT_TRUE(Feed("Symbol,Last,Bid,Ask\nKO,58.50,58.49,58.51\n"));
  struct Case {
    int field;
    const char *text;
  };
  for (const Case c :
       {Case{gfLast, "58.5"}, Case{gfBid, "58.49"}, Case{gfAsk, "58.51"}, Case{gfChange, "- 0.45"},
        Case{gfVolume, "12,450,600"}, Case{gfHigh, "59.35"}, Case{gfLow, "58.8"}})
    EXPECT_EQ(Shown(c.field, "KO"), c.text) << FieldLongTitle(c.field);

  ASSERT_TRUE(Feed("Symbol,Last,PrevClose\nKO,58.60,58.95\n"));
  form->SelectViewIndex(1); // Fundamentals
  ASSERT_TRUE(Settle());
  for (const Case c : {Case{gfCompanyName, "Coca-Cola Co"}, Case{gfPE, "24.1"},
                       Case{gfPrvCls, "58.95"}, Case{gfChange, "- 0.35"}})
    EXPECT_EQ(Shown(c.field, "KO"), c.text) << FieldLongTitle(c.field);
  SavePicture("program_partial_quotes.png");
}

TEST_F(QuoteFileGapsTest, NoChangeIsComputedFromAPreviousCloseNeverGiven) {
  WriteQuotes(kIncomeWithoutKo);
  ShowForm();
  ASSERT_TRUE(ShowIncome());
  const int total = RowOf("TOTAL");
  ASSERT_GE(total, 1);
  const std::string changeBefore = Field(gfValueChange, total);

  ASSERT_TRUE(Feed("Symbol,Last\nKO,58.50\n"));
  EXPECT_EQ(Shown(gfLast, "KO"), "58.5");
  EXPECT_EQ(Cell(gfChange, "KO"), "-");
  EXPECT_EQ(Cell(gfValueChange, "KO"), "-- --");
  EXPECT_EQ(Cell(gfValue, "KO"), "7,020");
  EXPECT_EQ(Field(gfValueChange, RowOf("TOTAL")), changeBefore)
      << "KO's value adds no change to the portfolio's";
  const TStockBoxInput box = ReadTickerBoxInput("KO", false);
  EXPECT_EQ(box.Direction, "") << "the ticker shows no arrow";
  EXPECT_EQ(box.Change, "") << "nor a change of 0";

  SettingsFile().WriteString("Watch", "Symbols", "KO JNJ");
  watch = std::make_unique<TwForm>(form->lbFont, form->STPopup);
  watch->show();
  ASSERT_TRUE(SettleGrid(watch->StockGrid, [&] { return !watch->StockGrid->RefreshPending(); }));
  TStockGrid *w = watch->StockGrid;
  EXPECT_EQ(w->Cells(w->ColPos[gfChange], 1), "-");
  EXPECT_EQ(w->Cells(w->ColPos[gfValueChange], 1), "--");
  EXPECT_EQ(w->Cells(w->ColPos[gfValueChange], 2), "+0.38%");
}

TEST_F(QuoteFileGapsTest, ASymbolWithoutAQuoteShowsNoDataAndItsPortfolioItsPaidTotal) {
  WriteQuotes("Symbol,Last\nSPY,476.70\n"); // none of US Large Caps
  ShowForm();
  ASSERT_TRUE(Refresh());
  struct Case {
    int field;
    const char *text;
  };
  for (const Case c : {Case{gfLast, "-"}, Case{gfBid, "-"}, Case{gfAsk, "-"}, Case{gfChange, "-"},
                       Case{gfValue, "-"}, Case{gfQuoteTime, ""}, Case{gfQuantity, "50"}})
    EXPECT_EQ(Cell(c.field, "AAPL"), c.text) << FieldLongTitle(c.field);

  // What was paid for the six positions, price and commission.
  const int total = RowOf("TOTAL");
  ASSERT_EQ(total, 7) << "the portfolio's TOTAL row below its six rows";
  EXPECT_EQ(Field(gfPaid, total), "43,757");
  for (int f : {gfValue, gfValueChange, gfGain})
    EXPECT_EQ(Field(f, total), "") << FieldLongTitle(f);

  SettingsFile().WriteString("Watch", "Symbols", "AAPL SPY");
  watch = std::make_unique<TwForm>(form->lbFont, form->STPopup);
  watch->show();
  ASSERT_TRUE(SettleGrid(watch->StockGrid, [&] { return !watch->StockGrid->RefreshPending(); }));
  TStockGrid *w = watch->StockGrid;
  for (const Case c : {Case{gfLast, "-"}, Case{gfValueChange, "-"}, Case{gfQuoteTime, ""}})
    EXPECT_EQ(w->Cells(w->ColPos[c.field], 1), c.text) << FieldLongTitle(c.field);
  EXPECT_EQ(Trim(w->Cells(w->ColPos[gfLast], 2)), "476.7");
  SavePicture("program_no_quotes.png");
}

} // namespace
