#include "views/ticker/TickerLayout.h"
#include "views/ticker/TickerQuotes.h"

#include <gtest/gtest.h>

// Readable placements in failure messages.
void PrintTo(const TTickerTape::Placement &p, std::ostream *os) {
  *os << "{" << p.Index << "," << p.X << "}";
}

namespace {

using P = TTickerTape::Placement;

TEST(TickerTape, BoxesFollowEachOtherWithTheGapAndRepeat) {
  TTickerTape tape;
  tape.SetBoxes({50, 30}, 10);
  EXPECT_EQ(tape.CycleLength(), 100);
  EXPECT_EQ(tape.Placements(250), (std::vector<P>{{0, 0}, {1, 60}, {0, 100}, {1, 160}, {0, 200}}));
}

TEST(TickerTape, NegativeSpeedMovesLeftAndWraps) {
  TTickerTape tape;
  tape.SetBoxes({50, 30}, 10);
  tape.Step(-2);
  EXPECT_EQ(tape.Offset(), 2);
  EXPECT_EQ(tape.Placements(100), (std::vector<P>{{0, -2}, {1, 58}, {0, 98}}));
  for (int i = 0; i < 49; ++i)
    tape.Step(-2);
  EXPECT_EQ(tape.Offset(), 0) << "a whole round";
  tape.Step(3);
  EXPECT_EQ(tape.Offset(), 97) << "positive speed moves right";
  EXPECT_EQ(tape.Placements(40), (std::vector<P>{{0, 3}}));
}

TEST(TickerTape, NoBoxesNothingToPlace) {
  TTickerTape tape;
  tape.SetBoxes({}, 7);
  tape.Step(-5);
  EXPECT_EQ(tape.Offset(), 0);
  EXPECT_TRUE(tape.Placements(500).empty());
}

TEST(TickerTape, ShorterRoundKeepsTheOffsetInside) {
  TTickerTape tape;
  tape.SetBoxes({100, 100}, 0);
  tape.SetOffset(150);
  tape.SetBoxes({40}, 0);
  EXPECT_EQ(tape.Offset(), 150 % 40);
}

TEST(PreviewPlacement, PairCentredFirstBoxCentredVertically) {
  const TPreviewPlacement p = PlacePreviewBoxes(340, 48, 80, 30, 60, 7);
  EXPECT_EQ(p.X1, (340 - 147) / 2);
  EXPECT_EQ(p.X2, p.X1 + 87);
  EXPECT_EQ(p.Y, 9);
}

TEST(TickerAwayFromDialog, MovesAboveOrBelow) {
  const TRect dialog(100, 200, 500, 600); // centre y 400
  struct Row {
    const char *name;
    TRect ticker;
    std::optional<int> top;
  };
  const Row rows[] = {
      {"no overlap", TRect(0, 0, 1000, 24), std::nullopt},
      {"touching edge is no overlap", TRect(0, 176, 1000, 200), std::nullopt},
      {"upper half: above", TRect(0, 250, 1000, 274), 176},
      {"level centre: above", TRect(0, 388, 1000, 412), 176},
      {"lower half: below", TRect(0, 500, 1000, 524), 601},
      {"beside it", TRect(500, 300, 900, 324), std::nullopt},
  };
  for (const Row &r : rows)
    EXPECT_EQ(TickerTopAwayFromDialog(r.ticker, dialog), r.top) << r.name;
}

// ---- Box texts from quotes ----------------------------------------------------------

TEST(TickerBoxInput, TextsFromAQuote) {
  struct Row {
    const char *name;
    double last, change, prevClose;
    bool fractions;
    const char *price, *changeText, *direction;
  };
  const Row rows[] = {
      {"rising fraction", 114.75, 2.3125, 112.4375, true, "114 3/4", "+2 5/16", "U"},
      {"falling fraction", 104.125, -1.25, 105.375, true, "104 1/8", "-1 1/4", "D"},
      {"rising decimal", 12.5, 0.25, 12.25, false, "12.5", "+0.25", "U"},
      {"unchanged", 12.5, 0, 12.5, false, "12.5", "0", ""},
      {"no previous close", 12.5, 0, 0, false, "12.5", "", ""},
      {"no price", 0, 0, 0, false, "-", "", ""},
  };
  for (const Row &r : rows) {
    QuoteData q;
    q.Last = r.last;
    q.Change = r.change;
    q.PrevClose = r.prevClose;
    q.QuoteTime = 45000 + (12 * 3600 + 5 * 60 + 4) / 86400.0;
    const TStockBoxInput in = TickerBoxInput("IBM", q, true, r.fractions, 0);
    EXPECT_EQ(in.Price, r.price) << r.name;
    EXPECT_EQ(in.Change, r.changeText) << r.name;
    EXPECT_EQ(in.Direction, r.direction) << r.name;
    if (r.last != 0) {
      EXPECT_EQ(in.Time, "12:05:04") << r.name;
    }
  }
}

TEST(TickerBoxInput, DisplayOffsetMovesTheTime) {
  QuoteData q;
  q.Last = 1;
  q.QuoteTime = 45000.5;
  EXPECT_EQ(TickerBoxInput("X", q, true, false, 1.0 / 24).Time, "13:00:00");
  q.QuoteTime = 0;
  EXPECT_EQ(TickerBoxInput("X", q, true, false, 0).Time, "") << "no tick yet";
}

TEST(TickerSymbolList, FieldsInOrder) {
  EXPECT_EQ(TickerSymbolList("|IBM|MSFT|"), (std::vector<std::string>{"IBM", "MSFT"}));
  EXPECT_EQ(TickerSymbolList("||A||B"), (std::vector<std::string>{"A", "B"}));
  EXPECT_TRUE(TickerSymbolList("|").empty());
  EXPECT_TRUE(TickerSymbolList("").empty());
}

} // namespace
