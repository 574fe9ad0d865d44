#include "alerts/news/NewsLayout.h"

#include "platform/Format.h"

#include <algorithm>

int NewsHeadlineHeight(int splitPanelHeight, double splitPercent, bool twoPane) {
  if (twoPane)
    return std::max(0, splitPanelHeight);
  int h = int(Round(splitPanelHeight * splitPercent / 100.0));
  h = std::min(h, splitPanelHeight - NewsSplitterHeight - 4);
  return std::max(h, NewsHeadlineMinHeight);
}

double NewsSplitFromSplitter(int splitterTop, int splitPanelHeight, double oldSplit) {
  if (splitPanelHeight <= 0)
    return oldSplit;
  const double split = splitterTop * 100.0 / splitPanelHeight;
  return std::clamp(split, NewsSplitMin, NewsSplitMax);
}

bool TBannerRowLayout::SideShown(int position) const {
  switch (position) {
  case 1:
  case 2:
    return Shown[bpLeftPair] && !Side[position].isEmpty();
  case 3:
    return Shown[bpSide3];
  case 4:
    return Shown[bpSide4];
  case 5:
  case 6:
    return Shown[bpRightPair] && !Side[position].isEmpty();
  default:
    return false;
  }
}

TBannerRowLayout LayoutBannerRow(const TBannerRowInput &in) {
  TBannerRowLayout out;
  std::array<int, BannerPartCount> width{};
  width[bpLabelL] = in.LabelLWidth + 1;
  width[bpBanner] = NewsBannerSize.width() + 1;
  width[bpLabelR] = in.LabelRWidth + 1;
  width[bpLeftPair] = SideBannerPairSize.width() + 1;
  width[bpSide3] = SideBannerSize.width() + 1;
  width[bpRightPair] = SideBannerPairSize.width() + 1;
  width[bpSide4] = SideBannerSize.width() + 1;

  out.Shown.fill(true);
  out.Shown[bpLeftPair] = in.Side[1] || in.Side[2];
  out.Shown[bpSide3] = in.Side[3];
  out.Shown[bpRightPair] = in.Side[5] || in.Side[6];
  out.Shown[bpSide4] = in.Side[4];

  auto wanted = [&] {
    int sum = 0;
    for (int part = 0; part < BannerPartCount; ++part)
      sum += out.Shown[part] ? width[part] : 0;
    return sum;
  };
  // Dropped first to last; the labels go together.
  const std::array<std::array<int, 2>, 5> dropOrder = {{{bpLabelL, bpLabelR},
                                                        {bpRightPair, bpRightPair},
                                                        {bpLeftPair, bpLeftPair},
                                                        {bpSide4, bpSide4},
                                                        {bpSide3, bpSide3}}};
  for (const auto &drop : dropOrder) {
    if (wanted() <= in.AreaWidth - 4)
      break;
    for (int part : drop)
      out.Shown[part] = false;
  }

  const int top = in.Top;
  int left = 2;
  if (out.Shown[bpLeftPair]) {
    if (in.Side[1])
      out.Side[1] = QRect(QPoint(2, top), SideBannerPairSize);
    if (in.Side[2])
      out.Side[2] = QRect(QPoint(2, top + 32), SideBannerPairSize);
    left += width[bpLeftPair];
  }
  if (out.Shown[bpSide3]) {
    out.Side[3] = QRect(QPoint(left, top + 1), SideBannerSize);
    left += width[bpSide3];
  }
  int right = in.AreaWidth - 2;
  if (out.Shown[bpRightPair]) {
    const int x = right - SideBannerPairSize.width();
    if (in.Side[5])
      out.Side[5] = QRect(QPoint(x, top), SideBannerPairSize);
    if (in.Side[6])
      out.Side[6] = QRect(QPoint(x, top + 32), SideBannerPairSize);
    right = x - 1;
  }
  if (out.Shown[bpSide4]) {
    const int x = right - SideBannerSize.width();
    out.Side[4] = QRect(QPoint(x, top + 1), SideBannerSize);
    right = x - 1;
  }

  int group = 0;
  for (int part : {bpLabelL, bpBanner, bpLabelR})
    group += out.Shown[part] ? width[part] : 0;
  int x = left + (right - left - group) / 2;
  if (out.Shown[bpLabelL]) {
    out.LabelL = QRect(x, top, in.LabelLWidth, in.LabelHeight);
    out.ArrowL = QRect(QPoint(out.LabelL.x() + in.LabelLWidth - BannerArrowSize.width(),
                              top + 62 - BannerArrowSize.height()),
                       BannerArrowSize);
    x += width[bpLabelL];
  }
  out.Banner = QRect(QPoint(x, top), NewsBannerSize);
  x += width[bpBanner];
  if (out.Shown[bpLabelR]) {
    out.LabelR = QRect(x, top, in.LabelRWidth, in.LabelHeight);
    out.ArrowR = QRect(QPoint(x, top + 62 - BannerArrowSize.height()), BannerArrowSize);
  }
  return out;
}

