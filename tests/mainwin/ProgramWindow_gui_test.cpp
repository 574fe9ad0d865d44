// The main window as the program runs it: quotes from quotes.csv through its
// timers, and what ends up on the screen.
#include "mainwin/ProgramWindowTest.h"

#include "alerts/AlertNames.h"
#include "core/CommandLine.h"

#include <QComboBox>
#include <QLabel>
#include <QStringList>
#include <QFontMetrics>
#include <QStatusBar>

#include <cmath>

namespace {

// An alert on the symbol that colours its row, already triggered: the next
// heartbeat acts on it.
std::string QueueHighlightAlert(const std::string &symbol, std::int32_t color) {
  auto alert = std::make_unique<TAlertRecord>();
  alert->Symbol = symbol;
  alert->AlertType = 0;
  alert->P1 = 1;
  alert->Actions.Include(ActionHighlightRow);
  alert->HighlightColor = color;
  const std::string id = AlertSystem().AddAlert(std::move(alert));
  PendingAlerts().Push(id);
  return id;
}

TEST_F(ProgramWindowTest, AlertColourIsOnScreenWithinAHeartbeatAndGoneAfterTurnOff) {
  ShowForm();
  ASSERT_TRUE(Refresh());
  ASSERT_EQ(grid->Cells(0, 7), "TOTAL");
  const int row = RowOf("MSFT");
  ASSERT_GE(row, 1);
  const int qtyCol = grid->ColPos[gfQuantity];
  const QColor plain = Background(Screen(), CellOnScreen(qtyCol, row));
  const QColor lime = ToQColor(TColor(0x00FF00));
  ASSERT_NE(plain, lime);

  // No quote changes from here on: only the alert state does.
  const std::string id = QueueHighlightAlert("MSFT", 0x00FF00);
  ASSERT_TRUE(Heartbeat());
  EXPECT_EQ(Background(Screen(), CellOnScreen(qtyCol, row)), lime);
  EXPECT_EQ(Background(Screen(), CellOnScreen(0, row)), lime);
  SavePicture("program_alert_on.png");

  AlertSystem().TurnOffAlert(id, true); // as the pop-up's Turn Off does
  ASSERT_TRUE(Heartbeat());
  EXPECT_EQ(Background(Screen(), CellOnScreen(qtyCol, row)), plain);
  SavePicture("program_alert_off.png");
}

// Last in another column than in the standard view, with the note and the
// two-value gain.
constexpr const char *kReorderedView =
    "Reordered|font=Arial;size=9;style=;cols=SymCol,ChangeCol,QtyCol,PaidCol,ValueCol,LastCol,"
    "VolumeCol,GainCol,NoteCol;styles=SymCol:1";

TEST_F(ProgramWindowTest, SortStaysTrueAfterRefreshViewSwitchAndPortfolioSwitch) {
  SettingsFile().WriteString("Views", "View3", kReorderedView);
  ShowForm();
  ASSERT_TRUE(Refresh());
  ASSERT_EQ(grid->Cells(0, 7), "TOTAL");

  // A title click through the viewport sorts by Last, largest first.
  ClickTitle(grid->ColPos[gfLast]);
  ASSERT_TRUE(Settle());
  EXPECT_EQ(SymbolsShown(6),
            (std::vector<std::string>{"NVDA", "MSFT", "AAPL", "JPM", "AMZN", "GOOGL"}));
  EXPECT_EQ(SortMarkColumns(), std::vector<int>{grid->ColPos[gfLast]});

  // New quotes change the order: the refresh sorts again.
  std::string csv = kSampleQuotesCsv;
  csv.replace(csv.find("AMZN,151.90,151.88,151.93"), 25, "AMZN,951.90,951.88,951.93");
  csv.replace(csv.find("153.10,150.30"), 13, "953.10,150.30");
  WriteQuotes(csv);
  ASSERT_TRUE(Refresh());
  EXPECT_EQ(SymbolsShown(6),
            (std::vector<std::string>{"AMZN", "NVDA", "MSFT", "AAPL", "JPM", "GOOGL"}));
  EXPECT_EQ(Number(gfLast, 1), 951.90);
  EXPECT_EQ(grid->Cells(0, 7), "TOTAL");

  // Another view shows Last in another column: mark and order follow it.
  form->SelectViewIndex(2);
  ASSERT_TRUE(Settle());
  ASSERT_EQ(CurrentView.Name, "Reordered");
  EXPECT_EQ(grid->SortCol, grid->ColPos[gfLast]);
  EXPECT_EQ(SortMarkColumns(), std::vector<int>{grid->ColPos[gfLast]});
  EXPECT_EQ(SymbolsShown(6),
            (std::vector<std::string>{"AMZN", "NVDA", "MSFT", "AAPL", "JPM", "GOOGL"}));
  for (int r = 1; r < 6; ++r)
    EXPECT_GE(Number(gfLast, r), Number(gfLast, r + 1)) << r;
  SavePicture("program_sorted_view.png");

  // Another portfolio: sorted by the same column, group by group.
  form->cbPortfolio->setCurrentIndex(1);
  ASSERT_TRUE(Settle());
  EXPECT_EQ(SymbolsShown(9), (std::vector<std::string>{"JNJ", "PG", "KO", "-", "CVX", "XOM", "-",
                                                       "$CASH", "TOTAL"}));
  EXPECT_EQ(SortMarkColumns(), std::vector<int>{grid->ColPos[gfLast]});
  SavePicture("program_sorted_income.png");
}

// A title click, new quotes, the refresh timer and heartbeats, in every
// pairing of three ways the window can reach the next step: straight on
// (the fill just started still runs: it waits for the window at its end),
// after handling every event, or once the fill has ended but before its end
// notice is handled. The rows always end sorted, showing the new quotes.
TEST_F(ProgramWindowTest, RowsEndSortedWhateverTheTimingOfRefreshesAndHeartbeats) {
  ShowForm();
  ASSERT_TRUE(Refresh());
  ASSERT_EQ(grid->Cells(0, 7), "TOTAL");
  const std::vector<std::string> shown = SymbolsShown(6);
  const auto between = [&](int way) {
    if (way == 1) {
      ASSERT_TRUE(Settle());
    } else if (way == 2) {
      // Only the fill's call into the window is handled, not what it posts at its end.
      while (grid->FillRunning()) {
        QCoreApplication::processEvents();
        PollUntil([&] { return !grid->FillRunning(); }, 20);
      }
    }
  };
  std::uint32_t seed = 12345;
  const auto newQuote = [&] {
    seed = seed * 1103515245u + 12345u;
    const std::string &symbol = shown[(seed >> 8) % shown.size()];
    const double price = 50 + double((seed >> 12) % 60000) / 100;
    StoreLast(symbol, price, price - 1);
    MarkSymbolUpdated(usMainGrid, symbol);
    return std::make_pair(symbol, price);
  };
  for (int round = 0; round < 9; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    const int a = round % 3, b = round / 3, c = (round + round / 3) % 3;
    ClickTitle(grid->ColPos[gfLast]);
    between(a);
    const auto first = newQuote();
    form->Timer1Timer();
    between(b);
    const auto second = newQuote();
    form->Timer2Timer(); // its refresh fill runs while the next steps come
    between(c);
    form->Timer1Timer();
    form->Timer2Timer();
    ASSERT_TRUE(Settle());

    ASSERT_EQ(grid->Cells(0, 7), "TOTAL");
    std::map<std::string, double> latest{first};
    latest[second.first] = second.second;
    for (const auto &[symbol, price] : latest) {
      const int row = RowOf(symbol);
      ASSERT_GE(row, 1) << symbol;
      EXPECT_DOUBLE_EQ(Number(gfLast, row), price) << symbol;
    }
    for (int r = 1; r < 6; ++r) {
      if (grid->SortDown)
        EXPECT_LE(Number(gfLast, r), Number(gfLast, r + 1)) << "row " << r;
      else
        EXPECT_GE(Number(gfLast, r), Number(gfLast, r + 1)) << "row " << r;
    }
  }
  EXPECT_EQ(SortMarkColumns(), std::vector<int>{grid->ColPos[gfLast]});
}

TEST_F(ProgramWindowTest, ColumnsAreFittedToLongTextsAfterARefresh) {
  SettingsFile().WriteString("Views", "View1", kReorderedView);
  // Every price below 100 (the hundreds cut off): whole parts are padded.
  std::string quotes;
  for (const QString &line : QString(kSampleQuotesCsv).split(QLatin1Char('\n'))) {
    QStringList cells = line.split(QLatin1Char(','));
    for (int c : {1, 2, 3, 5, 6, 7})
      if (c < cells.size() && cells[c].toDouble() >= 100)
        cells[c] = QString::number(std::fmod(cells[c].toDouble(), 100.0), 'f', 2);
    quotes += cells.join(QLatin1Char(',')).toStdString() + "\n";
  }
  WriteQuotes(quotes);
  ShowForm();
  ASSERT_TRUE(Refresh());
  ASSERT_TRUE(Heartbeat()); // the window's timer fits what the refresh showed

  const QFontMetrics fm(form->lbFont->font());
  const int nvda = RowOf("NVDA");
  ASSERT_EQ(Field(gfNote, nvda), "Watch the earnings date");
  EXPECT_GE(grid->ColWidths(grid->ColPos[gfNote]),
            fm.horizontalAdvance(QStringLiteral("Watch the earnings date")) + 4);
  // Each half of a gain cell holds its widest value.
  int widest = 0;
  for (int r = 1; r <= 7; ++r) {
    const QString gain = QString::fromStdString(Field(gfGain, r));
    for (const QString &part : gain.split(QLatin1Char(' '), Qt::SkipEmptyParts))
      widest = std::max(widest, fm.horizontalAdvance(part));
  }
  EXPECT_GT(widest, 0);
  EXPECT_GE(grid->ColWidths(grid->ColPos[gfGain]), 2 * widest + 4);
  // Prices below 100 are padded with blanks so that whole parts line up; the
  // blanks are drawn too, so the column holds them.
  ASSERT_EQ(Field(gfLast, RowOf("AAPL")), "  85.2");
  for (int field : {gfLast, gfBid, gfAsk, gfLow, gfHigh})
    for (int r = 1; r < grid->RowCount(); ++r)
      EXPECT_GE(grid->ColWidths(grid->ColPos[field]),
                fm.horizontalAdvance(QString::fromStdString(Field(field, r))) + 4)
          << "field " << field << " row " << r << " '" << Field(field, r) << "'";
  SavePicture("program_fitted.png");
}

TEST_F(ProgramWindowTest, AutoFitOffKeepsTheWidths) {
  SettingsFile().WriteString("Views", "View1", kReorderedView);
  SettingsFile().WriteString("Misc", "AutoFit", "NO");
  ShowForm();
  ASSERT_TRUE(Refresh());
  const int width = grid->ColWidths(grid->ColPos[gfNote]);
  ASSERT_TRUE(Heartbeat());
  EXPECT_EQ(grid->ColWidths(grid->ColPos[gfNote]), width);
}

TEST_F(ProgramWindowTest, QuotesAndFundamentalsOfTheFileAreShownFromTheStart) {
  ShowForm(); // the sample file has PrevClose: the fundamentals carry it
  // No refresh tick: the window read the file as it started.
  ASSERT_TRUE(ProcessEventsUntil(
      [&] { return grid->Cells(0, 1) == "AAPL" && Number(gfLast, 1) == 185.20; }, 1000));

  form->SelectViewIndex(1);
  ASSERT_TRUE(Settle());
  ASSERT_EQ(CurrentView.Name, "Fundamentals");
  EXPECT_EQ(Number(gfPrvCls, RowOf("AAPL")), 184.10);
  EXPECT_EQ(Number(gfPrvCls, RowOf("JPM")), 169.80);
}

TEST_F(ProgramWindowTest, FundamentalsColumnsOfTheFileFillTheFundamentalsView) {
  WriteQuotes("Symbol,Last,PrevClose,Open,CompanyName,Low52,High52,PE,Earnings,MarketCap,"
              "Dividend,Yield,Exchange,AvgVolume\n"
              "AAPL,185.20,184.10,184.35,Apple Inc,124.17,199.62,30.2,6.13,2.88T,0.96,0.52,"
              "NASDAQ,58214300\n");
  ShowForm();
  form->SelectViewIndex(1);
  ASSERT_TRUE(Settle());
  const int row = RowOf("AAPL");
  ASSERT_GE(row, 1);
  EXPECT_EQ(Number(gfPrvCls, row), 184.10);
  EXPECT_EQ(Number(gfOpen, row), 184.35);
  EXPECT_EQ(Field(gfCompanyName, row), "Apple Inc");
  EXPECT_EQ(Number(gfLow52, row), 124.17);
  EXPECT_EQ(Number(gfHigh52, row), 199.62);
  EXPECT_EQ(Field(gfMktCap, row), "2.88T");
  EXPECT_EQ(Field(gfExchange, row), "NASDAQ");
  for (int f : {gfPE, gfEarn, gfDividend, gfYield})
    EXPECT_FALSE(Field(f, row).empty() || Field(f, row) == "-" || Field(f, row) == "0") << f;
  SavePicture("program_fundamentals.png");
}

TEST_F(ProgramWindowTest, DebugTracingShowsTheSortOnTheStatusLine) {
  CommandLineSwitches debug;
  debug.Debug = true;
  ApplyCommandLine(debug);
  ShowForm();
  ASSERT_TRUE(Refresh());
  ClickTitle(grid->ColPos[gfLast]);
  const bool shown = ProcessEventsUntil([&] {
    return form->statusBar()->currentMessage().endsWith(QStringLiteral(" Start Sort"));
  });
  ApplyCommandLine(CommandLineSwitches());
  EXPECT_TRUE(shown) << form->statusBar()->currentMessage().toStdString();
  ASSERT_TRUE(Settle());
}

TEST_F(ProgramWindowTest, StatusLineNamesEachUpdatedPortfolioOnce) {
  ShowForm();
  ASSERT_TRUE(Refresh());
  for (int i = 0; i < 3; ++i) {
    form->RefreshGrid();
    ASSERT_TRUE(Settle());
  }
  form->Timer2Timer();
  EXPECT_EQ(form->LastUpdatedPortfolios(), std::vector<std::string>{"LARGECAPS"});
  const std::string status =
      form->findChild<QLabel *>(QStringLiteral("lbTotal"))->text().toStdString();
  EXPECT_EQ(status.find("US Large Caps"), 0u);
  EXPECT_EQ(status.find("US Large Caps", 1), std::string::npos) << status;
}

} // namespace
