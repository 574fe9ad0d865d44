#include "core/FieldTitles.h"
#include "core/MarketTime.h"

#include "platform/Clock.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

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

// Times converted one after another, in time order across several years'
// changes and in random jumps, each as the zone itself converts it.
TEST(MarketTimeTest, EveryTimeAsTheZoneConvertsIt) {
  const QTimeZone zone("America/New_York");
  if (!zone.isValid())
    GTEST_SKIP() << "no time zone data";
  const auto byZone = [&](TDateTime utc) {
    const qint64 ms = qint64(std::llround((utc - 25569.0) * MSecsPerDay));
    return utc + zone.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC)) / SecsPerDay;
  };
  std::vector<TDateTime> times;
  // Every 20 minutes through 2023-2025 (six changes), then random jumps
  // over 1900-2100, then the minutes around one change both ways.
  for (TDateTime t = EncodeDate(2023, 1, 1); t < EncodeDate(2026, 1, 1); t += 1.0 / 72)
    times.push_back(t);
  std::mt19937 random(2026);
  for (int i = 0; i < 3000; ++i)
    times.push_back(EncodeDate(1900, 1, 1) + double(random() % 73000) +
                    double(random() % 86400) / 86400);
  const TDateTime change = EncodeDateTime(2024, 3, 10, 7, 0, 0, 0);
  for (int m = -3; m <= 3; ++m)
    times.push_back(change + m / 1440.0);
  for (int m = 3; m >= -3; --m)
    times.push_back(change + m / 1440.0);
  for (const TDateTime t : times)
    ASSERT_EQ(UtcToEastern(t), byZone(t)) << t;
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
