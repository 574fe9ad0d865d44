#include "StoreTestSupport.h"

#include "platform/StringList.h"

#include <string>

namespace {

using NewsStoreTest = StoreTest;

IncomingNews Item(const std::string &title, const std::string &source, TDateTime date,
                  const std::string &link = "", int second = 0) {
  IncomingNews n;
  n.Title = title;
  n.Source = source;
  n.Date = date;
  n.Link = link.empty() ? "http://news.example/" + title : link;
  n.SecondNumber = second;
  return n;
}

struct WildcardCase {
  const char *pattern;
  const char *text;
  bool match;
};

TEST(WildcardMatchTest, Table) {
  const WildcardCase cases[] = {
      {"*", "", true},
      {"*", "anything", true},
      {"", "", true},
      {"", "a", false},
      {"abc", "ABC", true},
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"a*c", "ac", true},
      {"a*c", "abbbc", true},
      {"a*c", "abbbd", false},
      {"*ipo*", "Big IPO today", true},
      {"*a?i*", "Radio", true},
      {"?", "", false},
      {"*a*b", "aaab", true},
      {"*a*b", "aaaa", false},
      {"*.com/*", "http://x.COM/y", true},
  };
  for (const auto &c : cases)
    EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.match) << c.pattern << " ~ " << c.text;
}

TEST(WildcardMatchTest, ManyStarsOnALongTextFinish) {
  const std::string text(20000, 'a');
  EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*a*a*a*a*a*b", text));
  EXPECT_TRUE(WildcardMatch("*a*a*a*a*a*a*a*a*a*a*", text));
}

struct RuleCase {
  const char *name;
  std::vector<std::string> rules;
  bool excluded;
};

TEST(NewsExcludedTest, Table) {
  const IncomingNews item =
      Item("Acme Beats Estimates", "Wire Service", 0, "http://spam.example.com/acme");
  const RuleCase cases[] = {
      {"no rules", {}, false},
      {"source part", {"S:wire"}, true},
      {"source case ignored", {"S:WIRE SERV"}, true},
      {"source other", {"S:Daily"}, false},
      {"title with star", {"T:acme*estimates"}, true},
      {"title with question mark", {"T:be?ts"}, true},
      {"title no match", {"T:misses"}, false},
      {"link", {"U:spam.example"}, true},
      {"link rule does not look at the title", {"U:Acme Beats"}, false},
      {"title rule does not look at the link", {"T:spam"}, false},
      {"lower-case prefix", {"t:estimates"}, true},
      {"empty expression matches nothing", {"S:", "T:", "U:"}, false},
      {"unknown prefix", {"X:acme", "acme"}, false},
      {"second rule matches", {"S:Daily", "T:beats"}, true},
      {"line end kept from a file", {"S:wire\r"}, true},
  };
  for (const auto &c : cases)
    EXPECT_EQ(NewsExcluded(c.rules, item), c.excluded) << c.name;
}

TEST_F(NewsStoreTest, AddNewsDropsExcludedItemsAndDuplicates) {
  EXPECT_EQ(AddNews("IBM", Item("Spam offer", "Junk Wire", 45301.1), {"S:junk"}), 0);
  const int n1 = AddNews("IBM", Item("Earnings", "Wire", 45301.1), {"S:junk"});
  EXPECT_EQ(n1, 1);
  EXPECT_EQ(AddNews("IBM", Item("Earnings", "Wire", 45301.1), {}), 1) << "same article";
  EXPECT_EQ(StockList.Find("IBM")->News.CountNoLock(), 1);
  // The same article under another symbol keeps its number.
  EXPECT_EQ(AddNews("MSFT", Item("Earnings", "Wire", 45301.1), {}), 1);
  EXPECT_EQ(AddNews("MSFT", Item("Other", "Wire", 45301.2), {}), 2);
  EXPECT_EQ(AddNews("", Item("Other", "Wire", 45301.2), {}), 0);
}

