#pragma once
// Geometry of the news window: the split between the headline area and the
// item pane, the headline area's grid, buttons and banner row, and the tool
// bar of the item pane. Plain arithmetic on sizes, so that it is tested
// without a window. Rectangles are in their parent's coordinates.
#include <QRect>
#include <QSize>

#include <array>

// ---- Split --------------------------------------------------------------------

constexpr double NewsSplitMin = 15.0;
constexpr double NewsSplitMax = 90.0;
constexpr double NewsSplitDefault = 50.0;
constexpr int NewsHeadlineMinHeight = 62;
constexpr int NewsSplitterHeight = 5;

// The headline area's height in the split panel: the whole height in two-pane
// mode; otherwise split per cent of it (nearest whole number), cut so that
// the splitter and 4 pixels still fit, and at least NewsHeadlineMinHeight.
int NewsHeadlineHeight(int splitPanelHeight, double splitPercent, bool twoPane);
// The split after the splitter was moved to splitterTop: per cent of the split
// panel's height, held to NewsSplitMin .. NewsSplitMax. A panel without height
// keeps the old split.
double NewsSplitFromSplitter(int splitterTop, int splitPanelHeight, double oldSplit);

// ---- Banner row ---------------------------------------------------------------

constexpr QSize NewsBannerSize(468, 60);
constexpr QSize SideBannerPairSize(88, 31); // positions 1, 2, 5 and 6
constexpr QSize SideBannerSize(120, 60);    // positions 3 and 4
constexpr QSize BannerArrowSize(16, 15);
constexpr int BannerRowSpace = 64; // taken from the grid while banners are on
constexpr int BannerRowFromBottom = 65;
constexpr int NewsBannerLocation = 2;
constexpr int SideBannerLocationBase = 47; // position p uses ad location 47 + p
constexpr int SideBannerCount = 6;
constexpr QSize NewsWindowMinSizeWithBanners(555, 185);

// The parts of the banner row, in the order their widths are added up.
enum TBannerPart {
  bpLabelL,
  bpBanner,
  bpLabelR,
  bpLeftPair,
  bpSide3,
  bpRightPair,
  bpSide4,
  BannerPartCount
};

struct TBannerRowInput {
  int AreaWidth = 0;
  int Top = 0;         // the banner's top
  int LabelLWidth = 0; // caption labels
  int LabelRWidth = 0;
  int LabelHeight = 0;
  std::array<bool, SideBannerCount + 1> Side{}; // [1..6]: a side banner exists there
};

struct TBannerRowLayout {
  std::array<bool, BannerPartCount> Shown{};
  QRect LabelL, Banner, LabelR, ArrowL, ArrowR;
  std::array<QRect, SideBannerCount + 1> Side{}; // [1..6]; empty when not shown
  bool SideShown(int position) const;
};

// Lays out the banner row: parts without a banner are left out; while the
// rest is wider than the area less 4 pixels, the labels, then the right pair,
// the left pair, position 4 and position 3 are dropped. The pairs sit at the
// edges (position 3 and 4 beside them), the labels and the news banner are
// centred in the space between.
TBannerRowLayout LayoutBannerRow(const TBannerRowInput &in);

// ---- Headline area and item pane -----------------------------------------------

// The buttons of the headline area, left to right.
enum TNewsButton {
  nbSelAll,
  nbMarkRead,
  nbMarkNotRead,
  nbNoBulb,
  nbForce,
  nbForceAll,
  nbSetNews,
  nbDetail,
  NewsButtonCount
};

struct TNewsLayoutInput {
  QSize SplitPanel; // PanSplit's client size
  double SplitPercent = NewsSplitDefault;
  bool TwoPane = false;
  bool BannersOn = false;
  int NavPanHeight = 0;
  std::array<QSize, NewsButtonCount> Buttons{};
  QSize NoNewsText; // txtNoNews
  QSize SpinnerPanel{102, 19};
  int GoButtonWidth = 0;
  int AddressLeft = 0;
  TBannerRowInput Banners; // AreaWidth and Top are filled in by the layout
};

struct TNewsLayout {
  // In PanSplit
  QRect HeadlineArea, Splitter, NavPan, ItemPane;
  // In the headline area
  QRect Grid, NoNewsText;
  std::array<QRect, NewsButtonCount> Buttons{};
  bool BannerRowShown = false;
  TBannerRowLayout BannerRow;
  // In the item pane and the tool bar
  QRect SpinnerPanel, GoButton, Address;
};

TNewsLayout LayoutNewsWindow(const TNewsLayoutInput &in);

// The least headline-area width at which LayoutNewsWindow places the button
// row (widths in TNewsButton order) without two buttons touching: the middle
// group keeps at least one pixel from "Select All" after its shift left.
int NewsButtonRowMinWidth(const std::array<int, NewsButtonCount> &buttonWidths);
constexpr int NewsWindowMinHeight = 185;

// Width of the heading column: what the grid's width leaves beside the other
// three columns and the lines between, less the scroll bar when it shows; at
// least NewsHeadingMinWidth.
constexpr int NewsHeadingMinWidth = 20;
int NewsHeadingColumnWidth(int gridWidth, int readWidth, int dateWidth, int sourceWidth,
                           int scrollBarWidth, bool allRowsVisible);
