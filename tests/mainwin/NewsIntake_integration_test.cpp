// News fed through news.csv reach the running program: the news window, the
// grid's bulb, and a news alert's pop-up and e-mail, all through the program's
// own threads and timers.
#include "mainwin/ProgramWindowTest.h"

#include "acquisition/NewsIntake.h"
#include "acquisition/NewsIntakeThread.h"
#include "acquisition/NewsThreadState.h"
#include "alerts/AlertNames.h"
#include "alerts/EMailRecord.h"
#include "alerts/news/NewsForm.h"
#include "alerts/news/NewsWindowOpener.h"
#include "alerts/ui/AlertDlg.h"
#include "alerts/ui/AlertPopupWindows.h"
#include "core/DisplaySettings.h"
#include "core/MarketTime.h"
#include "mainwin/ProgramServices.h"
#include "platform/Format.h"
#include "support/SmtpTestServer.h"

#include <QJsonArray>
#include <QPushButton>
#include <QStatusBar>

namespace {

class NewsIntakeProgramTest : public ProgramWindowTest {
protected:
  void SetUp() override {
    if (const std::string why = SmtpTestServer::Unavailable(); !why.empty())
      GTEST_SKIP() << why;
    ProgramWindowTest::SetUp();
    // Four threads share the store here: locks wait as in the program.
    LockTimings locks;
    locks.retryIntervalMs = 1;
    MyCriticalSection::SetTimings(locks);
    SetNewsLockTimings(NewsLockTimings{20, 2});
    std::string error;
    ASSERT_TRUE(server.Start({}, &error)) << error;
    MailSettings mail;
    mail.SMTPHost = "127.0.0.1";
    mail.SMTPPort = server.Port();
    mail.FromAddress = "alerts@example.com";
    SetMailSettings(mail);
    EMailSetups().Add("Desk",
                      std::make_unique<EMailRecord>("SETUP01", "News on <SYMBOL>", "News alert",
                                                    "ann@example.com", "Desk"));
    // News every minute, a minute being 200 ms; the alert and mail threads at once.
    TMyIniFile &ini = SettingsFile();
    ini.WriteInteger("News", "Refresh", 1);
    ini.WriteInteger("News", "LowRefresh", 1);
    ini.WriteInteger("ExNews", "Count", 1);
    ini.WriteString("ExNews", "Rule1", "S:junk");
    NewsIntakeTimings news;
    news.MinuteMs = 200;
    news.MinPeriodMs = 1;
    news.PollMs = 10;
    SetNewsIntakeTimings(news);
    SetProgramServiceTimings({AlertProcessTimings{0, 20}, TSenderTimings{20000, 10, 20}});
    TNewsWindowTimings window;
    window.TimerIntervalMs = 20;
    window.RefreshEveryTicks = 1;
    window.SelectDelayMs = 0;
    window.CloseDelayMs = 0;
    window.CloseFinalDelayMs = 0;
    SetNewsWindowTimings(window);
    AppNewsIntake().Reset();
    ResetNewsThreadState();
  }
  void TearDown() override {
    if (IsSkipped())
      return;
    if (TfrmNews *news = NewsWindow())
      news->close();
    CloseAlertDialogWindows("ALL");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ProgramWindowTest::TearDown();
    server.Stop();
    EMailSetups().Clear();
    ResetMailSettings();
    SetProgramServiceTimings({});
    SetNewsIntakeTimings({});
    SetNewsWindowTimings({});
    SetDisplaySettings(TDisplaySettings());
    AppNewsIntake().Reset();
    ResetNewsThreadState();
  }

  // A news line dated minutesAgo before now (market time).
  static std::string Line(const std::string &symbol, int minutesAgo, const std::string &source,
                          const std::string &title, const std::string &link) {
    const TDateTime time = EasternNow() - minutesAgo / 1440.0;
    return symbol + "," + FormatDateTime("yyyy-mm-dd hh:nn:ss", time) + "," + source + ",\"" +
           title + "\"," + link + "\r\n";
  }
  void WriteNews(const std::string &text) {
    QSaveFile f(dir.filePath(QStringLiteral("news.csv")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), qint64(text.size()));
    ASSERT_TRUE(f.commit());
  }
  static bool Listed(TfrmNews *window, const std::string &title) {
    for (int r = 1; r < window->tbNews->RowCount(); ++r)
      if (window->tbNews->Cells(2, r) == title)
        return true;
    return false;
  }
  static TAlertRecord Stored(const std::string &id) {
    TAlertRecord copy;
    MyLockGuard guard(AlertSystem().Lock, "TEST");
    if (TAlertRecord *alert = AlertSystem().FindByID(id))
      copy.AssignFixed(*alert);
    return copy;
  }

