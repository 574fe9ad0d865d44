// Hostile news.csv and quotes.csv fed to the running program: the news intake
// thread and the refresh timer read them, bourse.log and the status line say
// what was wrong, and nothing of a bad line is stored or written raw.
#include "mainwin/ProgramWindowTest.h"

#include "acquisition/NewsIntake.h"
#include "acquisition/NewsIntakeThread.h"
#include "acquisition/NewsThreadState.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "core/NewsStore.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"
#include "platform/VisibleText.h"

#include <QRegularExpression>
#include <QStatusBar>

#include <algorithm>

namespace {

class OutsideFilesTest : public ProgramWindowTest {
protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    // A look at news.csv every 20 ms.
    NewsIntakeTimings news;
    news.MinuteMs = 20;
    news.MinPeriodMs = 1;
    news.PollMs = 5;
    SetNewsIntakeTimings(news);
    TMyIniFile &ini = SettingsFile();
    ini.WriteInteger("News", "Refresh", 1);
    ini.WriteInteger("News", "LowRefresh", 1);
    AppNewsIntake().Reset();
    ResetNewsThreadState();
    StartLogging(1);
  }
  void TearDown() override {
    ProgramWindowTest::TearDown(); // the window stops the intake thread
    StopLogging();
    SetNewsIntakeTimings({});
    AppNewsIntake().Reset();
    ResetNewsThreadState();
  }

