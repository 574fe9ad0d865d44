#include "SeriesTestSupport.h"
#include "chartengine/canvas/ChartPalette.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

class SeriesMarksTest : public ::testing::Test {
protected:
  SeriesMarksTest() {
    // X 0 .. 10 and Y 0 .. 100 over the plot 0 .. 100: point (5, 40) is at (50, 60).
    chart.Bottom->Max = 10;
    series.SetParentChart(&chart);
    series.Marks().SetVisible(true);
  }

  std::vector<TCanvasCall> Draw(const char *name) {
    rec.Clear();
    chart.DrawOn(rec);
    return rec.CallsNamed(name);
  }
  static int Width(const std::string &text) {
    return QFontMetrics(ToQFont(TChartFont().Font()))
        .horizontalAdvance(QString::fromStdString(text));
  }
  static int LineHeight() { return QFontMetrics(ToQFont(TChartFont().Font())).height(); }

  StubAxisPanel chart;
  TChartSeries series;
  TRecordingCanvas rec;
};

TEST_F(SeriesMarksTest, AMarkIsAFramedBoxAboveItsPointWithTheTextCentred) {
  series.AppendPoint(5, 40, "Hi");
  const int width = Width("Hi") + Width("W") + 2; // the frame pen is 1 pixel on each side
  const int height = LineHeight() + 2;
  const int left = 50 - width / 2;
  const int top = 60 - height + 1;

  const auto boxes = Draw("Rectangle");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Args, (std::vector<int>{left, top, left + width, top + height}));
  EXPECT_EQ(boxes[0].Brush.Color, TColor(0x0080FFFF));
  EXPECT_EQ(boxes[0].Brush.Style, bsSolid);
  EXPECT_EQ(boxes[0].Pen.Color, clBlack);

  const auto texts = rec.CallsNamed("TextOut");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, "Hi");
  EXPECT_EQ(texts[0].Args, (std::vector<int>{left + width / 2, top + 1}));
  EXPECT_EQ(texts[0].TextAlign & TA_HORZMASK, TA_CENTER);
  EXPECT_EQ(texts[0].Brush.Style, bsClear);
  EXPECT_EQ(rec.Calls().back().Name, "TextOut");

  const TSeriesMarkPosition *stored = series.Marks().Positions().Position(0);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->MarkBounds(), TRect(left, top, left + width, top + height));
  EXPECT_EQ(stored->ArrowEnd, TPoint(50, 60));
}

TEST_F(SeriesMarksTest, TheArrowRunsFromTheArrowStartToItsEnd) {
  series.AppendPoint(5, 40, "Hi");
  TSeriesMarkPosition position;
  position.ArrowStart = TPoint(50, 60);
  position.ArrowEnd = TPoint(50, 52);
  position.TopLeftCorner = TPoint(40, 30);
  position.Width = 20;
  position.Height = 15;
  chart.Canvas().BeginDraw(&rec, &chart.View3DOptions(), false, TRect(0, 0, 100, 100));
  series.Marks().DrawPointMark(0, clRed, "Hi", position);
  const auto lines = rec.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{TPoint(50, 60), TPoint(50, 52)}));
  EXPECT_EQ(lines[0].Pen.Color, clWhite) << "the arrow pen's own colour";
  // A mark of no point of the series is drawn but not remembered.
  rec.Clear();
  series.Marks().DrawPointMark(100000, clRed, "Hi", position);
  EXPECT_EQ(rec.CountOf("TextOut"), 1);
  EXPECT_EQ(series.Marks().Positions().Count(), 1);
}

TEST_F(SeriesMarksTest, AnArrowColouredLikeItsPointOrTheChartIsDrawnInContrast) {
  series.SetSeriesColor(clRed);
  series.AppendPoint(5, 40, "Hi");
  series.Marks().Arrow().SetColor(clRed);
  EXPECT_EQ(Draw("LineTo").at(0).Pen.Color, clBlack);
  chart.SetColor(clBlack);
  EXPECT_EQ(Draw("LineTo").at(0).Pen.Color, clWhite);
  series.Marks().Arrow().SetColor(clBlack);
  EXPECT_EQ(Draw("LineTo").at(0).Pen.Color, clWhite) << "coloured like the chart";
  SeriesMarksSwitches().ContrastArrowColor = false;
  EXPECT_EQ(Draw("LineTo").at(0).Pen.Color, clBlack);
  SeriesMarksSwitches().ContrastArrowColor = true;
}

TEST_F(SeriesMarksTest, TwoLinesAreWrittenOneFontHeightApart) {
  series.AppendPoint(5, 40, std::string("a") + '\r' + "bb");
  const auto texts = Draw("TextOut");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "a");
  EXPECT_EQ(texts[1].Text, "bb");
  EXPECT_EQ(texts[0].Args[0], texts[1].Args[0]);
  EXPECT_EQ(texts[1].Args[1] - texts[0].Args[1], LineHeight());
  const auto box = rec.CallsNamed("Rectangle").at(0);
  EXPECT_EQ(box.Args[2] - box.Args[0], Width("bb") + Width("W") + 2) << "the widest line";
  EXPECT_EQ(box.Args[3] - box.Args[1], 2 * LineHeight() + 2);
}

