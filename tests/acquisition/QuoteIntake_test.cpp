#include "acquisition/QuoteIntake.h"
#include "acquisition/UpdatedSymbols.h"
#include "core/CriticalSection.h"
#include "core/DisplaySettings.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

// The largest block asked of malloc or realloc while watched. The test
// executable's malloc comes before the C library's, so Qt's buffers are seen
// too. Not with the sanitizers, which bring their own malloc.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TV_WATCH_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define TV_WATCH_ALLOCATIONS 0
#endif
#endif
#ifndef TV_WATCH_ALLOCATIONS
#define TV_WATCH_ALLOCATIONS 1
#endif

namespace {
std::atomic<bool> g_watchAllocations{false};
std::atomic<std::size_t> g_largestAllocation{0};

void NoteAllocation(std::size_t size) {
  if (!g_watchAllocations.load(std::memory_order_relaxed))
    return;
  std::size_t largest = g_largestAllocation.load(std::memory_order_relaxed);
  while (size > largest && !g_largestAllocation.compare_exchange_weak(largest, size))
    ;
}
} // namespace

#if TV_WATCH_ALLOCATIONS
extern "C" void *__libc_malloc(std::size_t size);
extern "C" void *__libc_realloc(void *block, std::size_t size);
extern "C" void *malloc(std::size_t size) {
  NoteAllocation(size);
  return __libc_malloc(size);
}
extern "C" void *realloc(void *block, std::size_t size) {
  NoteAllocation(size);
  return __libc_realloc(block, size);
}
#endif

namespace {

class QuoteIntakeTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    SetAppClock(&clock);
    LockTimings t;
    t.retryIntervalMs = 0;
    t.giveUpTries = 3;
    t.deadlockTries = 5;
    MyCriticalSection::SetTimings(t);
    MyCriticalSection::SetDeadlockReporter([](const std::string &) {});
    SetIndexSymbolsText("");
    ResetStockStore();
    ClearUpdatedSymbolSets();
    // A refresh here stores what the file held when it was called.
    QuoteIntake::SetQuoteReadWaitMs(60000);
  }
  void TearDown() override {
    QuoteIntake::SetQuoteReadWaitMs(DefaultQuoteReadWaitMs);
    StopLogging();
    LogLevel = 0;
    ResetStockStore();
    ClearUpdatedSymbolSets();
    SetIndexSymbolsText("");
    MyCriticalSection::SetDeadlockReporter(nullptr);
    MyCriticalSection::ResetTimings();
    SetAppClock(nullptr);
    SetProgramFolder("");
  }

  std::string QuotePath() const { return (dir.path() + "/quotes.csv").toStdString(); }

  // Replaces quotes.csv the way a feeding program should: write, then rename.
  void WriteQuotes(const std::string &text) {
    QSaveFile f(QString::fromStdString(QuotePath()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), qint64(text.size()));
    ASSERT_TRUE(f.commit());
  }

  // Sets the file's modification time (the file-system clock) ago seconds back.
  void AgeQuoteFile(int secondsAgo) {
    namespace fs = std::filesystem;
    fs::last_write_time(QuotePath(),
                        fs::file_time_type::clock::now() - std::chrono::seconds(secondsAgo));
  }

  static std::string ReadFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
      return "<missing>";
    return f.readAll().toStdString();
  }

  StockInfoType *Record(const std::string &symbol) { return FindStoreRecord(symbol); }
  int TickCount(const std::string &symbol) {
    StockInfoType *rec = Record(symbol);
    return rec ? rec->Ticks.CountNoLock() : -1;
  }

  QTemporaryDir dir;
  // 2024-01-10 15:30 UTC: 10:30 in New York.
  FakeClock clock{45301.0 + 15.5 / 24};
};

using Symbols = std::vector<std::string>;