TEST_F(NewsStoreTest, AddNewsUsesTheDisplaySettingsRules) {
  TDisplaySettings s;
  s.ExcludeRules = {"T:*free*money"};
  SetDisplaySettings(s);
  EXPECT_EQ(AddNews("IBM", Item("Get FREE easy MONEY now", "Wire", 45301)), 0);
  EXPECT_EQ(AddNews("IBM", Item("Quarterly results", "Wire", 45301)), 1);
}

TEST_F(NewsStoreTest, MaxItemsKeepsTheNewestItemsOfASymbol) {
  TDisplaySettings s;
  s.MaxItems = 2;
  SetDisplaySettings(s);
  NewsAddOutcome outcome{};
  EXPECT_GT(AddNews("IBM", Item("Tue", "Wire", 45301.2), {}, 2, &outcome), 0);
  EXPECT_EQ(outcome, NewsAddOutcome::Added);
  AddNews("IBM", Item("Mon", "Wire", 45301.1));
  AddNews("IBM", Item("Wed", "Wire", 45301.3));
  // Older than both kept items: not stored.
  EXPECT_EQ(AddNews("IBM", Item("Sun", "Wire", 45301.0), {}, 2, &outcome), 0);
  EXPECT_EQ(outcome, NewsAddOutcome::Dropped);
  std::vector<std::string> titles;
  for (const NewsItem &item : GetNewsItems("IBM"))
    titles.push_back(item.Title);
  EXPECT_EQ(titles, (std::vector<std::string>{"Wed", "Tue"}));
  // A number whose item was dropped is still marked on the symbols that keep it.
  const int wed = AddNews("MSFT", Item("Wed", "Wire", 45301.3), {});
  MarkNewsRead(wed, true);
  EXPECT_TRUE(GetNewsItems("MSFT").front().Read);
  EXPECT_TRUE(GetNewsItems("IBM").front().Read);
  EXPECT_EQ(AddNews("IBM", Item("Wed", "Wire", 45301.3), {}, 2, &outcome), wed);
  EXPECT_EQ(outcome, NewsAddOutcome::Known);
}

TEST_F(NewsStoreTest, AFullListKeepsItsItemsWholeThroughManyTrims) {
  // Items of every text length pass through a list of 7: each add drops the
  // oldest, and the texts of the kept items stay theirs whatever the list
  // did with the dropped ones' texts meanwhile.
  constexpr int Kept = 7;
  for (int i = 0; i < 400; ++i) {
    const std::string tag = std::to_string(i) + std::string(std::size_t(i % 23), '~');
    AddNews("IBM", Item("Title " + tag, "Source " + tag, 45301 + i, "http://l/" + tag, i), {},
            Kept);
    if (i % 50 == 0)
      MarkNewsRead(AddNews("IBM", Item("Title " + tag, "Source " + tag, 45301 + i,
                                       "http://l/" + tag, i), {}, Kept),
                   true);
  }
  const std::vector<NewsItem> items = GetNewsItems("IBM");
  ASSERT_EQ(items.size(), std::size_t(Kept));
  for (int k = 0; k < Kept; ++k) {
    const int i = 399 - k;
    const std::string tag = std::to_string(i) + std::string(std::size_t(i % 23), '~');
    EXPECT_EQ(items[std::size_t(k)].Title, "Title " + tag);
    EXPECT_EQ(items[std::size_t(k)].Source, "Source " + tag);
    EXPECT_EQ(items[std::size_t(k)].Link, "http://l/" + tag);
    EXPECT_EQ(items[std::size_t(k)].SecondNumber, i);
    EXPECT_EQ(items[std::size_t(k)].Read, i == 350);
  }
  // A kept item is still found by its title and link.
  NewsAddOutcome outcome{};
  const std::string tag = "396" + std::string(396 % 23, '~');
  AddNews("IBM", Item("Title " + tag, "Source " + tag, 45301 + 396, "http://l/" + tag), {}, Kept,
          &outcome);
  EXPECT_EQ(outcome, NewsAddOutcome::Known);
}