TEST_F(SeriesMarksTest, APositionPlacedByHandIsKept) {
  series.AppendPoint(5, 40, "Hi");
  Draw("Rectangle");
  TSeriesMarkPosition *stored = series.Marks().Positions().Position(0);
  ASSERT_NE(stored, nullptr);
  stored->PlacedByHand = true;
  stored->TopLeftCorner = TPoint(3, 4);
  stored->Width = 30;
  stored->Height = 12;
  series.YValues().SetValue(0, 80);
  const auto boxes = Draw("Rectangle");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Args, (std::vector<int>{3, 4, 33, 16}));
  EXPECT_EQ(rec.CallsNamed("TextOut").at(0).Args, (std::vector<int>{18, 5}));
}

TEST_F(SeriesMarksTest, ATransparentMarkWithoutFrameDrawsOnlyTextAndArrow) {
  series.AppendPoint(5, 40, "Hi");
  series.Marks().SetTransparent(true);
  series.Marks().Frame().SetVisible(false);
  Draw("Rectangle");
  EXPECT_EQ(rec.CountOf("Rectangle"), 0);
  EXPECT_EQ(rec.CountOf("Polygon"), 0);
  EXPECT_EQ(rec.CountOf("TextOut"), 1);
  EXPECT_EQ(rec.CountOf("LineTo"), 1);
  const int width = Width("Hi") + Width("W");
  const int top = 60 - LineHeight() + 1;
  EXPECT_EQ(rec.CallsNamed("TextOut").at(0).Args,
            (std::vector<int>{50 - width / 2 + width / 2, top}));
}

TEST_F(SeriesMarksTest, ATransparentFramedMarkDrawsAnEmptyBox) {
  series.AppendPoint(5, 40, "Hi");
  series.Marks().SetTransparent(true);
  const auto boxes = Draw("Rectangle");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Brush.Style, bsClear);
}

TEST_F(SeriesMarksTest, PointsWithoutColourOrTextHaveNoMark) {
  series.AppendPoint(1, 10, "one");
  series.AppendNullPointAt(2, 20, "gap");
  series.AppendPoint(3, 30, "three");
  series.OnGetMarkText = [](TChartSeries *, int index, std::string &text) {
    if (index == 2)
      text.clear();
  };
  const auto texts = Draw("TextOut");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, "one");
}

TEST_F(SeriesMarksTest, OnlyVisiblePointsHaveMarks) {
  for (int x = 0; x <= 20; ++x)
    series.AppendPoint(x, 50, "p" + std::to_string(x));
  const auto texts = Draw("TextOut");
  ASSERT_EQ(texts.size(), 11u) << "X 0 .. 10 are on the axis";
  EXPECT_EQ(texts.front().Text, "p0");
  EXPECT_EQ(texts.back().Text, "p10");
}

TEST_F(SeriesMarksTest, MarksFarOutsideTheDrawingAreLeftOut) {
  series.XValues().SetOrder(loNone); // every point is walked
  series.AppendPoint(5, 40, "in");
  series.AppendPoint(5, 1e7, "far");
  const auto texts = Draw("TextOut");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, "in");
}

TEST_F(SeriesMarksTest, MarksInThreeDAreDrawnAtTheSeriesDepth) {
  series.AppendPoint(5, 40, "Hi");
  series.SetDepths(10, 15, 20);
  EXPECT_EQ(series.Marks().ZPosition(), 15);
  rec.Clear();
  chart.DrawOn(rec, true);
  EXPECT_EQ(rec.CountOf("Rectangle"), 0) << "the box is a plane at depth";
  EXPECT_EQ(rec.CountOf("Polygon"), 1);
  EXPECT_EQ(rec.CountOf("TextOut"), 1);
}

TEST_F(SeriesMarksTest, DeletingAPointTakesItsPositionAlongAndInsertingShiftsThem) {
  series.AppendPoint(1, 10, "a");
  series.AppendPoint(2, 20, "b");
  Draw("TextOut");
  TSeriesMarksPositions &positions = series.Marks().Positions();
  ASSERT_EQ(positions.Count(), 2);
  positions.Position(1)->PlacedByHand = true;
  series.AppendPoint(0, 0, "new");
  EXPECT_EQ(positions.Position(0), nullptr);
  EXPECT_TRUE(positions.Position(2)->PlacedByHand) << "stays with point b";
  series.Delete(0);
  EXPECT_TRUE(positions.Position(1)->PlacedByHand);
  series.Clear();
  EXPECT_EQ(positions.Count(), 0);
}

TEST(SeriesMarks, AssignCopiesTheSettings) {
  TChartSeries a, b;
  TSeriesMarks &from = a.Marks();
  from.SetArrowLength(12);
  from.SetBackColor(clAqua);
  from.SetTransparent(true);
  from.SetClip(true);
  from.SetStyle(smsValue);
  from.SetVisible(true);
  from.Frame().SetWidth(3);
  from.Arrow().SetColor(clRed);
  from.Font().SetSize(12);
  b.SetMarks(from);
  const TSeriesMarks &to = b.Marks();
  EXPECT_EQ(to.ArrowLength(), 12);
  EXPECT_EQ(to.BackColor(), clAqua);
  EXPECT_TRUE(to.Transparent());
  EXPECT_TRUE(to.Clip());
  EXPECT_EQ(to.Style(), smsValue);
  EXPECT_TRUE(to.Visible());
  EXPECT_EQ(to.Frame().Width(), 3);
  EXPECT_EQ(to.Arrow().Color(), clRed);
  EXPECT_EQ(to.Font().Size(), 12);
  EXPECT_TRUE(to.IsFontStored());
  EXPECT_FALSE(a.Marks().OwnerSeries() == b.Marks().OwnerSeries());
}

} // namespace
