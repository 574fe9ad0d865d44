#include "alerts/news/NewsLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct HeightCase {
  const char *name;
  int panel;
  double split;
  bool twoPane;
  int height;
};

TEST(NewsLayoutTest, HeadlineAreaHeight) {
  const HeightCase cases[] = {
      {"half", 400, 50, false, 200},
      {"nearest whole number", 401, 50, false, 200}, // 200.5 to the even neighbour
      {"splitter and 4 pixels still fit", 400, 99, false, 391},
      {"at least 62", 400, 10, false, 62},
      {"a small panel keeps 62", 50, 90, false, 62},
      {"two panes take it all", 400, 50, true, 400},
  };
  for (const auto &c : cases)
    EXPECT_EQ(NewsHeadlineHeight(c.panel, c.split, c.twoPane), c.height) << c.name;
}

TEST(NewsLayoutTest, SplitterMovesAreHeldBetween15And90) {
  EXPECT_DOUBLE_EQ(NewsSplitFromSplitter(200, 400, 50), 50);
  EXPECT_DOUBLE_EQ(NewsSplitFromSplitter(390, 400, 50), 90);
  EXPECT_DOUBLE_EQ(NewsSplitFromSplitter(10, 400, 50), 15);
  EXPECT_DOUBLE_EQ(NewsSplitFromSplitter(100, 400, 50), 25);
  EXPECT_DOUBLE_EQ(NewsSplitFromSplitter(100, 0, 42), 42) << "no height: no division";
}

TNewsLayoutInput Input(int w, int h, bool banners) {
  TNewsLayoutInput in;
  in.SplitPanel = QSize(w, h);
  in.BannersOn = banners;
  in.NavPanHeight = 28;
  for (auto &b : in.Buttons)
    b = QSize(80, 24);
  in.NoNewsText = QSize(150, 22);
  in.GoButtonWidth = 30;
  in.AddressLeft = 200;
  in.Banners.LabelLWidth = 84;
  in.Banners.LabelRWidth = 84;
  in.Banners.LabelHeight = 46;
  return in;
}

TEST(NewsLayoutTest, GridButtonsAndPanes) {
  const TNewsLayout l = LayoutNewsWindow(Input(700, 500, false));
  EXPECT_EQ(l.HeadlineArea, QRect(0, 0, 700, 250));
  EXPECT_EQ(l.Splitter, QRect(0, 250, 700, 5));
  EXPECT_EQ(l.NavPan, QRect(0, 255, 700, 28));
  EXPECT_EQ(l.ItemPane, QRect(0, 283, 700, 217));
  EXPECT_EQ(l.Grid, QRect(2, 2, 695, 250 - 2 - 24 - 2 - 2));
  EXPECT_EQ(l.Buttons[nbSelAll].topLeft(), QPoint(2, l.Grid.bottom() + 1 + 2));
  EXPECT_EQ(l.Buttons[nbDetail].right(), 700 - 2 - 1);
  // Gaps 1, 5, 1, 1, 5 between the middle buttons.
  const int gaps[] = {1, 5, 1, 1, 5};
  for (int b = nbMarkRead; b < nbSetNews; ++b)
    EXPECT_EQ(l.Buttons[b + 1].x() - (l.Buttons[b].right() + 1), gaps[b - nbMarkRead]) << b;
  // The group is centred between Select All and Detail, then 5 pixels to the left.
  const int leftSpace = l.Buttons[nbMarkRead].x() - (l.Buttons[nbSelAll].right() + 1);
  const int rightSpace = l.Buttons[nbDetail].x() - (l.Buttons[nbSetNews].right() + 1);
  EXPECT_NEAR(rightSpace - leftSpace, 10, 1);
  EXPECT_LE(std::abs(l.NoNewsText.center().x() - l.Grid.center().x()), 1);
  EXPECT_LE(std::abs(l.NoNewsText.center().y() - l.Grid.center().y()), 1);
  EXPECT_EQ(l.SpinnerPanel, QRect(700 - 102 - 3, 3, 102, 19));
  EXPECT_EQ(l.GoButton.x(), 700 - 1 - 30);
  EXPECT_EQ(l.Address.x() + l.Address.width(), l.GoButton.x() - 3);
  EXPECT_FALSE(l.BannerRowShown);
}

TEST(NewsLayoutTest, TwoPanesLeaveOutSplitterAndItemPane) {
  TNewsLayoutInput in = Input(700, 500, false);
  in.TwoPane = true;
  const TNewsLayout l = LayoutNewsWindow(in);
  EXPECT_EQ(l.HeadlineArea.height(), 500);
  EXPECT_TRUE(l.ItemPane.isEmpty());
  EXPECT_TRUE(l.Splitter.isEmpty());
}

