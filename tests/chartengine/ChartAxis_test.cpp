#include "AxisTestSupport.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/engine/AxisIncrement.h"
#include "platform/DateTime.h"
#include "platform/Format.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using ::testing::ElementsAre;

// The round step (1, 2, 5 times a power of ten) below a round step.
double PreviousRoundStep(double step) {
  const double power = std::pow(10, std::floor(std::log10(step) + 1e-9));
  const double mantissa = step / power;
  return mantissa < 1.5 ? step / 2 : (mantissa < 3 ? step / 2 : step * 2 / 5);
}

template <typename E> std::string ErrorOf(const std::function<void()> &action) {
  try {
    action();
  } catch (const E &e) {
    return e.what();
  }
  return "(nothing raised)";
}

class ChartAxis : public AxisTest {};

TEST_F(ChartAxis, StandardAxesAndDefaults) {
  EXPECT_TRUE(Bottom().IsHorizontal());
  EXPECT_FALSE(Bottom().IsOppositeSide());
  EXPECT_TRUE(Top().IsOppositeSide());
  EXPECT_FALSE(Left().IsHorizontal());
  EXPECT_EQ(Left().Title().Angle(), 90);
  EXPECT_EQ(Right().Title().Angle(), 270);
  EXPECT_EQ(Bottom().Title().Angle(), 0);
  EXPECT_TRUE(Depth().IsDepth());
  EXPECT_FALSE(Depth().Visible());
  EXPECT_TRUE(Left().Visible());
  EXPECT_EQ(Left().AxisValuesFormat(), "#,##0.###");
  EXPECT_FALSE(Left().IsAxisValuesFormatStored());
  EXPECT_EQ(Left().LabelsSeparation(), 10);
  EXPECT_EQ(Left().TickLength(), 4);
  EXPECT_EQ(Left().MinorTickCount(), 3);
  EXPECT_EQ(Left().Axis().Width(), 2);
  EXPECT_EQ(Left().Grid().Color(), clGray);
  EXPECT_EQ(Left().Grid().Style(), psDot);
  EXPECT_EQ(Left().EndPosition(), 100);
  EXPECT_EQ(Left().LabelStyle(), talAuto);
}

TEST_F(ChartAxis, RefusedValuesRaiseWithTheCatalogueTextsAndKeepTheOldValue) {
  TCustomChartAxis &a = Left();
  a.SetMinMax(0, 10);
  EXPECT_EQ(ErrorOf<AxisException>([&] { a.SetMinimum(11); }),
            "Axis Minimum Value must be <= Maximum");
  EXPECT_EQ(ErrorOf<AxisException>([&] { a.SetMaximum(-1); }),
            "Axis Maximum Value must be >= Minimum");
  EXPECT_EQ(a.Minimum(), 0);
  EXPECT_EQ(a.Maximum(), 10);
  EXPECT_EQ(ErrorOf<AxisException>([&] { a.SetIncrement(-0.5); }), "Axis increment must be >= 0");
  EXPECT_EQ(a.Increment(), 0);
  EXPECT_EQ(ErrorOf<AxisException>([&] { a.SetLogarithmicBase(1); }),
            "Axis Logarithmic Base should be >= 2");
  EXPECT_EQ(a.LogarithmicBase(), 10);
  EXPECT_EQ(ErrorOf<AxisException>([&] { a.SetLabelsSeparation(-1); }),
            "Labels Separation % must be greater than 0");
  EXPECT_EQ(a.LabelsSeparation(), 10);
  EXPECT_EQ(ErrorOf<ChartException>([&] { a.SetLabelsAngle(361); }),
            "Axis Labels Angle must be between 0 and 359 degrees");
  EXPECT_EQ(a.LabelsAngle(), 0);
  EXPECT_EQ(ErrorOf<ChartException>([&] { a.Title().SetAngle(-1); }),
            "Axis Title Angle must be between 0 and 359 degrees");
  EXPECT_EQ(a.Title().Angle(), 90);
  a.SetLabelsAngle(360);
  EXPECT_EQ(a.LabelsAngle(), 360);
}

TEST_F(ChartAxis, LogarithmicRefusedForDatesAndNegativeRanges) {
  TChartSeries &s = AddSeries({{40000, 5}, {40010, 7}});
  s.XValues().SetDateTime(true);
  EXPECT_EQ(ErrorOf<AxisException>([&] { Bottom().SetLogarithmic(true); }),
            "DateTime Axis cannot be Logarithmic");
  EXPECT_FALSE(Bottom().Logarithmic());
  Left().SetMinMax(-5, 10);
  Left().FitRangeToSeries();
  EXPECT_EQ(ErrorOf<AxisException>([&] { Left().SetLogarithmic(true); }),
            "Logarithmic Axis Min and Max values should be >= 0");
  EXPECT_FALSE(Left().Logarithmic());
}