  void WriteFile(const char *name, const std::string &bytes) {
    QSaveFile f(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
    ASSERT_TRUE(f.commit());
  }
  std::string Log() const {
    QFile f(dir.filePath(QStringLiteral("bourse.log")));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
  }
  int LogCount(const std::string &text) const {
    const std::string log = Log();
    int n = 0;
    for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
      ++n;
    return n;
  }
  // Lets the intake thread look at news.csv a few more times.
  static bool MoreLooks(int looks) {
    const int from = AppNewsIntake().LookCount();
    return PollUntil([&] { return AppNewsIntake().LookCount() >= from + looks; });
  }
  static std::vector<std::string> Titles(const std::string &symbol) {
    std::vector<std::string> out;
    for (const NewsItem &item : GetNewsItems(symbol))
      out.push_back(item.Title);
    std::sort(out.begin(), out.end());
    return out;
  }
  // Every line of the log is one entry: a time stamp, then visible text.
  void ExpectLogLinesWhole() const {
    const std::string log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(VisibleLines(log), log) << "control or undecodable bytes in the log";
    const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d "));
    for (const std::string &line : SplitAtLineBreaks(log)) {
      if (!line.empty()) {
        EXPECT_TRUE(stamp.match(QString::fromStdString(line)).hasMatch()) << line;
      }
    }
  }
};

TEST_F(OutsideFilesTest, BadTextIsRefusedAndShownEscapedAndTwoHeadlinesOfAMinuteAreKept) {
  const std::string minute =
      FormatDateTime("yyyy-mm-dd hh:nn", EasternNow() - 5 / 1440.0); // no seconds, no link
  const std::string header = "Symbol,Time,Source,Title,Link\n";
  ShowForm();
  ASSERT_TRUE(Refresh());
  WriteFile("news.csv", header + "KO," + minute + ",Wire,First headline,\n");
  ASSERT_TRUE(PollUntil([] { return !GetNewsItems("KO").empty(); }));

  // A later version: a second headline of the same minute, and text fields
  // holding C0 controls (a forged log line), C1 controls and bytes of no
  // UTF-8 character.
  const std::string forged = std::string("Forged\x1b[2J\r10:00:00.000 FAKE LINE\0", 34);
  WriteFile("news.csv", header + "KO," + minute + ",Wire,First headline,\n" + //
                            "KO," + minute + ",Wire,Second headline,\n" +     //
                            "KO," + minute + ",Wire,\"" + forged + "\",\n" +  //
                            "KO," + minute +
                            ",Wire,CSI \xc2\x9b"
                            "31m red,\n" +
                            "KO," + minute + ",Wire,Next \xc2\x85 line,\n" + "KO," + minute +
                            ",W\xff\xfe,Bad bytes,\n" + "KO," + minute +
                            ",Wire,Overlong \xc0\xaf slash,\n" + "K\x1bO," + minute +
                            ",Wire,Escape in the symbol,\n");
  ASSERT_TRUE(PollUntil([] { return AppNewsIntake().Errors().size() == 6; }))
      << AppNewsIntake().Errors().size();
  EXPECT_EQ(Titles("KO"), (std::vector<std::string>{"First headline", "Second headline"}))
      << "the second headline of the minute is kept, nothing of the bad lines";

  const std::string logged[] = {
      R"(NewsIntake Error: news.csv line 4: Title "Forged\x1b[2J\x0d10:00:00.000 FAKE LINE\x00" is not valid)",
      R"(NewsIntake Error: news.csv line 5: Title "CSI \xc2\x9b31m red" is not valid)",
      R"(NewsIntake Error: news.csv line 6: Title "Next \xc2\x85 line" is not valid)",
      R"(NewsIntake Error: news.csv line 7: Source "W\xff\xfe" is not valid)",
      R"(NewsIntake Error: news.csv line 8: Title "Overlong \xc0\xaf slash" is not valid)",
      R"(NewsIntake Error: news.csv line 9: bad symbol "K\x1bO")",
  };
  for (const std::string &line : logged)
    EXPECT_EQ(LogCount(line + "\n"), 1) << line << "\n" << Log();
  ExpectLogLinesWhole();
  // The status line shows the first, escaped as in the log.
  ASSERT_TRUE(ProcessEventsUntil([&] {
    return form->statusBar()->currentMessage().endsWith(QString::fromStdString(
        R"( news.csv line 4: Title "Forged\x1b[2J\x0d10:00:00.000 FAKE LINE\x00" is not valid (6 errors))"));
  })) << form->statusBar()->currentMessage().toStdString();

  // quotes.csv: a bad price and a company name with an escape sequence.
  WriteQuotes(std::string(kSampleQuotesCsv) + "IBM,1\x1b[31m,1,1,1,1,1,1,1,1\n");
  ASSERT_TRUE(Refresh());
  EXPECT_EQ(LogCount(R"(QuoteIntake Error: quotes.csv line 13: Last "1\x1b[31m" is not valid)"
                     "\n"),
            1)
      << Log();
  WriteQuotes("Symbol,Last,CompanyName\nIBM,150,\"Big \xc2\x9b"
              "31m Blue\"\nKO,60,Cola\n");
  ASSERT_TRUE(Refresh());
  EXPECT_EQ(LogCount(R"(quotes.csv line 2: CompanyName "Big \xc2\x9b31m Blue" is not valid)"), 1);
  ExpectLogLinesWhole();
}

TEST_F(OutsideFilesTest, ARefusedFileIsReportedOnceUntilItChanges) {
  ShowForm();
  ASSERT_TRUE(Refresh());
  const std::string header = "Symbol,Time,Source,Title,Link\n";
  const std::string newsTooLarge = "news.csv is larger than 8 MB; not read";
  WriteFile("news.csv", header + "#" + std::string(MaxNewsFileBytes, 'x') + "\n");
  ASSERT_TRUE(PollUntil([&] { return LogCount(newsTooLarge) == 1; }));
  ASSERT_TRUE(MoreLooks(10));
  EXPECT_EQ(LogCount(newsTooLarge), 1) << "one report for one version of the file";
  EXPECT_EQ(AppNewsIntake().Errors().at(0).Text(), newsTooLarge);
  // Another version, still too large, is reported again, once.
  WriteFile("news.csv", header + "#" + std::string(MaxNewsFileBytes + 1, 'y') + "\n");
  ASSERT_TRUE(PollUntil([&] { return LogCount(newsTooLarge) == 2; }));
  ASSERT_TRUE(MoreLooks(10));
  EXPECT_EQ(LogCount(newsTooLarge), 2);

  const std::string quotesTooLarge = "QuoteIntake Error: quotes.csv is larger than 16 MB; not read";
  WriteQuotes(std::string(kSampleQuotesCsv) + "#" + std::string(MaxQuoteFileBytes, 'q') + "\n");
  for (int i = 0; i < 6; ++i)
    ASSERT_TRUE(Refresh());
  EXPECT_EQ(LogCount(quotesTooLarge), 1) << Log().substr(0, 2000);
  WriteQuotes(kSampleQuotesCsv);
  ASSERT_TRUE(Refresh());
  WriteQuotes(std::string(kSampleQuotesCsv) + "#" + std::string(MaxQuoteFileBytes, 'r') + "\n");
  for (int i = 0; i < 6; ++i)
    ASSERT_TRUE(Refresh());
  EXPECT_EQ(LogCount(quotesTooLarge), 2) << "a new version that is too large is said again";
}

} // namespace
