// The news.csv reader's line rules, and the intake's own promises that the
// program-level test does not reach: items trimmed by MaxItems stay away on
// the next read, and DEMO items.
#include "acquisition/NewsCsv.h"
#include "acquisition/NewsIntake.h"
#include "acquisition/NewsThreadState.h"
#include "acquisition/UpdatedSymbols.h"
#include "core/CriticalSection.h"
#include "core/DisplaySettings.h"
#include "core/MarketTime.h"
#include "core/NewsStore.h"
#include "core/Portfolio.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "platform/Clock.h"

#include <QSaveFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct LineCase {
  const char *name;
  const char *line;
  const char *error; // "" when the line is taken
};

TEST(NewsCsvTest, LineRules) {
  const LineCase cases[] = {
      {"plain", "aapl,2026-12-04 09:45,Wire,Title,https://example.com/a", ""},
      {"quoted comma and quotes", "KO,2026-12-04 09:45:30,Wire,\"a, \"\"b\"\"\",", ""},
      {"typed address", "KO,2026-12-04T09:45,Wire,T,www.example.com/a", ""},
      {"no time", "KO,,Wire,T,", "line 2: no time"},
      {"time of day only", "KO,09:45,Wire,T,", "line 2: Time \"09:45\" is not valid"},
      {"no such day", "KO,2026-02-30 09:45,Wire,T,",
       "line 2: Time \"2026-02-30 09:45\" is not valid"},
      {"before 1900", "KO,1899-12-31 09:45,Wire,T,",
       "line 2: Time \"1899-12-31 09:45\" is not valid"},
      {"no source", "KO,2026-12-04 09:45,,T,", "line 2: no source"},
      {"no title", "KO,2026-12-04 09:45,Wire,  ,", "line 2: no title"},
      {"control character", "KO,2026-12-04 09:45,Wire,\"a\tb\",",
       "line 2: Title \"a\\x09b\" is not valid"},
      {"not a web address", "KO,2026-12-04 09:45,Wire,T,file:///etc/passwd",
       "line 2: Link \"file:///etc/passwd\" is not a web address"},
      {"script link", "KO,2026-12-04 09:45,Wire,T,javascript:alert(1)",
       "line 2: Link \"javascript:alert(1)\" is not a web address"},
      {"cash", "$CASH,2026-12-04 09:45,Wire,T,", "line 2: cash has no news"},
      {"fields", "KO,2026-12-04 09:45,Wire,T", "line 2: 4 fields where the header has 5"},
      {"long field cut in the message",
       "KO,2026-12-04 09:45,Wire,T,ftp://example.com/0123456789012345678901234567890123456789",
       "line 2: Link \"ftp://example.com/0123456789012345678901\" is not a web address"},
  };
  for (const LineCase &c : cases) {
    const NewsCsvResult r = ParseNewsCsv(std::string("Symbol,Time,Source,Title,Link\r\n") + c.line);
    if (*c.error) {
      EXPECT_TRUE(r.Rows.empty()) << c.name;
      ASSERT_EQ(r.Errors.size(), 1u) << c.name;
      EXPECT_EQ(r.Errors[0].Text(), c.error) << c.name;
    } else {
      EXPECT_TRUE(r.Errors.empty()) << c.name << ": " << r.Errors.at(0).Text();
      EXPECT_EQ(r.Rows.size(), 1u) << c.name;
    }
  }
  const NewsCsvResult typed =
      ParseNewsCsv("\xEF\xBB\xBF title , LINK,Source,sym "
                   "bol,Time,Extra\nA,www.example.com/a,W,ko,2026-12-04 09:45,x\n");
  ASSERT_EQ(typed.Rows.size(), 1u);
  EXPECT_EQ(typed.Rows[0].Symbol, "KO");
  EXPECT_EQ(typed.Rows[0].Link, "http://www.example.com/a");
  EXPECT_EQ(ParseNewsCsv("Symbol,Time,Title,Link\n").Errors.at(0).Text(),
            "line 1: the header names no Source column");
  // A typed address that the added "http://" takes past the cap.
  const std::string longLink = "www.example.com/" + std::string(NewsLinkMaxLength - 20, 'a');
  EXPECT_EQ(ParseNewsCsv("Symbol,Time,Source,Title,Link\nKO,2026-12-04 09:45,W,T," + longLink)
                .Errors.at(0)
                .Text(),
            "line 2: Link \"" + longLink.substr(0, 40) + "\" is not valid");
  const NewsCsvResult capped = ParseNewsCsv(
      "Symbol,Time,Source,Title,Link\nA,2026-12-04 09:45,W,1,\nA,2026-12-04 09:45,W,2,\n", 2);
  EXPECT_EQ(capped.Rows.size(), 1u);
  EXPECT_EQ(capped.Errors.at(0).Text(), "more than 2 lines; the rest is not read");
}

class NewsIntakeTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    SetAppClock(&clock);
    ResetStockStore();
    ClearUpdatedSymbolSets();
    ResetNewsThreadState();
    SetDisplaySettings(TDisplaySettings());
  }
  void TearDown() override {
    {
      MyLockGuard guard(PortListLock, "TEST");
      PortfolioList.Clear();
    }
    SetDisplaySettings(TDisplaySettings());
    ResetStockStore();
    ClearUpdatedSymbolSets();
    SetAppClock(nullptr);
    SetProgramFolder("");
  }
  void WriteNews(const std::string &text) {
    QSaveFile f(dir.filePath(QStringLiteral("news.csv")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), qint64(text.size()));
    ASSERT_TRUE(f.commit());
  }
  static std::vector<std::string> Titles(const std::string &symbol) {
    std::vector<std::string> out;
    for (const NewsItem &item : GetNewsItems(symbol))
      out.push_back(item.Title);
    return out;
  }

  QTemporaryDir dir;
  FakeClock clock{45301.0 + 15.5 / 24}; // 2024-01-10 10:30 in New York
  NewsIntake intake;
};

TEST_F(NewsIntakeTest, TrimmedItemsStayAwayAndNewOnesLightTheBulb) {
  TDisplaySettings s;
  s.MaxItems = 2;
  SetDisplaySettings(s);
  const std::string file = "Symbol,Time,Source,Title,Link\n"
                           "IBM,2024-01-10 09:00,Wire,One,https://example.com/1\n"
                           "IBM,2024-01-10 09:10,Wire,Two,https://example.com/2\n"
                           "IBM,2024-01-10 09:20,Wire,Three,https://example.com/3\n";
  WriteNews(file);
  EXPECT_EQ(intake.Read(false), std::vector<std::string>{"IBM"});
  EXPECT_EQ(Titles("IBM"), (std::vector<std::string>{"Three", "Two"}));
  TDateTime check = 0, newest = 0;
  EXPECT_TRUE(GetNewNews("IBM", check, newest));
  EXPECT_DOUBLE_EQ(check, EasternNow());
  EXPECT_EQ(TakeUpdatedSymbolList(usNewsWindow), std::vector<std::string>{"IBM"});
  EXPECT_EQ(TakeUpdatedSymbolList(usAlerts), std::vector<std::string>{"IBM"});

  SetNewNews("IBM", false);
  // A forced read of the same file, and a version with one more line, bring
  // back none of the trimmed items.
  EXPECT_TRUE(intake.Read(true).empty());
  WriteNews(file + "IBM,2024-01-10 09:30,Wire,Four,https://example.com/4\n");
  EXPECT_EQ(intake.Read(false), std::vector<std::string>{"IBM"});
  EXPECT_EQ(Titles("IBM"), (std::vector<std::string>{"Four", "Three"}));
  EXPECT_EQ(intake.ReadCount(), 3);
  EXPECT_EQ(SymbolBeingFetched(), "");
}

TEST_F(NewsIntakeTest, DemoItemsGoToSymbolsOfTheCurrentPortfolio) {
  {
    MyLockGuard guard(PortListLock, "TEST");
    PortfolioList.Clear();
    std::vector<PortPosition> positions(3);
    positions[0].Symbol = "ko";
    positions[1].Symbol = "-";
    positions[2].Symbol = "$CASH";
    PortfolioList.Add("Mine", "MINE", positions);
  }
  CurrentPortfolio = 1;
  intake.SetRandomSource([](int) { return 0; });
  EXPECT_EQ(intake.AddDemoItem(), "KO");
  EXPECT_EQ(intake.AddDemoItem(), "KO");
  const std::vector<NewsItem> items = GetNewsItems("KO");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].Link, "https://example.com/news/ko-2");
  EXPECT_EQ(items[0].Source, "Demo Wire");
  EXPECT_DOUBLE_EQ(items[0].Date, EasternNow());
  TDateTime check = 0, newest = 0;
  EXPECT_TRUE(GetNewNews("KO", check, newest));
}

} // namespace
