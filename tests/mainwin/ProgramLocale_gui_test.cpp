// The program in a German (decimal comma) and a Turkish (dotless i) locale
// reads, shows and stores exactly what it does in the C locale: the files are
// the program's own, whatever language the user's desktop speaks.
#include "mainwin/ProgramWindowTest.h"

#include "acquisition/NewsIntake.h"
#include "acquisition/NewsIntakeThread.h"
#include "acquisition/NewsThreadState.h"
#include "alerts/AlertEditRequest.h"
#include "alerts/AlertFile.h"
#include "alerts/news/NewsForm.h"
#include "alerts/news/NewsWindowOpener.h"
#include "alerts/pages/AlertParamControls.h"
#include "alerts/pages/AlertTree.h"
#include "alerts/pages/AlertsPage.h"
#include "core/MarketTime.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"
#include "prefs/PrefDialog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include <algorithm>
#include <clocale>
#include <fstream>
#include <sstream>

namespace {

// Settings keys in another case than the program spells them: the program
// must find them, and write its values over them rather than beside them.
constexpr const char *kOtherCaseSettings = "\n[MISC]\nHIGHBIDASK=NO\n[news]\nmaxitems=77\n";
constexpr const char *kNewsHeader = "Symbol,Time,Source,Title,Link\r\n";
// News of AAPL: minutes before now and title.
const std::pair<int, const char *> kNewsItems[] = {{30, "AAPL prices its bond at 99.75, in Izmir"},
                                                   {10, "AAPL lifts its dividend to 0.25"}};

// What one run of the program showed and stored.
struct Seen {
  std::vector<std::vector<std::string>> Cells; // the grid's rows as shown
  QImage Grid;                                 // the grid on screen
  std::vector<std::vector<std::string>> News;  // the news window's rows
  QImage NewsList;                             // the news list on screen
  std::string AlertNode;                       // the saved alert in the tree
  double AlertInFile = 0;                      // its price as ALERTS.DAT holds it
  std::string Settings;                        // BOURSE.INI after the dialog's OK
};

std::string ReadAll(const QString &path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Lines "key=..." of the key in any letter case.
int KeyLines(const std::string &ini, const std::string &key) {
  int n = 0;
  for (const std::string &line : SplitAtLineBreaks(ini))
    if (StartsText(key + "=", line))
      ++n;
  return n;
}

class ProgramLocaleTest : public ProgramWindowTest,
                          public ::testing::WithParamInterface<const char *> {
protected:
  void SetUp() override {
    startLocale = std::setlocale(LC_ALL, nullptr);
    ProgramWindowTest::SetUp();
    NewsIntakeTimings news;
    news.MinuteMs = 200;
    news.MinPeriodMs = 1;
    news.PollMs = 10;
    SetNewsIntakeTimings(news);
    TNewsWindowTimings window;
    window.TimerIntervalMs = 20;
    window.RefreshEveryTicks = 1;
    window.SelectDelayMs = 0;
    window.CloseDelayMs = 0;
    window.CloseFinalDelayMs = 0;
    SetNewsWindowTimings(window);
    RegisterAlertsPage();
  }
  void TearDown() override {
    EndRun();
    ProgramWindowTest::TearDown();
    SetNewsIntakeTimings({});
    SetNewsWindowTimings({});
    AppNewsIntake().Reset();
    ResetNewsThreadState();
    UseLocale(startLocale.c_str());
  }

  // The process locale as the application object sets it from the user's
  // environment (the C library's and Qt's).
  static bool UseLocale(const char *name) {
    if (!std::setlocale(LC_ALL, name))
      return false;
    QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    return true;
  }

  // The data folder of a run: the sample portfolios and settings, quotes of
  // every column, and news of AAPL.
  void WriteDataFolder(const QString &folder) {
    for (const char *name : {"BOURSE.INI", "port.dat"}) {
      QFile::remove(folder + "/" + name);
      ASSERT_TRUE(QFile::copy(QString::fromStdString(TestDataPath(name)), folder + "/" + name));
      QFile::setPermissions(folder + "/" + name, QFile::ReadOwner | QFile::WriteOwner);
    }
    QFile ini(folder + "/BOURSE.INI");
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write(kOtherCaseSettings);
    ini.close();
    QFile::remove(folder + "/" + AlertFileName);
    const TDateTime now = EasternNow();
    std::string news = kNewsHeader;
    for (const auto &[minutesAgo, title] : kNewsItems)
      news += "AAPL," + FormatDateTime("yyyy-mm-dd hh:nn:ss", now - minutesAgo / 1440.0) +
              ",Wire,\"" + title + "\",https://example.com/aapl\r\n";
    QFile file(folder + "/news.csv");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(news.data(), qint64(news.size()));
  }

  // Starts the program on a fresh data folder in the locale, reads what it
  // shows, types an alert price and closes the preferences with OK.
  Seen Run(const char *locale) {
    Seen seen;
    EndRun();
    GridTest::SetUp(); // empty stores: the news of the run before are no news
    EXPECT_TRUE(UseLocale(locale));
    runDir = std::make_unique<QTemporaryDir>();
    const QString folder = runDir->path();
    SetProgramFolder(folder.toStdString());
    WriteDataFolder(folder);
    dataFolder = folder;
    OpenSettingsFile();
    EXPECT_TRUE(LoadPortfolios((folder + "/port.dat").toStdString()));
    QSaveFile quotes(folder + "/quotes.csv");
    EXPECT_TRUE(quotes.open(QIODevice::WriteOnly));
    quotes.write(kSampleQuotesCsv);
    EXPECT_TRUE(quotes.commit());
    AppQuoteIntake().Reset();
    AppNewsIntake().Reset();
    ResetNewsThreadState();

    ShowForm();
    EXPECT_TRUE(Refresh());
    // The news thread reads news.csv; a heartbeat then lights AAPL's bulb.
    const int aapl = RowOf("AAPL");
    EXPECT_GE(aapl, 1);
    const QRect bulb = CellOnScreen(0, aapl).adjusted(CellOnScreen(0, aapl).width() - 10, 0, 0, 0);
    EXPECT_TRUE(ProcessEventsUntil([&] {
      EXPECT_TRUE(Heartbeat());
      return CountColor(Screen(), bulb, ToQColor(CurrentScheme.BulbOutline)) > 0;
    })) << "no news bulb";
    for (int r = 0; r < grid->RowCount(); ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < grid->ColCount(); ++c)
        row.push_back(grid->Cells(c, r));
      seen.Cells.push_back(row);
    }
    const QRect shown = grid->viewport()->rect();
    seen.Grid =
        Screen().copy(QRect(grid->viewport()->mapTo(form.get(), shown.topLeft()), shown.size()));

    // The news window lists the file's items of AAPL.
    TfrmNews *news = OpenNewsWindow("AAPL");
    EXPECT_NE(news, nullptr);
    if (news) {
      EXPECT_TRUE(ProcessEventsUntil([&] { return news->tbNews->RowCount() >= 3; }));
      for (int r = 1; r < news->tbNews->RowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < news->tbNews->ColCount(); ++c)
          row.push_back(news->tbNews->Cells(c, r));
        seen.News.push_back(row);
      }
      EXPECT_TRUE(ProcessEventsUntil(
          [&] { return news->windowHandle() && news->windowHandle()->isExposed(); }));
      for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
      QWidget *list = news->tbNews->viewport();
      seen.NewsList = news->windowHandle()
                          ->screen()
                          ->grabWindow(news->winId())
                          .toImage()
                          .copy(QRect(list->mapTo(news, QPoint(0, 0)), list->size()));
      news->close();
    }

    // A new alert for AAPL, its price typed, saved, and the dialog closed with OK.
    AlertEditRequest().Set("!AAPL");
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [&] {
      TdlgPref *dialog = TdlgPref::OpenDialog();
      auto *page = dialog ? qobject_cast<TOPanAlerts *>(dialog->CurrentPage()) : nullptr;
      if (!page || !dialog->isVisible())
        return;
      typist.stop();
      page->Timer1Timer(); // takes the request
      auto *price = qobject_cast<QLineEdit *>(page->ParamFields()->Control(1001));
      EXPECT_TRUE(page->NewAlertMode());
      EXPECT_NE(price, nullptr);
      if (price) {
        price->selectAll();
        for (QChar c : QStringLiteral("120.50")) {
          QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
          QApplication::sendEvent(price, &press);
        }
      }
      page->pbSaveIt->click();
      if (QTreeWidgetItem *node = page->ATree->currentItem())
        seen.AlertNode = node->text(0).toStdString();
      dialog->pbOK->click();
    });
    typist.start(5);
    form->OpenPreferences(); // modal until OK
    typist.stop();

