#pragma once
// The main window as the program runs it: a data folder of its own with
// BOURSE.INI, port.dat and quotes.csv, quotes read through the refresh timer,
// and what the window shows read back from its backing store (the picture
// the screen holds, not a fresh paint).
#include "views/stockgrid/GridTestSupport.h"

#include "acquisition/QuoteIntake.h"
#include "alerts/AlertsModule.h"
#include "alerts/PendingAlertQueue.h"
#include "core/IniFile.h"
#include "core/PortfolioFile.h"
#include "core/ProgramFolder.h"
#include "mainwin/MainForm.h"
#include "platform/Color.h"
#include "platform/Format.h"
#include "platform/StringGridTestEvents.h"
#include "support/EventWait.h"
#include "support/TestPaths.h"
#include "views/stockgrid/ColorScheme.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGrid.h"

#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Quotes of the sample portfolios' symbols, in the file's format.
inline const char *const kSampleQuotesCsv =
    "Symbol,Last,Bid,Ask,Volume,High,Low,PrevClose,BidSize,AskSize\n"
    "AAPL,185.20,185.18,185.22,51234500,186.40,183.90,184.10,300,200\n"
    "MSFT,372.50,372.45,372.55,20345100,374.00,370.10,370.90,100,400\n"
    "AMZN,151.90,151.88,151.93,38120400,153.10,150.30,150.20,500,300\n"
    "GOOGL,140.40,140.38,140.42,24510300,141.25,139.10,139.60,200,200\n"
    "NVDA,495.20,495.10,495.30,41200800,499.80,488.60,490.97,100,100\n"
    "JPM,170.30,170.28,170.33,9120300,171.05,169.20,169.80,400,300\n"
    "JNJ,158.80,158.78,158.82,6980100,159.40,157.90,158.20,200,300\n"
    "PG,149.60,149.58,149.63,5870200,150.20,148.90,151.00,300,200\n"
    "KO,59.10,59.09,59.11,12450600,59.35,58.80,58.95,800,600\n"
    "XOM,102.70,102.68,102.72,16230900,103.50,101.90,104.30,500,400\n"
    "CVX,149.10,149.07,149.12,8450700,150.00,148.20,150.60,200,300\n";

class ProgramWindowTest : public GridTest {
protected:
  void SetUp() override {
    GridTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    for (const char *name : {"BOURSE.INI", "port.dat"})
      ASSERT_TRUE(QFile::copy(QString::fromStdString(TestDataPath(name)),
                              dir.filePath(QString::fromUtf8(name))));
    QFile::setPermissions(dir.filePath(QStringLiteral("BOURSE.INI")),
                          QFile::ReadOwner | QFile::WriteOwner);
    WriteQuotes(kSampleQuotesCsv);
    OpenSettingsFile();
    ASSERT_TRUE(LoadPortfolios(dir.filePath(QStringLiteral("port.dat")).toStdString()));
    AppQuoteIntake().Reset();
    AppQuoteIntake().SetDemo(false);
    QuoteIntake::SetQuoteReadWaitMs(60000); // a tick stores what the file holds
    AlertSystem().ClearAll();
    PendingAlerts().Clear();
  }
  void TearDown() override {
    form.reset();
    EXPECT_TRUE(PollUntil([] { return ShowStocksThread::RunningCount() == 0; }));
    AlertSystem().ClearAll();
    PendingAlerts().Clear();
    AppQuoteIntake().Reset();
    QuoteIntake::SetQuoteReadWaitMs(DefaultQuoteReadWaitMs);
    SetProgramFolder("");
    GridTest::TearDown();
  }

  // Rewrites quotes.csv as a feeding program would (a new file renamed over it).
  void WriteQuotes(const std::string &text) {
    QSaveFile f(dir.filePath(QStringLiteral("quotes.csv")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), qint64(text.size()));
    ASSERT_TRUE(f.commit());
  }

  // Builds and shows the main window; its timers are stopped so that the
  // test runs every tick itself.
  void ShowForm(int width = 1180, int height = 360) {
    form = std::make_unique<TmForm>();
    form->resize(width, height);
    form->show();
    form->Timer1->stop();
    form->Timer2->stop();
    grid = form->StockGrid;
    ASSERT_TRUE(ProcessEventsUntil(
        [&] { return form->windowHandle() && form->windowHandle()->isExposed(); }));
  }