constexpr const char *Version1 =
    "Symbol,Last,Bid,Ask,Volume,High,Low,PrevClose,BidSize,AskSize\n"
    "AAPL,185.20,185.18,185.22,51234500,186.40,183.90,184.10,300,200\n"
    "MSFT,372.50,372.45,372.55,20345100,374.00,370.10,370.90,100,400\n";

std::string TakeSet(int kind) {
  std::string text;
  EXPECT_TRUE(TakeUpdatedSymbols(kind, text));
  return text;
}

// Draws of a seeded generator, as SafeRandom(n) gives them.
QuoteIntake::RandomSource Seeded(unsigned seed) {
  auto engine = std::make_shared<std::mt19937>(seed);
  return [engine](int n) { return std::uniform_int_distribution<int>(0, n - 1)(*engine); };
}

QuoteIntake::RandomSource Always(int r) {
  return [r](int n) { return std::min(r, n - 1); };
}

} // namespace

TEST_F(QuoteIntakeTest, TwoVersionsOfTheFileFillTheStore) {
  QuoteIntake intake;
  intake.SetDemo(false);
  WriteQuotes(Version1);
  EXPECT_EQ(intake.Refresh(), (Symbols{"AAPL", "MSFT"}));
  EXPECT_TRUE(intake.Errors().empty());

  QuoteData q;
  ASSERT_GE(GetLast1("AAPL", q), 0);
  EXPECT_FLOAT_EQ(q.Last, 185.20f);
  EXPECT_FLOAT_EQ(q.Bid, 185.18f);
  EXPECT_FLOAT_EQ(q.Ask, 185.22f);
  EXPECT_FLOAT_EQ(q.Volume, 51234500.0f);
  EXPECT_FLOAT_EQ(q.High, 186.40f);
  EXPECT_FLOAT_EQ(q.Low, 183.90f);
  EXPECT_FLOAT_EQ(q.PrevClose, 184.10f);
  EXPECT_EQ(q.BidSize, 300);
  EXPECT_EQ(q.AskSize, 200);
  // No time column: the quote is stamped with the market time now, 10:30 in
  // New York on 2024-01-10.
  const TDateTime marketNow = EasternNow();
  EXPECT_NEAR(marketNow, 45301.0 + 10.5 / 24, 1e-9);
  EXPECT_NEAR(q.QuoteTime, marketNow, 1e-6);
  StockInfoType *aapl = Record("AAPL");
  ASSERT_NE(aapl, nullptr);
  EXPECT_EQ(aapl->Kind, KindStock);
  EXPECT_EQ(aapl->DayStamp, 45301.0);
  ASSERT_EQ(TickCount("AAPL"), 1);
  EXPECT_FLOAT_EQ(aapl->Ticks.Entries()[0].Last, 185.20f);
  EXPECT_NEAR(aapl->Ticks.Entries()[0].Time, marketNow, 1e-6);
  EXPECT_EQ(TickCount("MSFT"), 1);
  for (int set : {usMainGrid, usWatchList, usTicker, usAlerts})
    EXPECT_EQ(TakeSet(set), "|AAPL||MSFT|") << "set " << set;
  EXPECT_EQ(TakeSet(usNewsWindow), "");

  // The second version: another column order, a quote time, only AAPL.
  clock.AdvanceMs(5000);
  WriteQuotes("time,symbol,last,bid,ask,volume,high,low,prevclose,bidsize,asksize\n"
              "10:29:58,AAPL,185.90,185.88,185.92,52000000,186.40,183.90,184.10,500,100\n");
  EXPECT_EQ(intake.Refresh(), (Symbols{"AAPL"}));
  ASSERT_GE(GetLast1("AAPL", q), 0);
  EXPECT_FLOAT_EQ(q.Last, 185.90f);
  EXPECT_EQ(q.BidMark, 'U');
  EXPECT_EQ(q.AskMark, 'U');
  ASSERT_EQ(TickCount("AAPL"), 2);
  EXPECT_NEAR(aapl->Ticks.Entries()[1].Time, 45301.0 + EncodeTime(10, 29, 58, 0), 1e-9);
  EXPECT_FLOAT_EQ(aapl->Ticks.Entries()[1].Volume, 52000000.0f);
  EXPECT_EQ(TickCount("MSFT"), 1) << "a symbol left out of the file keeps its quote";
  for (int set : {usMainGrid, usWatchList, usTicker, usAlerts})
    EXPECT_EQ(TakeSet(set), "|AAPL|") << "set " << set;
  EXPECT_EQ(intake.ReadCount(), 2);
}

