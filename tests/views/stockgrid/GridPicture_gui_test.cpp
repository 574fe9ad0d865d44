// A picture of the main window's grid as the painter draws it: sorted by
// Last, a highlighted row, a news bulb, an alert-coloured row and the drop
// mark of a column drag.
#include "views/stockgrid/GridTestSupport.h"

#include "alerts/AlertNames.h"
#include "alerts/AlertsModule.h"
#include "core/IniFile.h"
#include "core/PortfolioFile.h"
#include "core/ProgramFolder.h"
#include "mainwin/MainForm.h"
#include "platform/StringGridTestEvents.h"
#include "support/EventWait.h"
#include "support/TestPaths.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGrid.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct Quote {
  const char *Symbol;
  double Last, PrevClose, Low, High;
};

const Quote kQuotes[] = {
    {"AAPL", 189.25, 187.90, 187.40, 189.25}, {"MSFT", 374.50, 371.20, 370.80, 376.10},
    {"AMZN", 146.80, 148.10, 146.80, 148.90}, {"GOOGL", 137.40, 136.95, 136.20, 138.10},
    {"NVDA", 495.20, 488.00, 486.50, 498.70}, {"JPM", 169.30, 170.05, 168.90, 170.60},
};

class GridPictureTest : public GridTest {
protected:
  void SetUp() override {
    GridTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    ASSERT_TRUE(QFile::copy(QString::fromStdString(TestDataPath("BOURSE.INI")),
                            dir.filePath(QStringLiteral("BOURSE.INI"))));
    OpenSettingsFile();
    ASSERT_TRUE(LoadPortfolios(TestDataPath("port.dat")));
    for (const Quote &s : kQuotes) {
      for (int tick = 0; tick < 8; ++tick) {
        QuoteFields q;
        q.Last = s.Low + (s.High - s.Low) * ((tick * 5) % 8) / 7.0;
        if (tick == 7)
          q.Last = s.Last;
        q.Bid = q.Last - 0.02;
        q.Ask = q.Last + 0.02;
        q.PrevClose = s.PrevClose;
        q.Low = s.Low;
        q.High = s.High;
        q.Volume = 1000000 + tick * 1000;
        q.QuoteTime = (10 * 60 + tick * 30) / 1440.0;
        q.DayStamp = 45301;
        ASSERT_GE(StoreQuote(s.Symbol, q), 0);
      }
    }
  }
  void TearDown() override {
    form.reset();
    AlertSystem().ClearAll();
    EXPECT_TRUE(PollUntil([] { return ShowStocksThread::RunningCount() == 0; }));
    SetProgramFolder("");
    GridTest::TearDown();
  }

  bool Settled() {
    return ProcessEventsUntil([&] {
      return !grid->FillRunning() && !form->RefreshPending() && grid->Cells(0, 7) == "TOTAL";
    });
  }
  QPoint Centre(int col, int row) const {
    const TRect r = grid->CellRect(col, row);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }

  QTemporaryDir dir;
  std::unique_ptr<TmForm> form;
  TStockGrid *grid = nullptr;
};

TEST_F(GridPictureTest, MainWindowGrid) {
  form = std::make_unique<TmForm>();
  form->resize(1180, 360);
  form->show();
  grid = form->StockGrid;
  ASSERT_TRUE(Settled());
  grid->AutoFitColumns();

  // Sorted by Last, largest first.
  const int lastCol = grid->ColPos[gfLast];
  ASSERT_GE(lastCol, 0);
  gridtest::Click(grid->viewport(), Centre(lastCol, 0));
  ASSERT_TRUE(Settled());
  EXPECT_EQ(grid->Cells(0, 1), "NVDA");
  EXPECT_EQ(grid->Cells(0, 6), "GOOGL");

  // A highlighted row, a fresh news item and an alert colour.
  gridtest::Click(grid->viewport(), Centre(lastCol, 3));
  EXPECT_EQ(grid->HighlightSymbol, grid->Cells(0, 3));
  NewsRows.Set(gkMainGrid, 2, true);
  NewsRowTimes.Set(gkMainGrid, 2, GridNow - 0.1);
  auto alert = TAlertRecord::Create();
  alert->Symbol = grid->Cells(0, 5);
  alert->P1 = 10;
  alert->P2 = 1;
  alert->HighlightColor = 0xFFC080; // light blue
  alert->ActiveActions = TActionSet::FromBits(1u << ActionHighlightRow);
  alert->ActivationTimes[ActionHighlightRow] = AppClock().Now();
  AlertSystem().AddAlert(std::move(alert));
  grid->InvalidateGrid();

  const QImage picture = grid->grab().toImage();
  picture.save(QString::fromStdString(TestArtifactPath("stockgrid_painted.png")));
  // The alert row is light blue.
  const QPoint alertCell = Centre(grid->ColPos[gfVolume] >= 0 ? grid->ColPos[gfVolume] : 1, 5);
  EXPECT_EQ(picture.pixelColor(alertCell + QPoint(0, 0)).rgb() & 0xFFFFFF, 0x80C0FFu)
      << "alert row background";

  // The drop mark of a drag of the second column over the fourth.
  grid->DropCol = 4;
  grid->InvalidateGrid();
  grid->grab().save(QString::fromStdString(TestArtifactPath("stockgrid_dropmark.png")));
  grid->DropCol = -1;
}

} // namespace