  // Waits until no fill runs or is waiting, also after the events a fill's
  // end posts (which may start another fill), then lets the window paint.
  bool Settle() { return SettleGrid(grid, [&] { return !form->RefreshPending(); }); }

  template <class Pred> static bool SettleGrid(TStockGrid *g, Pred noneWaiting) {
    for (int round = 0; round < 50; ++round) {
      if (!ProcessEventsUntil([&] { return !g->FillRunning() && noneWaiting(); }))
        return false;
      for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
      if (!g->FillRunning() && noneWaiting())
        return true;
    }
    return false;
  }

  // A refresh tick (quotes.csv and the updated symbols), settled.
  bool Refresh() {
    form->Timer1Timer();
    return Settle();
  }
  // A heartbeat, settled.
  bool Heartbeat() {
    form->Timer2Timer();
    return Settle();
  }

  std::string Field(int field, int row) const { return grid->Cells(grid->ColPos[field], row); }
  // A price or amount cell as a number (marks and thousands separators left out).
  double Number(int field, int row) const {
    std::string t;
    for (char c : Field(field, row))
      if (c != '<' && c != '>' && c != ',')
        t += c;
    return t.empty() ? 0 : StrToFloat(t);
  }
  // The display row of a symbol; -1 when not shown.
  int RowOf(const std::string &symbol) const {
    for (int r = 1; r < grid->RowCount(); ++r)
      if (grid->Cells(0, r) == symbol)
        return r;
    return -1;
  }
  // The symbols of rows 1..count, top to bottom.
  std::vector<std::string> SymbolsShown(int count) const {
    std::vector<std::string> out;
    for (int r = 1; r <= count; ++r)
      out.push_back(grid->Cells(0, r));
    return out;
  }

  // What the screen shows of the main window (its backing store).
  QImage Screen() const {
    return form->windowHandle()->screen()->grabWindow(form->winId()).toImage();
  }
  // A cell of the grid in the window's coordinates.
  QRect CellOnScreen(int col, int row) const {
    const TRect r = grid->CellRect(col, row);
    const QPoint topLeft = grid->viewport()->mapTo(form.get(), QPoint(r.Left, r.Top));
    return QRect(topLeft, QSize(r.Right - r.Left, r.Bottom - r.Top));
  }
  // The colour most pixels of the rectangle have (a cell's background).
  static QColor Background(const QImage &image, const QRect &rect) {
    std::map<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x)
        if (image.rect().contains(x, y))
          ++counts[image.pixel(x, y) & 0xFFFFFF];
    QRgb best = 0;
    int most = -1;
    for (const auto &[rgb, n] : counts)
      if (n > most) {
        best = rgb;
        most = n;
      }
    return QColor(best);
  }
  // Pixels of the rectangle in a colour.
  static int CountColor(const QImage &image, const QRect &rect, const QColor &color) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x)
        if (image.rect().contains(x, y) && (image.pixel(x, y) & 0xFFFFFF) == (color.rgb() & 0xFFFFFF))
          ++n;
    return n;
  }

  // The grid columns whose titles show the sort mark on screen.
  std::vector<int> SortMarkColumns() const {
    const QImage image = Screen();
    const QColor mark = ToQColor(CurrentScheme.SortArrow);
    std::vector<int> cols;
    for (int c = 0; c < grid->ColCount(); ++c) {
      const QRect cell = CellOnScreen(c, 0);
      if (cell.isValid() && CountColor(image, cell, mark) >= 10)
        cols.push_back(c);
    }
    return cols;
  }

  // A left click on a column title, through the grid's viewport.
  void ClickTitle(int col) {
    const TRect r = grid->CellRect(col, 0);
    const QPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    gridtest::Click(grid->viewport(), p);
  }

  void SavePicture(const char *name) const {
    Screen().save(QString::fromStdString(TestArtifactPath(name)));
  }

  QTemporaryDir dir;
  std::unique_ptr<TmForm> form;
  TStockGrid *grid = nullptr;
};