TEST_F(QuoteIntakeTest, RefreshReadsWhatTheFileHoldsNotABufferOfTheSizeCap) {
  if (!TV_WATCH_ALLOCATIONS)
    GTEST_SKIP() << "the sanitizers own malloc";
  WriteQuotes(Version1);
  QuoteIntake intake;
  intake.SetDemo(false);
  g_largestAllocation = 0;
  g_watchAllocations = true;
  const Symbols stored = intake.Refresh();
  g_watchAllocations = false;
  EXPECT_EQ(stored, (Symbols{"AAPL", "MSFT"}));
  EXPECT_LT(g_largestAllocation.load(), std::size_t(1) << 20)
      << "a refresh of a 200-byte file asked for " << g_largestAllocation.load() << " bytes";
}

TEST_F(QuoteIntakeTest, DateTimeColumnSetsTheDayStamp) {
  QuoteIntake intake;
  intake.SetDemo(false);
  WriteQuotes("Symbol,Last,Time\nKO,59.10,2024-01-09 15:59:59\nPG,151.2,2024-01-09T16:00\n");
  EXPECT_EQ(intake.Refresh(), (Symbols{"KO", "PG"}));
  EXPECT_EQ(Record("KO")->DayStamp, 45300.0);
  QuoteData q;
  GetLast1("KO", q);
  EXPECT_NEAR(q.QuoteTime, 45300.0 + EncodeTime(15, 59, 59, 0), 1e-9);
  GetLast1("PG", q);
  EXPECT_NEAR(q.QuoteTime, 45300.0 + EncodeTime(16, 0, 0, 0), 1e-9);
}

TEST_F(QuoteIntakeTest, UnchangedFileIsNotReadAgain) {
  QuoteIntake intake;
  intake.SetDemo(false);
  WriteQuotes(Version1);
  AgeQuoteFile(3600);
  EXPECT_EQ(intake.Refresh().size(), 2u);
  ClearUpdatedSymbolSets();
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(intake.Refresh().empty());
  EXPECT_EQ(intake.ReadCount(), 1);
  EXPECT_EQ(TickCount("AAPL"), 1);
  EXPECT_EQ(TakeSet(usMainGrid), "");

  // The same bytes written again: a new time, but nothing new to store.
  WriteQuotes(Version1);
  EXPECT_TRUE(intake.Refresh().empty());
  EXPECT_EQ(intake.ReadCount(), 1);
  EXPECT_EQ(TickCount("AAPL"), 1);

  // Once the size and an old time have been seen, the file is not opened:
  // a same-size change with the time put back goes unread.
  AgeQuoteFile(3600);
  EXPECT_TRUE(intake.Refresh().empty());
  const auto stamp = std::filesystem::last_write_time(QuotePath());
  std::string changed = Version1;
  changed.replace(changed.find("185.20"), 6, "999.99");
  {
    QFile f(QString::fromStdString(QuotePath()));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.write(changed.data(), qint64(changed.size()));
  }
  std::filesystem::last_write_time(QuotePath(), stamp);
  EXPECT_TRUE(intake.Refresh().empty());
  EXPECT_FLOAT_EQ(GetLastPrice("AAPL"), 185.20f);
}