TEST_F(ChartAxis, RangeChecksAreSkippedWhileLoading) {
  TCustomChartAxis &a = Left();
  a.SetLoading(true);
  a.SetMinimum(50);
  a.SetMaximum(40);
  a.SetLoading(false);
  EXPECT_EQ(a.Minimum(), 50);
  EXPECT_EQ(a.Maximum(), 40);
}

TEST_F(ChartAxis, AutomaticSwitches) {
  TCustomChartAxis &a = Left();
  a.SetAutomaticMinimum(false);
  EXPECT_FALSE(a.Automatic());
  EXPECT_TRUE(a.AutomaticMaximum());
  a.SetAutomaticMinimum(true);
  EXPECT_TRUE(a.Automatic());
  a.SetAutomatic(false);
  EXPECT_FALSE(a.AutomaticMaximum());
  EXPECT_FALSE(a.AutomaticMinimum());
  EXPECT_TRUE(a.IsMinimumStored());
  a.SetLoading(true);
  a.SetAutomatic(true);
  EXPECT_FALSE(a.AutomaticMaximum());
  a.SetLoading(false);
  a.SetAutomatic(true);
  EXPECT_TRUE(a.AutomaticMaximum());
  EXPECT_TRUE(a.AutomaticMinimum());
  EXPECT_FALSE(a.IsMaximumStored());
}

TEST_F(ChartAxis, SetMinMax) {
  TCustomChartAxis &a = Bottom();
  a.SetMinMax(5, 5);
  EXPECT_EQ(a.Minimum(), 5);
  EXPECT_EQ(a.Maximum(), 5 + 1e-10);
  EXPECT_FALSE(a.Automatic());
  EXPECT_FALSE(a.AutomaticMinimum());
  EXPECT_FALSE(a.AutomaticMaximum());
  a.SetMinMax(9, 2);
  EXPECT_EQ(a.Minimum(), 2);
  EXPECT_EQ(a.Maximum(), 9);
}

TEST_F(ChartAxis, RangeFromTheSeries) {
  AddSeries({{1, 10}, {3, 50}, {5, 20}});
  Bottom().FitRangeToSeries();
  Left().FitRangeToSeries();
  Top().FitRangeToSeries();
  EXPECT_EQ(Bottom().CurMinimum(), 1);
  EXPECT_EQ(Bottom().CurMaximum(), 5);
  EXPECT_EQ(Left().CurMinimum(), 10);
  EXPECT_EQ(Left().CurMaximum(), 50);
  EXPECT_EQ(Left().CurRange(), 40);
  EXPECT_EQ(Top().CurRange(), 0);
  // A fixed end stays.
  Left().SetAutomaticMaximum(false);
  Left().SetMaximum(100);
  Left().FitRangeToSeries();
  EXPECT_EQ(Left().CurMinimum(), 10);
  EXPECT_EQ(Left().CurMaximum(), 100);
}

TEST_F(ChartAxis, PixelSpanFromThePlot) {
  Bottom().ComputePixelSpan();
  EXPECT_EQ(Bottom().StartPixel(), 50);
  EXPECT_EQ(Bottom().EndPixel(), 350);
  EXPECT_EQ(Bottom().CenterPixel(), 200);
  Left().SetStartPosition(10);
  Left().SetEndPosition(90);
  Left().ComputePixelSpan();
  EXPECT_EQ(Left().StartPixel(), 40);
  EXPECT_EQ(Left().EndPixel(), 200);
  EXPECT_EQ(Left().SpanPixels(), 160);
}

TEST_F(ChartAxis, MappingThroughTheAxis) {
  Panel.SetPlot(TRect(10, 10, 210, 210));
  Bottom().SetMinMax(0, 100);
  Bottom().FitRangeToSeries();
  Bottom().ComputePixelSpan();
  EXPECT_EQ(Bottom().XValueToScreen(25), 60);
  EXPECT_EQ(Bottom().ValueToScreen(25), 60);
  EXPECT_DOUBLE_EQ(Bottom().ScreenToValue(60), 25);
  Bottom().SetInverted(true);
  EXPECT_EQ(Bottom().XValueToScreen(25), 160);
  Left().SetMinMax(0, 100);
  Left().FitRangeToSeries();
  Left().ComputePixelSpan();
  EXPECT_EQ(Left().YValueToScreen(25), 160);
  EXPECT_EQ(Left().ValueToScreen(25), 160);
  EXPECT_DOUBLE_EQ(Left().ScreenToValue(160), 25);
}

