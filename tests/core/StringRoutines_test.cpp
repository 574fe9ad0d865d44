#include "core/StringRoutines.h"

#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using Words = std::vector<std::string>;

TEST(ParseStrTest, SplitTable) {
  struct Case {
    const char *text;
    const char *delimiters;
    Words words;
  } cases[] = {
      {"IBM AA  MSFT", " ", {"IBM", "AA", "MSFT"}},
      {"  lead and trail  ", " ", {"lead", "and", "trail"}},
      {"a,b;c", ",;", {"a", "b", "c"}},
      {"a,,b", ",", {"a", "b"}},
      {"say \"hello world\" now", " ", {"say", "hello world", "now"}},
      {"x \"\" y", " ", {"x", "", "y"}},
      {"\"he said \"\"hi\"\"\"", " ", {"he said \"hi\""}},
      {"ab\"c d\"e", " ", {"abc de"}},
      {"\"open quote to the end", " ", {"open quote to the end"}},
      {"", " ", {}},
      {"nodelims", "", {"nodelims"}},
      {"IBM\tAA\r\nX/Y", " \t\r\n,/", {"IBM", "AA", "X", "Y"}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ParseStr(c.text, c.delimiters), c.words) << c.text;
}

TEST(ParseStrTest, FillsAStringListClearedFirst) {
  TStringList list;
  list.Add("old");
  ParseStr("A B", list, " ");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list[0], "A");
  EXPECT_EQ(list[1], "B");
}

TEST(StringRoutinesTest, IsAllDashesAndYesNo) {
  EXPECT_TRUE(IsAllDashes("-"));
  EXPECT_TRUE(IsAllDashes("-----"));
  EXPECT_FALSE(IsAllDashes(""));
  EXPECT_FALSE(IsAllDashes("--a"));
  EXPECT_FALSE(IsAllDashes(" -"));
  EXPECT_EQ(YesNo(true), "YES");
  EXPECT_EQ(YesNo(false), "NO");
}

TEST(SymbolTableTest, SkipsEmptyDashesAndRepeatsAndCutsTo15) {
  LoadSymbolTable("IBM  AA --- ibm MSFT - ABCDEFGHIJKLMNOPQ AA\tT");
  const auto table = WatchTable();
  std::vector<std::string> symbols;
  for (const auto &e : table)
    symbols.push_back(e.Symbol);
  EXPECT_EQ(symbols, (Words{"IBM", "AA", "MSFT", "ABCDEFGHIJKLMNO", "T"}));
  EXPECT_EQ(WatchTableCount(), 5);
  LoadSymbolTable("");
  EXPECT_EQ(WatchTableCount(), 0);
}

TEST(SafeRandomTest, RangeSeedAndSource) {
  EXPECT_EQ(SafeRandom(0, true), 0);
  EXPECT_EQ(SafeRandom(-5, false), 0);
  SetRandomSeed(42);
  std::vector<int> first;
  for (int i = 0; i < 20; ++i) {
    const int r = SafeRandom(100, true);
    EXPECT_GE(r, 0);
    EXPECT_LT(r, 100);
    first.push_back(r);
  }
  SetRandomSeed(42);
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(SafeRandom(100, false), first[std::size_t(i)]);

  SetRandomSource([](int n) { return n - 1; });
  EXPECT_EQ(SafeRandom(7, true), 6);
  SetRandomSource([](int n) { return n + 3; }); // out of range is not passed on
  EXPECT_EQ(SafeRandom(7, true), 0);
  SetRandomSource(nullptr);
  EXPECT_EQ(RandomLock().Owner(), "EMPTY");
}

TEST(SafeRandomTest, CallerMayHoldTheLockAroundSeveralDraws) {
  ASSERT_TRUE(RandomLock().Lock("TEST", false));
  const int a = SafeRandom(10, false);
  const int b = SafeRandom(10, false);
  EXPECT_EQ(RandomLock().Owner(), "TEST");
  RandomLock().Unlock();
  EXPECT_LT(a, 10);
  EXPECT_LT(b, 10);
}

TEST(SafeRandomTest, ConcurrentDrawsWithAndWithoutTheLock) {
  std::vector<std::thread> threads;
  std::atomic<int> bad{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 500; ++i) {
        const int r = SafeRandom(50, t % 2 == 0);
        if (r < 0 || r >= 50)
          ++bad;
      }
    });
  for (auto &th : threads)
    th.join();
  EXPECT_EQ(bad, 0);
}