TEST_F(NewsStoreTest, GetNewsListsNewestFirstWithFormattedDates) {
  TDisplaySettings s;
  s.DisplayTimeOffset = 1.0 / 24; // one hour
  SetDisplaySettings(s);
  AddNews("IBM", Item("Old", "Wire", EncodeDateTime(2024, 1, 9, 9, 5, 0, 0), "", 11), {});
  AddNews("IBM", Item("Newest", "Paper", EncodeDateTime(2024, 1, 10, 14, 30, 0, 0), "L2", 12), {});
  AddNews("IBM", Item("No source", "", EncodeDateTime(2024, 1, 10, 15, 0, 0, 0)), {});
  AddNews("IBM", Item("", "Wire", EncodeDateTime(2024, 1, 10, 15, 0, 0, 0)), {});
  AddNews("IBM", Item("Middle", "Wire", EncodeDateTime(2024, 1, 10, 8, 0, 0, 0), "", 13), {});
  MarkNewsRead(1, true);

  TStringList titles, links, numbers, flags, seconds, dates, sources;
  titles.Add("stale");
  GetNews("ibm", titles, links, numbers, flags, seconds, dates, sources);
  EXPECT_EQ(titles.ToVector(), (std::vector<std::string>{"Newest", "Middle", "Old"}));
  EXPECT_EQ(links.ToVector(), (std::vector<std::string>{"L2", "http://news.example/Middle",
                                                        "http://news.example/Old"}));
  EXPECT_EQ(numbers.ToVector(), (std::vector<std::string>{"2", "5", "1"}));
  EXPECT_EQ(flags.ToVector(), (std::vector<std::string>{"N", "N", "Y"}));
  EXPECT_EQ(seconds.ToVector(), (std::vector<std::string>{"12", "13", "11"}));
  EXPECT_EQ(dates.ToVector(), (std::vector<std::string>{"Jan 10,2024, 15:30", "Jan 10,2024, 09:00",
                                                        "Jan 09,2024, 10:05"}));
  EXPECT_EQ(sources.ToVector(), (std::vector<std::string>{"Paper", "Wire", "Wire"}));

  const int index = StockList.IndexOf("IBM");
  GetNews("|" + std::to_string(index), titles, links, numbers, flags, seconds, dates, sources);
  EXPECT_EQ(titles.Count(), 3);
}

TEST_F(NewsStoreTest, GetNewsOfUnknownOrOverlongSymbolsIsEmpty) {
  AddNews("IBM", Item("A", "Wire", 45301), {});
  TStringList titles, links, numbers, flags, seconds, dates, sources;
  for (const char *key : {"MSFT", "|-1", "|7", "IBMIBMIBMIBMIBMIBM"}) {
    titles.Add("stale");
    GetNews(key, titles, links, numbers, flags, seconds, dates, sources);
    EXPECT_EQ(titles.Count(), 0) << key;
  }
}

TEST_F(NewsStoreTest, MarkNewsReadActsOnEverySymbolAndRemembersTheNumber) {
  const int shared = AddNews("IBM", Item("Merger", "Wire", 45301.4), {});
  AddNews("MSFT", Item("Merger", "Wire", 45301.4), {});
  AddNews("MSFT", Item("Other", "Wire", 45301.3), {});
  MarkNewsRead(shared, true);
  MarkNewsRead(shared, true);
  EXPECT_EQ(ReadNewsNumbers(), std::vector<int>{shared});

  TDateTime check, newest;
  GetNewNews("IBM", check, newest);
  EXPECT_EQ(newest, 0.0) << "IBM has only read items";
  GetNewNews("MSFT", check, newest);
  EXPECT_DOUBLE_EQ(newest, 45301.3);

  // A symbol that receives the article later gets it read.
  AddNews("AAPL", Item("Merger", "Wire", 45301.4), {});
  GetNewNews("AAPL", check, newest);
  EXPECT_EQ(newest, 0.0);

  MarkNewsRead(shared, false);
  GetNewNews("IBM", check, newest);
  EXPECT_DOUBLE_EQ(newest, 45301.4);
  EXPECT_EQ(ReadNewsNumbers(), std::vector<int>{shared}) << "unread keeps the record";
}