TEST_F(ChartAxis, SeriesMarginsWidenTheRange) {
  Bottom().SetMinMax(0, 100);
  Bottom().FitRangeToSeries();
  Bottom().ComputePixelSpan();
  Bottom().FitRangeToRect(TRect(30, 0, 30, 0));
  // 240 pixels now show 100; the 300 pixels show 125 from -12.5.
  EXPECT_DOUBLE_EQ(Bottom().CurMinimum(), -12.5);
  EXPECT_DOUBLE_EQ(Bottom().CurMaximum(), 112.5);
  EXPECT_EQ(Bottom().StartPixel(), 50);
  EXPECT_EQ(Bottom().EndPixel(), 350);
  EXPECT_EQ(Bottom().XValueToScreen(0), 80);
  EXPECT_EQ(Bottom().XValueToScreen(100), 320);

  Left().SetMinMax(0, 100);
  Left().FitRangeToSeries();
  Left().ComputePixelSpan();
  Left().FitRangeToRect(TRect(0, 20, 0, 0));
  EXPECT_DOUBLE_EQ(Left().CurMinimum(), 0);
  EXPECT_DOUBLE_EQ(Left().CurMaximum(), 100 * 200.0 / 180);
}

// Margins wider than the axis would leave no span: the range stays.
TEST_F(ChartAxis, MarginsWiderThanTheAxisKeepTheRange) {
  Bottom().SetMinMax(0, 100);
  Bottom().FitRangeToSeries();
  Bottom().ComputePixelSpan();
  Bottom().FitRangeToRect(TRect(200, 0, 150, 0));
  EXPECT_EQ(Bottom().CurMinimum(), 0);
  EXPECT_EQ(Bottom().CurMaximum(), 100);
}

TEST_F(ChartAxis, ShowsDatesFollowsTheFirstSeriesOnTheAxis) {
  TChartSeries &s = AddSeries({{40000, 1}, {40001, 2}});
  EXPECT_FALSE(Bottom().ShowsDates());
  s.XValues().SetDateTime(true);
  EXPECT_TRUE(Bottom().ShowsDates());
  EXPECT_TRUE(Bottom().IsDateTime());
  EXPECT_FALSE(Left().ShowsDates());
  s.SetActive(false);
  EXPECT_FALSE(Bottom().ShowsDates());
}

struct FormatCase {
  const char *Name;
  const char *Format;
  double Value;
  const char *Text;
};

class ChartAxisNumberLabels : public AxisTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(ChartAxisNumberLabels, Text) {
  const FormatCase &c = GetParam();
  if (*c.Format)
    Left().SetAxisValuesFormat(c.Format);
  EXPECT_EQ(Left().ValueLabelText(c.Value), c.Text);
}