  SmtpTestServer server;
};

TEST_F(NewsIntakeProgramTest, FileNewsReachTheWindowsAndFireANewsAlert) {
  ShowForm();
  ASSERT_TRUE(Refresh());
  const int row = RowOf("MSFT");
  ASSERT_GE(row, 1);

  // A news alert on MSFT: any item of the last day.
  auto alert = std::make_unique<TAlertRecord>();
  alert->Symbol = "MSFT";
  alert->AlertType = AlertTypeNews;
  alert->P1 = 24;
  alert->EMailSetupID = "SETUP01";
  for (int action : {ActionPopup, ActionEMail, ActionHighlightRow})
    alert->Actions.Include(action);
  const std::string id = AlertSystem().AddAlert(std::move(alert));
  // A new quote brings MSFT to the alert thread, whose first look finds no news.
  std::string quotes = kSampleQuotesCsv;
  quotes.replace(quotes.find("372.50,"), 7, "372.60,");
  WriteQuotes(quotes);
  ASSERT_TRUE(Refresh());
  ASSERT_TRUE(PollUntil([&] { return Stored(id).P5 == 1.0; }));

  // The news window shows another symbol: showing MSFT would clear its bulb.
  TfrmNews *window = OpenNewsWindow("JPM");
  ASSERT_NE(window, nullptr);
  const QRect bulbArea = CellOnScreen(0, row).adjusted(CellOnScreen(0, row).width() - 10, 0, 0, 0);
  const QColor outline = ToQColor(CurrentScheme.BulbOutline);
  ASSERT_EQ(CountColor(Screen(), bulbArea, outline), 0);

  const int reads = AppNewsIntake().ReadCount();
  WriteNews("\xEF\xBB\xBFSymbol,Time,Source,Title,Link\r\n" +
            Line("MSFT", 5, "Wire", "MSFT opens a lab, in Oslo", "https://example.com/msft-1") +
            Line("MSFT", 4, "Junk Wire", "MSFT spam", "https://example.com/spam") +
            Line("AAPL", 3, "Wire", "AAPL item", "https://example.com/aapl-1"));
  // The grid's next heartbeat draws the bulb; the alert pops up and mails.
  ASSERT_TRUE(ProcessEventsUntil([&] {
    form->Timer2Timer();
    return CountColor(Screen(), bulbArea, outline) > 0;
  }));
  EXPECT_EQ(AppNewsIntake().ReadCount(), reads + 1) << "one read took the new file";
  ASSERT_TRUE(ProcessEventsUntil([&] {
    form->Timer2Timer();
    return !TAlertDlg::OpenDialogs().empty();
  }));
  SavePicture("program_news_bulb.png");
  ASSERT_TRUE(
      server.WaitFor([](const SmtpTestServer &s) { return !s.EventsOf("message").empty(); }));
  const QJsonObject mail = server.EventsOf("message").front();
  EXPECT_EQ(mail["rcpt_tos"].toArray().first().toString(), "ann@example.com");
  EXPECT_TRUE(mail["content"].toString().contains("News on MSFT"))
      << mail["content"].toString().toStdString();

  // The window lists the item when MSFT is chosen; the rule dropped the junk.
  window->ShowSymbol("MSFT");
  ASSERT_TRUE(ProcessEventsUntil([&] { return Listed(window, "MSFT opens a lab, in Oslo"); }));
  EXPECT_FALSE(Listed(window, "MSFT spam")) << "dropped by the rule S:junk";

  // A rewrite with a bad line: the good lines are taken, the bad one reported.
  WriteNews("Symbol,Time,Source,Title,Link\n" +
            Line("MSFT", 5, "Wire", "MSFT opens a lab, in Oslo", "https://example.com/msft-1") +
            "MSFT,yesterday,Wire,Bad time,https://example.com/bad\n" +
            Line("MSFT", 2, "Wire", "MSFT second item", "https://example.com/msft-2"));
  ASSERT_TRUE(ProcessEventsUntil([&] { return Listed(window, "MSFT second item"); }));
  const std::vector<QuoteCsvError> errors = AppNewsIntake().Errors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].Text(), "line 3: Time \"yesterday\" is not valid");
  EXPECT_TRUE(ProcessEventsUntil([&] {
    return form->statusBar()->currentMessage().endsWith(
        QStringLiteral(" news.csv line 3: Time \"yesterday\" is not valid"));
  })) << form->statusBar()->currentMessage().toStdString();

  // News every 3000 minutes from here on: after the next look at the file
  // only Force reads the next version in time.
  TDisplaySettings slow = CurrentDisplaySettings();
  slow.HighRefresh = slow.LowRefresh = 3000;
  SetDisplaySettings(slow);
  const int looks = AppNewsIntake().LookCount();
  ASSERT_TRUE(PollUntil([&] { return AppNewsIntake().LookCount() > looks; }));
  WriteNews("Symbol,Time,Source,Title,Link\n" +
            Line("MSFT", 0, "Wire", "MSFT forced item", "https://example.com/msft-4"));
  window->pbForce->click();
  ASSERT_TRUE(ProcessEventsUntil([&] { return Listed(window, "MSFT forced item"); }));
}

} // namespace