TEST(NewsLayoutTest, BannersTake64PixelsFromTheGrid) {
  const TNewsLayout off = LayoutNewsWindow(Input(900, 500, false));
  const TNewsLayout on = LayoutNewsWindow(Input(900, 500, true));
  EXPECT_EQ(off.Grid.height() - on.Grid.height(), BannerRowSpace);
  EXPECT_TRUE(on.BannerRowShown);
  EXPECT_EQ(on.BannerRow.Banner.y(), 250 - BannerRowFromBottom);
  EXPECT_EQ(on.BannerRow.Banner.size(), NewsBannerSize);
  EXPECT_LT(on.Buttons[nbSelAll].bottom(), on.BannerRow.Banner.y());
}

struct DropCase {
  const char *name;
  int width;
  std::array<bool, BannerPartCount> shown;
};

TEST(NewsLayoutTest, NarrowRowsDropPartsInOrder) {
  // Widths + 1: labels 85 each, banner 469, pairs 89, singles 121; all: 1059.
  const DropCase cases[] = {
      {"all fit", 1063, {true, true, true, true, true, true, true}},
      {"labels go first", 1062, {false, true, false, true, true, true, true}},
      {"then the right pair", 888, {false, true, false, true, true, false, true}},
      {"then the left pair", 799, {false, true, false, false, true, false, true}},
      {"then position 4", 710, {false, true, false, false, true, false, false}},
      {"then position 3", 593, {false, true, false, false, false, false, false}},
      {"the banner stays", 300, {false, true, false, false, false, false, false}},
  };
  for (const auto &c : cases) {
    TBannerRowInput in;
    in.AreaWidth = c.width;
    in.Top = 100;
    in.LabelLWidth = 84;
    in.LabelRWidth = 84;
    in.LabelHeight = 46;
    in.Side.fill(true);
    const TBannerRowLayout row = LayoutBannerRow(in);
    EXPECT_EQ(row.Shown, c.shown) << c.name;
  }
}

TEST(NewsLayoutTest, BannerRowPlaces) {
  TBannerRowInput in;
  in.AreaWidth = 1100;
  in.Top = 100;
  in.LabelLWidth = 84;
  in.LabelRWidth = 84;
  in.LabelHeight = 46;
  in.Side.fill(true);
  const TBannerRowLayout row = LayoutBannerRow(in);
  EXPECT_EQ(row.Side[1], QRect(2, 100, 88, 31));
  EXPECT_EQ(row.Side[2], QRect(2, 132, 88, 31));
  EXPECT_EQ(row.Side[3], QRect(91, 101, 120, 60));
  EXPECT_EQ(row.Side[5], QRect(1100 - 2 - 88, 100, 88, 31));
  EXPECT_EQ(row.Side[6], QRect(1100 - 2 - 88, 132, 88, 31));
  EXPECT_EQ(row.Side[4], QRect(1100 - 2 - 88 - 1 - 120, 101, 120, 60));
  // Labels and banner centred between position 3 and position 4.
  const int left = row.Side[3].right() + 2;
  const int right = row.Side[4].x() - 1;
  const int group = 85 + 469 + 85;
  EXPECT_EQ(row.LabelL.x(), left + (right - left - group) / 2);
  EXPECT_EQ(row.Banner.x(), row.LabelL.x() + 85);
  EXPECT_EQ(row.LabelR.x(), row.Banner.x() + 469);
  EXPECT_EQ(row.ArrowL.right(), row.LabelL.right()) << "right-aligned under the left label";
  EXPECT_EQ(row.ArrowL.bottom() + 1, 100 + 62);
  EXPECT_EQ(row.ArrowR.x(), row.LabelR.x());
}

TEST(NewsLayoutTest, MissingSideBannersAreLeftOut) {
  TBannerRowInput in;
  in.AreaWidth = 700;
  in.Top = 0;
  in.LabelLWidth = 84;
  in.LabelRWidth = 84;
  const TBannerRowLayout row = LayoutBannerRow(in);
  EXPECT_TRUE(row.Shown[bpLabelL]);
  EXPECT_FALSE(row.Shown[bpLeftPair]);
  for (int p = 1; p <= SideBannerCount; ++p)
    EXPECT_FALSE(row.SideShown(p)) << p;
  EXPECT_EQ(row.LabelL.x(), 2 + (698 - 2 - 639) / 2);
}

TEST(NewsLayoutTest, HeadingColumnTakesTheRest) {
  EXPECT_EQ(NewsHeadingColumnWidth(600, 20, 120, 100, 16, true), 600 - 20 - 2 - 120 - 2 - 100 - 6);
  EXPECT_EQ(NewsHeadingColumnWidth(600, 20, 120, 100, 16, false),
            600 - 20 - 2 - 120 - 2 - 100 - 6 - 16);
  EXPECT_EQ(NewsHeadingColumnWidth(100, 20, 120, 100, 16, false), NewsHeadingMinWidth);
}

} // namespace