TEST_F(QuoteIntakeTest, SameSizeRewriteWithinTheStampGranularityIsRead) {
  // File systems stamp times coarsely: two writes of the same size in one
  // tick of their clock look alike. A recent stamp is not trusted.
  QuoteIntake intake;
  intake.SetDemo(false);
  WriteQuotes(Version1);
  const auto stamp = std::filesystem::last_write_time(QuotePath());
  EXPECT_EQ(intake.Refresh().size(), 2u);
  std::string changed = Version1;
  changed.replace(changed.find("185.20"), 6, "186.00");
  WriteQuotes(changed);
  std::filesystem::last_write_time(QuotePath(), stamp);
  EXPECT_EQ(intake.Refresh(), (Symbols{"AAPL", "MSFT"}));
  EXPECT_FLOAT_EQ(GetLastPrice("AAPL"), 186.00f);
  EXPECT_EQ(intake.ReadCount(), 2);
}

TEST_F(QuoteIntakeTest, BadLinesAreSkippedLoggedWithTheirLineNumbers) {
  StartLogging(0);
  QuoteIntake intake;
  intake.SetDemo(false);
  WriteQuotes("# quotes for the test\n"
              "Symbol,Last,Bid,Ask\n"
              "AAPL,185.20,185.18,185.22\n"
              "MSFT,abc,372.45,372.55\n"
              "IBM,150,149.9\n"
              "\n"
              ",1,2,3\n"
              "KO,59.10,59.09,59.11\n"
              "aapl,1,1,1\n");
  EXPECT_EQ(intake.Refresh(), (Symbols{"AAPL", "KO"}));
  std::vector<std::string> errors;
  for (const QuoteCsvError &e : intake.Errors())
    errors.push_back(e.Text());
  EXPECT_EQ(errors,
            (Symbols{"line 4: Last \"abc\" is not valid", "line 5: 3 fields where the header has 4",
                     "line 7: no symbol", "line 9: AAPL repeats line 3"}));
  EXPECT_EQ(Record("MSFT"), nullptr);
  EXPECT_FLOAT_EQ(GetLastPrice("AAPL"), 185.20f);
  const std::string log = ReadFile(dir.path() + "/bourse.log");
  EXPECT_NE(log.find(" QuoteIntake Error: quotes.csv line 4: Last \"abc\" is not valid\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(" QuoteIntake Error: quotes.csv line 9: AAPL repeats line 3\n"),
            std::string::npos)
      << log;

  // A clean version clears the errors.
  WriteQuotes("Symbol,Last\nMSFT,372.50\n");
  EXPECT_EQ(intake.Refresh(), (Symbols{"MSFT"}));
  EXPECT_TRUE(intake.Errors().empty());
}

TEST_F(QuoteIntakeTest, ABrokenFeedLogsItsFirstBadLinesAndCountsTheRest) {
  StartLogging(0);
  QuoteIntake intake;
  intake.SetDemo(false);
  std::string text = "Symbol,Last\nAAPL,185.20\n";
  const int bad = 50;
  for (int i = 0; i < bad; ++i)
    text += "S" + std::to_string(i) + ",x\n";
  WriteQuotes(text);
  EXPECT_EQ(intake.Refresh(), (Symbols{"AAPL"}));
  EXPECT_EQ(intake.Errors().size(), std::size_t(bad));
  const std::string log = ReadFile(dir.path() + "/bourse.log");
  std::size_t listed = 0;
  for (std::size_t at = 0;
       (at = log.find("QuoteIntake Error: quotes.csv line ", at)) != std::string::npos; ++at)
    ++listed;
  EXPECT_EQ(listed, MaxLoggedQuoteErrors) << log;
  EXPECT_NE(log.find(" QuoteIntake Error: quotes.csv line 3: Last \"x\" is not valid\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(" QuoteIntake Error: quotes.csv: " +
                     std::to_string(bad - int(MaxLoggedQuoteErrors)) + " more errors not listed\n"),
            std::string::npos)
      << log;
}

TEST_F(QuoteIntakeTest, HeaderInAnyOrderAndCaseWithUnknownColumns) {
  QuoteIntake intake;
  intake.SetDemo(false);
  WriteQuotes("ASK, exchange ,symbol,Prev Close,LAST,bid,Bid_Size,NOTE\r\n"
              "185.22,NASDAQ,aapl,184.10,185.20,185.18,300,\"buy, maybe\"\r\n");
  EXPECT_EQ(intake.Refresh(), (Symbols{"AAPL"}));
  QuoteData q;
  ASSERT_GE(GetLast1("AAPL", q), 0);
  EXPECT_FLOAT_EQ(q.Last, 185.20f);
  EXPECT_FLOAT_EQ(q.Bid, 185.18f);
  EXPECT_FLOAT_EQ(q.Ask, 185.22f);
  EXPECT_FLOAT_EQ(q.PrevClose, 184.10f);
  EXPECT_EQ(q.BidSize, 300);
  EXPECT_EQ(q.Volume, 0.0);
  EXPECT_EQ(q.High, 0.0);
  EXPECT_TRUE(intake.Errors().empty());
}

TEST_F(QuoteIntakeTest, WithoutASymbolColumnNothingIsStored) {
  QuoteIntake intake;
  intake.SetDemo(false);
  WriteQuotes("Ticker,Last\nAAPL,185.20\n");
  EXPECT_TRUE(intake.Refresh().empty());
  ASSERT_EQ(intake.Errors().size(), 1u);
  EXPECT_EQ(intake.Errors()[0].Text(), "line 1: the header names no Symbol column");
  EXPECT_EQ(StockList.Count(), 0);
}

TEST_F(QuoteIntakeTest, MissingFileStoresNothingUntilItAppears) {
  QuoteIntake intake;
  intake.SetDemo(false);
  EXPECT_TRUE(intake.Refresh().empty());
  EXPECT_TRUE(intake.Errors().empty());
  WriteQuotes(Version1);
  EXPECT_EQ(intake.Refresh().size(), 2u);
  // Gone and back with the same content: read again.
  QFile::remove(QString::fromStdString(QuotePath()));
  EXPECT_TRUE(intake.Refresh().empty());
  WriteQuotes(Version1);
  EXPECT_EQ(intake.Refresh().size(), 2u);
  EXPECT_EQ(TickCount("AAPL"), 2);
}

TEST_F(QuoteIntakeTest, IndexSymbolsAreStoredAsIndexes) {
  SetIndexSymbolsText("$INDU $COMPX");
  QuoteIntake intake;
  intake.SetDemo(false);
  WriteQuotes("Symbol,Last\n$INDU,37695.73\nKO,59.10\n");
  EXPECT_EQ(intake.Refresh().size(), 2u);
  EXPECT_EQ(Record("$INDU")->Kind, KindIndex);
  EXPECT_EQ(Record("KO")->Kind, KindStock);
}

TEST_F(QuoteIntakeTest, DemoMovesStayWithinTheRangeOfTheStoredPrice) {
  QuoteIntake intake;
  intake.SetDemo(true);
  intake.SetRandomSource(Seeded(20240110));
  WriteQuotes("Symbol,Last,Bid,Ask,Volume,High,Low,PrevClose\n"
              "AAPL,185.20,185.18,185.22,51234500,186.40,183.90,184.10\n"
              "PENNY,0.20,0.19,0.21,1000,0.22,0.18,0.20\n"
              "IDX,4700.50,0,0,0,0,0,4690.00\n");
  struct Seen {
    double last, bid, ask, volume;
  };
  std::map<std::string, Seen> before = {{"AAPL", {185.20, 185.18, 185.22, 51234500}},
                                        {"PENNY", {0.20, 0.19, 0.21, 1000}},
                                        {"IDX", {4700.50, 0, 0, 0}}};
  double lowest = 1, highest = -1;
  const int refreshes = 400;
  for (int i = 0; i < refreshes; ++i) {
    clock.AdvanceMs(5000);
    ASSERT_EQ(intake.Refresh(), (Symbols{"AAPL", "PENNY", "IDX"})) << "refresh " << i;
    for (auto &[symbol, old] : before) {
      QuoteData q;
      GetLast1(symbol, q);
      const double move = q.Last - old.last;
      if (old.last + move > DemoMinPrice + 1e-6) { // not held at the floor
        lowest = std::min(lowest, move);
        highest = std::max(highest, move);
      }
      EXPECT_GE(move, -0.50 - 1e-3) << symbol << " refresh " << i;
      EXPECT_LE(move, 0.49 + 1e-3) << symbol << " refresh " << i;
      EXPECT_GE(q.Last, DemoMinPrice - 1e-6) << symbol;
      if (old.bid != 0) {
        if (q.Bid > DemoMinPrice + 1e-6) { // bid, last and ask move alike above the floor
          EXPECT_NEAR(q.Bid - old.bid, move, 2e-3) << symbol;
        }
        EXPECT_LE(q.Bid, q.Last + 1e-6) << symbol;
        EXPECT_GE(q.Ask, q.Last - 1e-6) << symbol;
        EXPECT_GE(q.Bid, DemoMinPrice - 1e-6) << symbol;
      } else {
        EXPECT_EQ(q.Bid, 0.0) << "a zero price stays zero";
        EXPECT_EQ(q.Ask, 0.0);
      }
      EXPECT_GE(q.High, q.Last) << symbol;
      EXPECT_LE(q.Low, q.Last) << symbol;
      if (old.volume > 0) {
        EXPECT_GE(q.Volume - old.volume, 100.0 - 8) << symbol; // float steps at 5e7
        EXPECT_LE(q.Volume - old.volume, 1000.0 + 8) << symbol;
      } else {
        EXPECT_EQ(q.Volume, 0.0);
      }
      EXPECT_FLOAT_EQ(q.PrevClose, symbol == "AAPL"    ? 184.10f
                                   : symbol == "PENNY" ? 0.20f
                                                       : 4690.00f);
      old = {q.Last, q.Bid, q.Ask, q.Volume};
    }
  }
  EXPECT_NEAR(lowest, -0.50, 0.011) << "the draws reach both ends";
  EXPECT_NEAR(highest, 0.49, 0.011);
  EXPECT_EQ(TickCount("AAPL"), refreshes);
  EXPECT_EQ(intake.ReadCount(), 1) << "the file was read once";
  EXPECT_EQ(TakeSet(usAlerts), "|AAPL||PENNY||IDX|");
}

TEST_F(QuoteIntakeTest, DemoExtremeDrawsAndTheFloor) {
  QuoteIntake intake;
  intake.SetDemo(true);
  intake.SetRandomSource(Always(0)); // -0.50
  WriteQuotes("Symbol,Last,Bid,Ask,High,Low\nAAPL,185.20,185.18,185.22,185.30,185.00\n"
              "PENNY,0.30,0.29,0.31,0.35,0.25\n");
  intake.Refresh();
  QuoteData q;
  GetLast1("AAPL", q);
  EXPECT_FLOAT_EQ(q.Last, 184.70f);
  EXPECT_FLOAT_EQ(q.Bid, 184.68f);
  EXPECT_FLOAT_EQ(q.Ask, 184.72f);
  EXPECT_FLOAT_EQ(q.High, 185.30f);
  EXPECT_FLOAT_EQ(q.Low, 184.70f) << "the low follows the last";
  GetLast1("PENNY", q);
  EXPECT_FLOAT_EQ(q.Last, 0.01f) << "never below a cent";
  EXPECT_FLOAT_EQ(q.Bid, 0.01f);
  EXPECT_FLOAT_EQ(q.Ask, 0.01f);
  intake.Refresh();
  GetLast1("PENNY", q);
  EXPECT_FLOAT_EQ(q.Last, 0.01f);

  GetLast1("AAPL", q);
  EXPECT_FLOAT_EQ(q.Last, 184.20f);

  intake.SetRandomSource(Always(99)); // +0.49
  intake.Refresh();
  GetLast1("AAPL", q);
  EXPECT_FLOAT_EQ(q.Last, 184.69f);
  EXPECT_FLOAT_EQ(q.Bid, 184.67f);
  EXPECT_FLOAT_EQ(q.Ask, 184.71f);
  EXPECT_FLOAT_EQ(q.Low, 184.20f);
  GetLast1("PENNY", q);
  EXPECT_FLOAT_EQ(q.Last, 0.50f);
  EXPECT_FLOAT_EQ(q.High, 0.50f) << "the high follows the last";
}

TEST_F(QuoteIntakeTest, DemoQuoteNotStoredIsNotMovedTwice) {
  QuoteIntake intake;
  intake.SetDemo(true);
  intake.SetRandomSource(Always(99)); // +0.49
  WriteQuotes("Symbol,Last\nAAPL,185.20\nKO,59.10\n");
  intake.Refresh();
  EXPECT_FLOAT_EQ(GetLastPrice("AAPL"), 185.69f);
  {
    // A busy tick list: the store gives up, AAPL is left out of this refresh.
    MyLockGuard busy(Record("AAPL")->Ticks.LockObject(), "TEST", true);
    ASSERT_TRUE(busy.Owns());
    EXPECT_EQ(intake.Refresh(), (Symbols{"KO"}));
  }
  EXPECT_FLOAT_EQ(GetLastPrice("AAPL"), 185.69f);
  EXPECT_EQ(intake.Refresh(), (Symbols{"AAPL", "KO"}));
  EXPECT_FLOAT_EQ(GetLastPrice("AAPL"), 186.18f) << "one move from the stored price";
  EXPECT_FLOAT_EQ(GetLastPrice("KO"), 60.57f);
}

TEST_F(QuoteIntakeTest, DemoStartsFromANewVersionOfTheFile) {
  QuoteIntake intake;
  intake.SetDemo(true);
  intake.SetRandomSource(Always(50)); // 0.00
  WriteQuotes(Version1);
  intake.Refresh();
  EXPECT_FLOAT_EQ(GetLastPrice("AAPL"), 185.20f);
  WriteQuotes("Symbol,Last,Bid,Ask\nAAPL,200.00,199.90,200.10\n");
  EXPECT_EQ(intake.Refresh(), (Symbols{"AAPL", "MSFT"})) << "MSFT is still known";
  EXPECT_FLOAT_EQ(GetLastPrice("AAPL"), 200.00f);
  EXPECT_FLOAT_EQ(GetLastPrice("MSFT"), 372.50f);
}

TEST_F(QuoteIntakeTest, DemoFollowsTheCommandLineUnlessSet) {
  QuoteIntake intake;
  EXPECT_FALSE(intake.Demo()) << "no DEMO switch in the test run";
  intake.SetDemo(true);
  EXPECT_TRUE(intake.Demo());
}

TEST(QuoteIntakeInterval, FromTheSettingsWithinLimits) {
  QTemporaryDir dir;
  TMyIniFile ini((dir.path() + "/BOURSE.INI").toStdString());
  EXPECT_EQ(RefreshIntervalMs(ini), 5000) << "default";
  const struct {
    const char *value;
    int ms;
  } cases[] = {{"12", 12000},          {"1", 1000},   {"0", 1000},
               {"-3", 1000},           {"abc", 5000}, {"86400", 86400000},
               {"999999999", 86400000}};
  for (const auto &c : cases) {
    ASSERT_TRUE(ini.WriteString("Bourse", "GridRefresh", c.value));
    EXPECT_EQ(RefreshIntervalMs(ini), c.ms) << c.value;
  }
}