TNewsLayout LayoutNewsWindow(const TNewsLayoutInput &in) {
  TNewsLayout out;
  const int panelW = in.SplitPanel.width();
  const int panelH = in.SplitPanel.height();

  const int areaH = NewsHeadlineHeight(panelH, in.SplitPercent, in.TwoPane);
  out.HeadlineArea = QRect(0, 0, panelW, areaH);
  if (!in.TwoPane) {
    out.Splitter = QRect(0, areaH, panelW, NewsSplitterHeight);
    out.NavPan = QRect(0, out.Splitter.bottom() + 1, panelW, in.NavPanHeight);
    const int paneTop = out.NavPan.bottom() + 1;
    out.ItemPane = QRect(0, paneTop, panelW, std::max(0, panelH - paneTop));
  }

  const int areaW = panelW;
  const int buttonH = in.Buttons[nbSelAll].height();
  int gridH = areaH - 2 - buttonH - 2 - 2;
  if (in.BannersOn)
    gridH -= BannerRowSpace;
  out.Grid = QRect(2, 2, std::max(0, areaW - 5), std::max(0, gridH));
  out.NoNewsText = QRect(QPoint(out.Grid.x() + (out.Grid.width() - in.NoNewsText.width()) / 2,
                                out.Grid.y() + (out.Grid.height() - in.NoNewsText.height()) / 2),
                         in.NoNewsText);

  const int buttonY = out.Grid.y() + out.Grid.height() + 2;
  out.Buttons[nbSelAll] = QRect(QPoint(2, buttonY), in.Buttons[nbSelAll]);
  out.Buttons[nbDetail] =
      QRect(QPoint(areaW - 2 - in.Buttons[nbDetail].width(), buttonY), in.Buttons[nbDetail]);
  // The middle group with its gaps, centred between the two and moved 5 pixels left.
  const std::array<int, 5> gaps = {1, 5, 1, 1, 5};
  int group = 0;
  for (int b = nbMarkRead; b <= nbSetNews; ++b)
    group += in.Buttons[b].width();
  for (int gap : gaps)
    group += gap;
  const int spaceLeft = out.Buttons[nbSelAll].x() + out.Buttons[nbSelAll].width();
  const int spaceRight = out.Buttons[nbDetail].x();
  int x = spaceLeft + (spaceRight - spaceLeft - group) / 2 - 5;
  for (int b = nbMarkRead; b <= nbSetNews; ++b) {
    out.Buttons[b] = QRect(QPoint(x, buttonY), in.Buttons[b]);
    x += in.Buttons[b].width() + (b < nbSetNews ? gaps[b - nbMarkRead] : 0);
  }

  out.BannerRowShown = in.BannersOn;
  if (in.BannersOn) {
    TBannerRowInput banners = in.Banners;
    banners.AreaWidth = areaW;
    banners.Top = areaH - BannerRowFromBottom;
    out.BannerRow = LayoutBannerRow(banners);
  }

  out.SpinnerPanel =
      QRect(QPoint(out.ItemPane.width() - in.SpinnerPanel.width() - 3, 3), in.SpinnerPanel);
  const int navW = panelW;
  out.GoButton = QRect(navW - 1 - in.GoButtonWidth, 0, in.GoButtonWidth, 0);
  out.Address = QRect(in.AddressLeft, 0, std::max(0, out.GoButton.x() - 3 - in.AddressLeft), 0);
  return out;
}

int NewsButtonRowMinWidth(const std::array<int, NewsButtonCount> &buttonWidths) {
  int group = 1 + 5 + 1 + 1 + 5; // the gaps of the middle group
  for (int b = nbMarkRead; b <= nbSetNews; ++b)
    group += buttonWidths[b];
  // Centred, then 5 pixels left: (space - group) / 2 - 5 >= 1.
  return 2 + buttonWidths[nbSelAll] + group + 12 + buttonWidths[nbDetail] + 2;
}

int NewsHeadingColumnWidth(int gridWidth, int readWidth, int dateWidth, int sourceWidth,
                           int scrollBarWidth, bool allRowsVisible) {
  int w = gridWidth - readWidth - 2 - dateWidth - 2 - sourceWidth - 6;
  if (!allRowsVisible)
    w -= scrollBarWidth;
  return std::max(w, NewsHeadingMinWidth);
}
