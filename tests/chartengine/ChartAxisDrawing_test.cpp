#include "AxisTestSupport.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartTextLines.h"
#include "chartengine/canvas/DateTimeSteps.h"
#include "platform/DateTime.h"
#include "platform/Format.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

using Line = std::pair<TPoint, TPoint>;

class AxisDrawing : public AxisTest {
protected:
  // Left axis 0 .. 100 over the plot's 200 pixels: labels every 10.
  void DrawLeft() {
    AddSeries({{0, 0}, {1, 100}});
    LayoutAndDraw(Left());
  }
  int H() const { return Metrics(TFont()).height(); }
};

TEST_F(AxisDrawing, ValueLabelsFromTheTopDown) {
  DrawLeft();
  ASSERT_EQ(Left().EffectiveIncrement(), 10);
  EXPECT_THAT(Texts(),
              ElementsAre("100", "90", "80", "70", "60", "50", "40", "30", "20", "10", "0"));
  const int h = Metrics(Left().LabelsFont().Font()).height();
  for (const TCanvasCall &c : Rec.CallsNamed("TextOut")) {
    const int p = Left().YValueToScreen(StrToFloat(c.Text));
    EXPECT_EQ(c.Args, (std::vector<int>{Left().LabelsPos(), p - h / 2})) << c.Text;
    EXPECT_EQ(c.TextAlign, TA_RIGHT);
    EXPECT_EQ(c.BkMode, TRANSPARENT);
    EXPECT_EQ(c.Brush.Style, bsClear);
  }
  // The alignment is left as it was found.
  EXPECT_EQ(Panel.Canvas().GetTextAlign(), TA_LEFT);
}

TEST_F(AxisDrawing, TicksGridAndAxisLine) {
  DrawLeft();
  const int line = Left().AxisLinePos();
  const TRect plot = Panel.PlotRect();
  std::vector<Line> ticks, grid;
  for (int v = 100; v >= 0; v -= 10) {
    const int p = Left().YValueToScreen(v);
    ticks.push_back({TPoint(line - 4, p), TPoint(line, p)});
    grid.push_back({TPoint(plot.Left, p), TPoint(plot.Right, p)});
  }
  const std::vector<Line> gray = LinesIn(clGray, psSolid);
  // Major ticks, and three minor ticks of 2 pixels between each two.
  ASSERT_THAT(gray, SizeIs(11 + 30));
  std::vector<Line> major;
  for (const Line &l : gray)
    if (l.first.X == line - 4)
      major.push_back(l);
  EXPECT_EQ(major, ticks);
  EXPECT_EQ(gray[2], Line(TPoint(line - 2, 25), TPoint(line, 25)));
  EXPECT_EQ(LinesIn(clGray, psDot), grid);
  const std::vector<Line> axis = LinesIn(clBlack, psSolid);
  ASSERT_THAT(axis, SizeIs(1));
  EXPECT_EQ(axis[0], Line(TPoint(line, 20), TPoint(line, 220)));
  EXPECT_EQ(Rec.CallsNamed("LineTo").back().Pen.Width, 2);
}

TEST_F(AxisDrawing, HiddenPartsAreNotDrawn) {
  Left().Grid().SetVisible(false);
  Left().MinorTicks().SetVisible(false);
  Left().Axis().SetVisible(false);
  Left().SetLabels(false);
  DrawLeft();
  EXPECT_THAT(Texts(), IsEmpty());
  EXPECT_THAT(LinesIn(clGray, psDot), IsEmpty());
  EXPECT_THAT(LinesIn(clBlack, psSolid), IsEmpty());
  // Ticks stay where the labels would be.
  EXPECT_THAT(LinesIn(clGray, psSolid), SizeIs(11));
}

TEST_F(AxisDrawing, InnerTicksAndCentredGrid) {
  Left().SetTickInnerLength(5);
  Left().TicksInner().SetColor(clRed);
  Left().SetGridCentered(true);
  Left().Grid().SetColor(clTeeColor);
  DrawLeft();
  const int line = Left().AxisLinePos();
  const std::vector<Line> inner = LinesIn(clRed, psSolid);
  ASSERT_THAT(inner, SizeIs(11));
  EXPECT_EQ(inner[0], Line(TPoint(line + 5, 20), TPoint(line, 20)));
  // An automatic grid colour draws gray; centred lines fall between labels.
  const std::vector<Line> grid = LinesIn(clGray, psDot);
  ASSERT_THAT(grid, SizeIs(11));
  EXPECT_EQ(grid[0].first.Y, 20);
  EXPECT_EQ(grid[1].first.Y, 30);
  EXPECT_EQ(grid[10].first.Y, 210);
}