TEST_F(NewsStoreTest, ANumberReadBeforeItIsGivenArrivesRead) {
  MarkNewsRead(2, true);
  AddNews("IBM", Item("One", "Wire", 45301.1), {});
  ASSERT_EQ(AddNews("MSFT", Item("Two", "Wire", 45301.2), {}), 2);
  EXPECT_FALSE(GetNewsItems("IBM").front().Read);
  EXPECT_TRUE(GetNewsItems("MSFT").front().Read);
  MarkNewsRead(2, true);
  EXPECT_EQ(ReadNewsNumbers(), std::vector<int>{2});
}

TEST_F(NewsStoreTest, ASymbolKnowsItsItemsAfterTrimsAndAfterTheNumbersWereReset) {
  NewsAddOutcome outcome{};
  ASSERT_EQ(AddNews("IBM", Item("A", "Wire", 45301.1), {}, 2), 1);
  ASSERT_EQ(AddNews("IBM", Item("B", "Wire", 45301.2), {}, 2), 2);
  ASSERT_EQ(AddNews("IBM", Item("C", "Wire", 45301.3), {}, 2), 3);
  EXPECT_EQ(AddNews("IBM", Item("C", "Wire", 45301.3), {}, 2, &outcome), 3);
  EXPECT_EQ(outcome, NewsAddOutcome::Known);
  // Trimmed from the full list, A comes back newer with its number.
  EXPECT_EQ(AddNews("IBM", Item("A", "Wire", 45301.4), {}, 2, &outcome), 1);
  EXPECT_EQ(outcome, NewsAddOutcome::Added);

  // New numbers; the list still holds its items and finds them.
  ResetNewsStore();
  EXPECT_EQ(AddNews("IBM", Item("C", "Wire", 45301.3), {}, 0, &outcome), 3);
  EXPECT_EQ(outcome, NewsAddOutcome::Known);
  EXPECT_EQ(StockList.Find("IBM")->News.CountNoLock(), 2);
}

TEST_F(NewsStoreTest, NewNewsFlagAndLastCheck) {
  AddNews("IBM", Item("A", "Wire", 45301.25), {});
  TDateTime check = 9, newest = 9;
  EXPECT_FALSE(GetNewNews("IBM", check, newest));
  EXPECT_EQ(check, 0.0);
  EXPECT_DOUBLE_EQ(newest, 45301.25);
  SetNewNews("IBM", true);
  SetLastNewsCheck("IBM", 45301.5);
  EXPECT_TRUE(GetNewNews("|0", check, newest));
  EXPECT_DOUBLE_EQ(check, 45301.5);
  SetNewNews("ibm", false);
  EXPECT_FALSE(GetNewNews("IBM", check, newest));

  for (const char *key : {"MSFT", "|-1", "|5"}) {
    check = newest = 9;
    EXPECT_FALSE(GetNewNews(key, check, newest)) << key;
    EXPECT_EQ(check, 0.0);
    EXPECT_EQ(newest, 0.0);
  }
}

TEST_F(NewsStoreTest, BusyNewsListGivesUpAfterItsTriesAndKeepsTheHolder) {
  AddNews("IBM", Item("A", "Wire", 45301.25), {});
  SetNewNews("IBM", true);
  NewsList &news = StockList.Find("IBM")->News;
  ASSERT_TRUE(news.Lock("HOLD"));
  TDateTime check, newest = 9;
  EXPECT_TRUE(GetNewNews("IBM", check, newest)) << "the flag is still known";
  EXPECT_EQ(newest, 0.0);
  EXPECT_EQ(news.LockObject().Owner(), "HOLD");
  EXPECT_EQ(AddNews("IBM", Item("B", "Wire", 45301.3), {}), 0);
  news.Unlock();
  GetNewNews("IBM", check, newest);
  EXPECT_DOUBLE_EQ(newest, 45301.25);
}

} // namespace