INSTANTIATE_TEST_SUITE_P(Formats, ChartAxisNumberLabels,
                         ::testing::Values(FormatCase{"Default", "", 1234.5678, "1,234.568"},
                                           FormatCase{"DefaultWhole", "", 20, "20"},
                                           FormatCase{"DefaultNegative", "", -0.25, "-0.25"},
                                           FormatCase{"TwoPlaces", "0.00", 2.5, "2.50"},
                                           FormatCase{"Percent", "##0.## %", 12.5, "12.5 %"}),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST_F(ChartAxis, DateLabelsFollowTheRange) {
  TChartSeries &s = AddSeries({{EncodeDate(2020, 3, 2), 1}, {EncodeDate(2020, 3, 9), 2}});
  s.XValues().SetDateTime(true);
  Bottom().FitRangeToSeries();
  const TDateTime t = EncodeDate(2020, 3, 4) + 0.5;
  EXPECT_EQ(Bottom().ValueLabelText(t), FormatDateTime(FormatSettings().ShortDateFormat, t));
  EXPECT_EQ(Bottom().ValueLabelText(t), "3/4/2020");
  Bottom().SetMinMax(EncodeDate(2020, 3, 4), EncodeDate(2020, 3, 4) + 0.75);
  Bottom().FitRangeToSeries();
  EXPECT_EQ(Bottom().ValueLabelText(t), "12:00:00 PM");
  Bottom().SetDateTimeFormat("hh:nn");
  EXPECT_EQ(Bottom().ValueLabelText(t), "12:00");
  EXPECT_EQ(Bottom().ValueLabelText(-1), "");
  Bottom().SetDateTimeFormat("");
  Bottom().SetLabelsMultiLine(true);
  EXPECT_EQ(Bottom().ValueLabelText(t), "12:00:00\rPM");
}

TEST_F(ChartAxis, TheChartMayChangeLabelTexts) {
  std::vector<TCustomChartAxis *> senders;
  Panel.OnGetAxisLabel = [&](TCustomChartAxis *axis, TChartSeries *series, int index,
                             std::string &text) {
    senders.push_back(axis);
    EXPECT_EQ(series, nullptr);
    EXPECT_EQ(index, -1);
    text = "<" + text + ">";
  };
  EXPECT_EQ(Left().ValueLabelText(5), "<5>");
  EXPECT_THAT(senders, ElementsAre(&Left()));
}

TEST_F(ChartAxis, LabelStyleInForce) {
  EXPECT_EQ(Left().ResolveLabelStyle(), talNone);
  TChartSeries &s = AddSeries({{1, 10}, {2, 20}});
  EXPECT_EQ(Left().ResolveLabelStyle(), talValue);
  EXPECT_EQ(Bottom().ResolveLabelStyle(), talValue);
  EXPECT_EQ(Top().ResolveLabelStyle(), talNone);
  s.SetPointLabel(0, "Mon");
  // The points are named along the axis of their X values.
  EXPECT_EQ(Bottom().ResolveLabelStyle(), talText);
  EXPECT_EQ(Left().ResolveLabelStyle(), talValue);
  Bottom().SetLabelStyle(talMark);
  EXPECT_EQ(Bottom().ResolveLabelStyle(), talMark);
  s.SetActive(false);
  EXPECT_EQ(Left().ResolveLabelStyle(), talNone);
}

TEST_F(ChartAxis, DepthAxisLabelStyle) {
  EXPECT_EQ(Depth().ResolveLabelStyle(), talText);
  TChartSeries &s = AddSeries({{1, 10}});
  EXPECT_EQ(Depth().ResolveLabelStyle(), talText);
  s.ExcludedFromDepthTest = true;
  EXPECT_EQ(Depth().ResolveLabelStyle(), talValue);
}

// The step is the smallest round step at which the end labels, measured in
// the labels font with their separation, fit along the axis.
TEST_F(ChartAxis, IncrementFromTheLabelSizes) {
  AddSeries({{0, 0}, {1000, 100}});
  Left().FitRangeToSeries();
  Left().ComputePixelSpan();
  Bottom().FitRangeToSeries();
  Bottom().ComputePixelSpan();
  const TFont &font = Left().LabelsFont().Font();

  const int height = Metrics(font).height();
  const int leftMax = TAxisIncrement::MaxLabels({100, 0, 200, height, 10, false, {}, {}});
  const double leftStep = Left().EffectiveIncrement();
  EXPECT_LE(std::lround(100 / leftStep), leftMax);
  EXPECT_GT(std::lround(100 / PreviousRoundStep(leftStep)), leftMax);
  EXPECT_EQ(leftStep, 10);

  const int width = Width(font, "1,000");
  EXPECT_EQ(Bottom().LabelTextWidth(1000), width);
  EXPECT_EQ(Bottom().LabelTextHeight(1000), height);
  const int bottomMax = TAxisIncrement::MaxLabels({1000, 0, 300, width, 10, false, {}, {}});
  const double bottomStep = Bottom().EffectiveIncrement();
  EXPECT_LE(std::lround(1000 / bottomStep), bottomMax);
  EXPECT_GT(std::lround(1000 / PreviousRoundStep(bottomStep)), bottomMax);
}

TEST_F(ChartAxis, RoomOfABottomAxis) {
  AddSeries({{0, 0}, {10, 100}});
  Bottom().Title().SetCaption("Time");
  Bottom().FitRangeToSeries();
  TRect room = Panel.PlotRect();
  Bottom().CalcRect(room, true);
  const int titleHeight = Metrics(Bottom().Title().Font().Font()).height();
  const int labelsHeight = Metrics(Bottom().LabelsFont().Font()).height();
  const int ticks = 2 + 4 + ChartAxisSwitches().ExtraAxisMargin;
  EXPECT_EQ(room, TRect(50, 20, 350, 220 - titleHeight - labelsHeight - ticks));
  EXPECT_EQ(Bottom().TitlePos(), 220 - titleHeight);
  EXPECT_EQ(Bottom().LabelsPos(), 220 - titleHeight - labelsHeight);
  EXPECT_EQ(Bottom().AxisLinePos(), room.Bottom);

  // Fixed sizes replace the measured ones.
  Bottom().SetTitleSize(20);
  Bottom().SetLabelsSize(30);
  Bottom().Ticks().SetVisible(false);
  room = Panel.PlotRect();
  Bottom().CalcRect(room, true);
  EXPECT_EQ(room.Bottom, 220 - 20 - 30 - 2 - ChartAxisSwitches().ExtraAxisMargin);
}

TEST_F(ChartAxis, RoomOfALeftAxisIsItsWidestLabel) {
  AddSeries({{0, 0}, {10, 100}});
  Left().FitRangeToSeries();
  Left().ComputePixelSpan();
  TRect room = Panel.PlotRect();
  Left().CalcRect(room, true);
  const TFont &font = Left().LabelsFont().Font();
  const int widest = std::max(Width(font, "100"), Width(font, "0")) + Width(font, " ");
  EXPECT_EQ(Left().WidestLabel(), widest);
  EXPECT_EQ(Left().LabelsPos(), 50 + widest);
  EXPECT_EQ(room.Left, 50 + widest + 6 + ChartAxisSwitches().ExtraAxisMargin);

  // Turned labels run along a vertical axis: one line height.
  Left().SetLabelsAngle(90);
  room = Panel.PlotRect();
  Left().CalcRect(room, true);
  EXPECT_EQ(Left().LabelsPos(), 50 + Metrics(font).height());
}

TEST_F(ChartAxis, WidestLabelIsMeasuredWithoutTheLabelEvent) {
  AddSeries({{0, 0}, {10, 100}});
  Left().FitRangeToSeries();
  Panel.OnGetAxisLabel = [](TCustomChartAxis *, TChartSeries *, int, std::string &text) {
    text = "a much longer label " + text;
  };
  const TFont &font = Left().LabelsFont().Font();
  EXPECT_LT(Left().WidestLabel(), Width(font, "a much longer label 100"));
}

TEST_F(ChartAxis, HitOnAxis) {
  AddSeries({{0, 0}, {10, 100}});
  Layout(Left());
  const int line = Left().AxisLinePos();
  const int labels = Left().LabelsPos();
  EXPECT_TRUE(Left().IsHitOnAxis(line, 100));
  EXPECT_TRUE(Left().IsHitOnAxis(line + 3, 100));
  EXPECT_FALSE(Left().IsHitOnAxis(line + 4, 100));
  EXPECT_TRUE(Left().IsHitOnAxis(labels, 100));
  EXPECT_FALSE(Left().IsHitOnAxis(labels - 1, 100));
  EXPECT_FALSE(Left().IsHitOnAxis(line, 19));
  EXPECT_TRUE(Left().IsHitOnAxis(line, 220));
  Left().SetVisible(false);
  EXPECT_FALSE(Left().IsHitOnAxis(line, 100));
}

TEST_F(ChartAxis, AssignCopiesTheProperties) {
  TChartAxis other(nullptr, false, false);
  other.SetMinMax(3, 7);
  other.SetIncrement(0.5);
  other.SetLogarithmicBase(2);
  other.SetInverted(true);
  other.SetLabelsAngle(90);
  other.SetAxisValuesFormat("0.0");
  other.Title().SetCaption("Price");
  other.Grid().SetColor(clRed);
  other.LabelsFont().SetSize(12);
  other.SetPositionPercent(25);
  Left().Assign(other);
  EXPECT_FALSE(Left().Automatic());
  EXPECT_EQ(Left().Minimum(), 3);
  EXPECT_EQ(Left().Maximum(), 7);
  EXPECT_EQ(Left().Increment(), 0.5);
  EXPECT_EQ(Left().LogarithmicBase(), 2);
  EXPECT_TRUE(Left().Inverted());
  EXPECT_EQ(Left().LabelsAngle(), 90);
  EXPECT_EQ(Left().AxisValuesFormat(), "0.0");
  EXPECT_EQ(Left().Title().Caption(), "Price");
  EXPECT_EQ(Left().Grid().Color(), clRed);
  EXPECT_EQ(Left().LabelsFont().Size(), 12);
  EXPECT_EQ(Left().PositionPercent(), 25);
  // The axis keeps its own side.
  EXPECT_FALSE(Left().IsOppositeSide());
}

TEST_F(ChartAxis, FurtherAxesRegisterWithTheChart) {
  const int before = Panel.AxisCount();
  auto *extra = new TChartAxis(&Panel, false, true);
  EXPECT_EQ(Panel.AxisCount(), before + 1);
  EXPECT_EQ(extra->Title().Angle(), 270);
  delete extra;
  EXPECT_EQ(Panel.AxisCount(), before);
  new TChartAxis(&Panel, true, false); // freed by the chart
  EXPECT_EQ(Panel.AxisCount(), before + 1);
}

} // namespace
