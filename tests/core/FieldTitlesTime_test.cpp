#include "core/FieldTitles.h"
#include "core/MarketTime.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(FieldTitlesTest, NamedFieldsAndUniqueKeys) {
  const auto &t = FieldTitleTables();
  EXPECT_STREQ(t[gfSymbol].Long, "Symbol");
  EXPECT_STREQ(t[gfSymbol].Medium, "Symb");
  EXPECT_STREQ(t[gfSymbol].Short, "Sym");
  EXPECT_STREQ(t[gfSymbol].ViewKey, "SymCol");
  EXPECT_STREQ(t[gfTick].ViewKey, "TickCol");
  EXPECT_STREQ(t[gfOpenInterest].Long, "Open Interest");
  EXPECT_STREQ(t[gfOpenInterest].ViewKey, "OpenIntCol");
  EXPECT_STREQ(t[gfTrades].Long, "# trades");
  EXPECT_STREQ(t[gfMktCap].Long, "Mkt Cap");
  std::set<std::string> keys, shorts;
  for (int f = 0; f < GridFieldCount; ++f) {
    EXPECT_TRUE(keys.insert(t[f].ViewKey).second) << f;
    EXPECT_TRUE(shorts.insert(t[f].Short).second) << f;
    EXPECT_LE(std::string(t[f].Medium).size(), std::string(t[f].Long).size()) << f;
    EXPECT_LE(std::string(t[f].Short).size(), std::string(t[f].Medium).size()) << f;
    EXPECT_EQ(FieldByViewKey(t[f].ViewKey), f);
  }
  EXPECT_EQ(FieldByViewKey("TICKCOL"), gfTick);
  EXPECT_EQ(FieldByViewKey("nothing"), -1);
  EXPECT_EQ(FieldLongTitle(45), "");
  EXPECT_EQ(FieldLongTitle(-1), "");
  EXPECT_EQ(FieldShortTitle(gfBid), "Bid");
}

TEST(MarketTimeTest, EasternNowInWinterAndSummer) {
  struct Case {
    TDateTime utc;
    TDateTime eastern;
  } cases[] = {
      // 15 January 2024 14:30 UTC is 09:30 EST.
      {EncodeDateTime(2024, 1, 15, 14, 30, 0, 0), EncodeDateTime(2024, 1, 15, 9, 30, 0, 0)},
      // 15 July 2024 13:30 UTC is 09:30 EDT.
      {EncodeDateTime(2024, 7, 15, 13, 30, 0, 0), EncodeDateTime(2024, 7, 15, 9, 30, 0, 0)},
      // Just before and after the spring change (10 March 2024, 07:00 UTC).
      {EncodeDateTime(2024, 3, 10, 6, 59, 0, 0), EncodeDateTime(2024, 3, 10, 1, 59, 0, 0)},
      {EncodeDateTime(2024, 3, 10, 7, 0, 0, 0), EncodeDateTime(2024, 3, 10, 3, 0, 0, 0)},
      // The autumn change (3 November 2024, 06:00 UTC).
      {EncodeDateTime(2024, 11, 3, 5, 59, 0, 0), EncodeDateTime(2024, 11, 3, 1, 59, 0, 0)},
      {EncodeDateTime(2024, 11, 3, 6, 0, 0, 0), EncodeDateTime(2024, 11, 3, 1, 0, 0, 0)},
      // Shortly after midnight UTC is the evening before in New York.
      {EncodeDateTime(2024, 1, 1, 2, 0, 0, 0), EncodeDateTime(2023, 12, 31, 21, 0, 0, 0)},
  };
  for (const Case &c : cases) {
    FakeClock clock(c.utc, 1.0 / 24);
    SetAppClock(&clock);
    EXPECT_NEAR(EasternNow(), c.eastern, 1e-9) << c.utc;
    EXPECT_NEAR(UtcToEasternByRules(c.utc), c.eastern, 1e-9) << c.utc;
    SetAppClock(nullptr);
  }
}