TEST_F(AxisDrawing, BottomLabelsCentredBelowTheAxis) {
  AddSeries({{0, 0}, {100, 1}});
  Bottom().Title().SetCaption("Minutes");
  LayoutAndDraw(Bottom());
  const std::vector<TCanvasCall> texts = Rec.CallsNamed("TextOut");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front().Text, "Minutes");
  EXPECT_EQ(texts.front().Args, (std::vector<int>{Bottom().CenterPixel(), Bottom().TitlePos()}));
  EXPECT_EQ(texts.front().TextAlign, TA_CENTER);
  for (std::size_t t = 1; t < texts.size(); ++t) {
    EXPECT_EQ(texts[t].TextAlign, TA_CENTER);
    EXPECT_EQ(texts[t].Args[0], Bottom().XValueToScreen(StrToFloat(texts[t].Text)));
    EXPECT_EQ(texts[t].Args[1], Bottom().LabelsPos());
  }
  EXPECT_EQ(texts.back().Text, "0");
}

TEST_F(AxisDrawing, TopLabelsStandOnTheirEdge) {
  TChartSeries &s = AddSeries({{0, 0}, {100, 1}});
  s.SetHorizAxis(aTopAxis);
  LayoutAndDraw(Top());
  const std::vector<TCanvasCall> texts = Rec.CallsNamed("TextOut");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0].TextAlign, TA_CENTER | TA_BOTTOM);
  EXPECT_EQ(texts[0].Args[1], Top().LabelsPos());
  EXPECT_LT(Top().LabelsPos(), Top().AxisLinePos());
}

TEST_F(AxisDrawing, LeftTitleIsTurned) {
  Left().Title().SetCaption("Price");
  DrawLeft();
  const TCanvasCall title = Rec.CallsNamed("TextOut").front();
  EXPECT_EQ(title.Text, "Price");
  EXPECT_EQ(title.Font.Orientation, 900);
  EXPECT_EQ(title.TextAlign, TA_CENTER | TA_BOTTOM);
  EXPECT_EQ(title.Args, (std::vector<int>{Left().TitlePos(), Left().CenterPixel()}));
  EXPECT_EQ(Left().TitlePos(), 50 + Metrics(Left().Title().Font().Font()).height());
}

TEST_F(AxisDrawing, MultiLineLabelsLineByLine) {
  TChartSeries &s = AddSeries({{0, 0}, {1, 1}});
  s.SetPointLabel(0, std::string("first") + LineBreakChar + "second");
  s.SetPointLabel(1, "x");
  LayoutAndDraw(Bottom());
  const std::vector<TCanvasCall> texts = Rec.CallsNamed("TextOut");
  ASSERT_THAT(texts, SizeIs(3));
  const int h = Metrics(Bottom().LabelsFont().Font()).height();
  EXPECT_EQ(texts[0].Text, "first");
  EXPECT_EQ(texts[1].Text, "second");
  EXPECT_EQ(texts[1].Args[1] - texts[0].Args[1], h);
  EXPECT_EQ(texts[2].Text, "x");
}