    AlertSystemClass stored;
    LoadAlertFile(stored, (folder + "/" + AlertFileName).toStdString());
    {
      MyLockGuard guard(stored.Lock, "TEST");
      EXPECT_EQ(stored.CountLocked(), 1);
      if (stored.CountLocked() > 0)
        seen.AlertInFile = stored.AlertAt(0)->P1;
    }
    seen.Settings = ReadAll(folder + "/BOURSE.INI");
    return seen;
  }

  // Closes the window of a run and forgets its alerts.
  void EndRun() {
    if (TfrmNews *news = NewsWindow())
      news->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    form.reset();
    grid = nullptr;
    EXPECT_TRUE(PollUntil([] { return ShowStocksThread::RunningCount() == 0; }));
    AlertSystem().ClearAll();
    PendingAlerts().Clear();
    AlertEditRequest().Clear();
  }

  std::string startLocale;
  std::unique_ptr<QTemporaryDir> runDir;
  QString dataFolder;
};

TEST_P(ProgramLocaleTest, ShowsAndStoresWhatItDoesInTheCLocale) {
  const char *locale = GetParam();
  if (!std::setlocale(LC_ALL, locale))
    GTEST_SKIP() << locale << " is not installed (scripts/setup-deps generates it)";
  const Seen c = Run("C");
  const Seen local = Run(locale);

  // The quotes of every column, the paid prices and gains (the window of the
  // second run is still open).
  const int aapl = RowOf("AAPL");
  ASSERT_GE(aapl, 1);
  const std::pair<int, const char *> cells[] = {
      {gfLast, "185.2"}, {gfBid, "185.18"}, {gfAsk, "185.22"},      {gfHigh, "186.4"},
      {gfLow, "183.9"},  {gfPaid, "172.4"}, {gfGain, "+7.36% 635"}, {gfVolume, "51,234,500"}};
  for (const auto &[field, text] : cells)
    EXPECT_EQ(Trim(Field(field, aapl)), text) << "field " << field;
  ASSERT_EQ(local.Cells.size(), c.Cells.size());
  for (std::size_t r = 0; r < c.Cells.size(); ++r)
    EXPECT_EQ(local.Cells[r], c.Cells[r]) << "row " << r;
  c.Grid.save(QString::fromStdString(TestArtifactPath("program_locale_grid_c.png")));
  local.Grid.save(QString::fromStdString(TestArtifactPath("program_locale_grid.png")));
  EXPECT_TRUE(local.Grid == c.Grid) << "the grid on screen differs";

  // The news items.
  ASSERT_EQ(c.News.size(), 2u);
  EXPECT_EQ(local.News, c.News);
  for (const auto &[minutesAgo, title] : kNewsItems)
    EXPECT_TRUE(std::any_of(local.News.begin(), local.News.end(), [&](const auto &row) {
      return row[2] == title;
    })) << title;
  EXPECT_TRUE(local.NewsList == c.NewsList) << "the news list on screen differs";

  // The alert price typed, as the tree shows it and ALERTS.DAT holds it.
  EXPECT_EQ(c.AlertInFile, 120.5);
  EXPECT_EQ(local.AlertInFile, 120.5);
  EXPECT_EQ(local.AlertNode, c.AlertNode);
  EXPECT_NE(c.AlertNode.find("120.5"), std::string::npos) << c.AlertNode;

  // Settings keys of another letter case were read and written over, once.
  for (const Seen *run : {&c, &local}) {
    EXPECT_EQ(KeyLines(run->Settings, "HighBidAsk"), 1) << run->Settings;
    EXPECT_EQ(KeyLines(run->Settings, "MaxItems"), 1) << run->Settings;
  }
  EXPECT_EQ(local.Settings, c.Settings);
  TMyIniFile ini((dataFolder + "/BOURSE.INI").toStdString());
  EXPECT_EQ(ini.ReadString("Misc", "HighBidAsk", ""), "NO");
  EXPECT_EQ(ini.ReadInteger("News", "MaxItems", 0), 77);
}

INSTANTIATE_TEST_SUITE_P(Locales, ProgramLocaleTest,
                         ::testing::Values("de_DE.UTF-8", "tr_TR.UTF-8"),
                         [](const auto &info) { return std::string(info.param).substr(0, 2); });

} // namespace