// Series labels that would overlap the last one drawn are left out.
TEST_F(AxisDrawing, SeriesLabelsSkipWhenTheyOverlap) {
  Panel.SetPlot(TRect(50, 20, 200, 220));
  TChartSeries &s = AddSeries({});
  const char *names[] = {"January", "February", "March",  "April",     "May",
                         "June",    "July",     "August", "September", "October"};
  for (int t = 0; t < 10; ++t)
    s.AppendPoint(t, t, names[t]);
  LayoutAndDraw(Bottom());
  const std::vector<TCanvasCall> texts = Rec.CallsNamed("TextOut");
  ASSERT_GE(texts.size(), 2u);
  ASSERT_LT(texts.size(), 10u);
  EXPECT_EQ(texts[0].Text, "January");
  const TFont &font = Bottom().LabelsFont().Font();
  std::size_t drawn = 0;
  int lastRight = INT_MIN;
  for (int t = 0; t < 10; ++t) {
    const int p = Bottom().XValueToScreen(t);
    const int half = Width(font, names[t]) / 2;
    const bool fits = p - half >= lastRight;
    if (drawn < texts.size() && texts[drawn].Text == names[t]) {
      EXPECT_TRUE(fits) << names[t];
      lastRight = p + half;
      ++drawn;
    } else {
      EXPECT_FALSE(fits) << names[t];
    }
  }
  EXPECT_EQ(drawn, texts.size());
  // Ticks only where a label is drawn.
  EXPECT_THAT(LinesIn(clGray, psSolid), SizeIs(texts.size() + 3 * (texts.size() - 1)));

  Bottom().SetTickOnLabelsOnly(false);
  LayoutAndDraw(Bottom());
  EXPECT_THAT(LinesIn(clGray, psSolid), SizeIs(10 + 3 * 9));
  // Without a separation labels may stand closer, yet never over each other.
  Bottom().SetLabelsSeparation(0);
  LayoutAndDraw(Bottom());
  const std::vector<TCanvasCall> close = Rec.CallsNamed("TextOut");
  EXPECT_GE(close.size(), texts.size());
  EXPECT_LT(close.size(), 10u);
  for (std::size_t t = 1; t < close.size(); ++t) {
    const int previousWidth = Width(font, close[t - 1].Text);
    const int previousRight = close[t - 1].Args[0] - previousWidth / 2 + previousWidth;
    const int thisLeft = close[t].Args[0] - Width(font, close[t].Text) / 2;
    EXPECT_GT(thisLeft, previousRight) << close[t].Text;
  }
}

TEST_F(AxisDrawing, SeriesLabelsPassThroughTheChart) {
  TChartSeries &s = AddSeries({});
  s.AppendPoint(1, 5, "a");
  s.AppendPoint(2, 6, "b");
  std::vector<int> indexes;
  // Value texts are measured too (no series, index -1) for the label step.
  Panel.OnGetAxisLabel = [&](TCustomChartAxis *, TChartSeries *series, int index,
                             std::string &text) {
    if (series == nullptr)
      return;
    EXPECT_EQ(series, &s);
    indexes.push_back(index);
    text += "!";
  };
  LayoutAndDraw(Bottom());
  EXPECT_THAT(Texts(), ElementsAre("a!", "b!"));
  EXPECT_THAT(indexes, ElementsAre(0, 1));
}

TEST_F(AxisDrawing, LogarithmicLabelsAndMinorTicks) {
  AddSeries({{0, 0}, {1, 1000}});
  Left().SetLogarithmic(true);
  Layout(Left());
  Rec.Clear();
  Left().DrawAxis(true);
  EXPECT_THAT(Texts(), ElementsAre("0.1", "1", "10", "100", "1,000"));
  EXPECT_DOUBLE_EQ(Left().CurMinimum(), 0.1);
  EXPECT_EQ(Left().YValueToScreen(0.1), 220);
  EXPECT_EQ(Left().YValueToScreen(1000), 20);
  // Five major ticks, three minor ticks in each decade below the top.
  EXPECT_THAT(LinesIn(clGray, psSolid), SizeIs(5 + 12));
}

TEST_F(AxisDrawing, TheChartsOwnLabelSequence) {
  DrawLeft();
  Panel.OnGetNextAxisLabel = [](TCustomChartAxis *, int index, double &value, bool &stop) {
    if (index < 3) {
      value = index * 25;
      stop = false;
    }
  };
  LayoutAndDraw(Left());
  EXPECT_THAT(Texts(), ElementsAre("0", "25", "50"));
}

TEST_F(AxisDrawing, ExactDatesFallOnCalendarSteps) {
  TChartSeries &s = AddSeries({{EncodeDate(2020, 1, 1), 0}, {EncodeDate(2020, 12, 31), 1}});
  s.XValues().SetDateTime(true);
  LayoutAndDraw(Bottom());
  const std::vector<std::string> texts = Texts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_GE(TimeStepIndexOf(Bottom().EffectiveIncrement()), dtOneMonth);
  for (const std::string &text : texts)
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d+/1/2020)"))) << text;
}

TEST_F(AxisDrawing, PrintedWhiteLabelsAreBlack) {
  Left().LabelsFont().SetColor(clWhite);
  Panel.SetPrinting(true);
  DrawLeft();
  for (const TCanvasCall &c : Rec.CallsNamed("TextOut"))
    EXPECT_EQ(c.Font.Color, clBlack);
  Panel.SetPrinting(false);
  LayoutAndDraw(Left());
  EXPECT_EQ(Rec.CallsNamed("TextOut")[0].Font.Color, clWhite);
}

class AxisDrawing3D : public AxisDrawing {
protected:
  void SetUp() override {
    AxisDrawing::SetUp();
    Panel.SetView3D(true);
    Panel.SetDepthWidth(40);
    TChartCanvas3D &canvas = Panel.Canvas();
    canvas.BeginDraw(&Rec, &Panel.View3DOptions(), true, TRect(0, 0, 400, 250));
    canvas.SetProjectionCentre(40, Plot);
  }
  void TearDown() override {
    AxisPanelSwitches().AxisBehind = true;
    AxisDrawing::TearDown();
  }
  Line Projected(int x0, int y0, int z0, int x1, int y1, int z1) {
    TChartCanvas3D &canvas = Panel.Canvas();
    return {canvas.ProjectPoint(x0, y0, z0), canvas.ProjectPoint(x1, y1, z1)};
  }
};

// The depth axis labels stand one behind the other in the 3-D view.
TEST_F(AxisDrawing3D, DepthAxisNamesTheSeriesAtEachDepth) {
  TChartSeries &a = AddSeries({{0, 1}});
  a.SetTitle("Front");
  a.SetDepthIndex(0);
  TChartSeries &b = AddSeries({{0, 2}});
  b.SetTitle("Back");
  b.SetDepthIndex(1);
  Panel.SetDeepestIndex(1);
  Panel.SetDepthWidth(60);
  Depth().FitRangeToSeries();
  EXPECT_EQ(Depth().CurMinimum(), -0.5);
  EXPECT_EQ(Depth().CurMaximum(), 1.5);
  EXPECT_EQ(Depth().XValueToScreen(1.0), 45);
  Rec.Clear();
  Depth().DrawAxis(true);
  EXPECT_THAT(Texts(), ElementsAre("Front", "Back"));
  // The labels stand right of the axis, as on a right axis.
  EXPECT_EQ(Rec.CallsNamed("TextOut")[0].TextAlign, TA_LEFT);
}

TEST_F(AxisDrawing3D, GridBehindTheSeriesRunsAlongTheWallAndTheBack) {
  DrawLeft();
  const TRect plot = Panel.PlotRect();
  const int p = Left().YValueToScreen(50);
  const std::vector<Line> grid = LinesIn(clGray, psDot);
  ASSERT_THAT(grid, SizeIs(22));
  EXPECT_EQ(grid[10], Projected(plot.Left, p, 40, plot.Left, p, 0));
  EXPECT_EQ(grid[11], Projected(plot.Left, p, 40, plot.Right, p, 40));
}

TEST_F(AxisDrawing3D, GridInFrontOfTheSeriesIsAtTheFront) {
  AxisPanelSwitches().AxisBehind = false;
  DrawLeft();
  const TRect plot = Panel.PlotRect();
  const int p = Left().YValueToScreen(50);
  const std::vector<Line> grid = LinesIn(clGray, psDot);
  ASSERT_THAT(grid, SizeIs(11));
  EXPECT_EQ(grid[5], Projected(plot.Left, p, 0, plot.Right, p, 0));
}

TEST_F(AxisDrawing3D, RightAxisStandsAtTheBack) {
  TChartSeries &s = AddSeries({{0, 0}, {1, 100}});
  s.SetVertAxis(aRightAxis);
  LayoutAndDraw(Right());
  const std::vector<Line> axis = LinesIn(clBlack, psSolid);
  ASSERT_THAT(axis, SizeIs(1));
  const int line = Right().AxisLinePos();
  EXPECT_EQ(axis[0], Projected(line, 20, 40, line, 220, 40));
  const TCanvasCall first = Rec.CallsNamed("TextOut").front();
  const int h = Metrics(Right().LabelsFont().Font()).height();
  const TPoint at = Panel.Canvas().ProjectPoint(Right().LabelsPos(), 20 - h / 2, 40);
  EXPECT_EQ(first.Args, (std::vector<int>{at.X, at.Y}));
}

} // namespace
