#include "chartengine/canvas/ChartSeriesTypes.h"

#include <gtest/gtest.h>

namespace {

const TChartClassInfo LineClass("TLineSeries");
const TChartClassInfo BarClass("TBarSeries");
const TChartClassInfo AddClass("TAddFunction");
const TChartClassInfo AverageClass("TAverageFunction");

class ChartSeriesTypesTest : public ::testing::Test {
protected:
  void SetUp() override {
    FreeChartSeriesTypes();
    ClearChartClasses();
  }
  void TearDown() override {
    FreeChartSeriesTypes();
    ClearChartClasses();
  }
  static int Count() { return ChartSeriesTypes() ? ChartSeriesTypes()->Count() : 0; }
};

TEST_F(ChartSeriesTypesTest, ListIsMadeByTheFirstRegistration) {
  EXPECT_EQ(ChartSeriesTypes(), nullptr);
  RegisterSeriesType(&LineClass, "Line", "Standard", 1);
  ASSERT_NE(ChartSeriesTypes(), nullptr);
  const TChartSeriesType &t = ChartSeriesTypes()->Item(0);
  EXPECT_EQ(t.SeriesClass, &LineClass);
  EXPECT_EQ(t.FunctionClass, nullptr);
  EXPECT_EQ(t.Description, "Line");
  EXPECT_EQ(t.GalleryPage, "Standard");
  EXPECT_EQ(t.NumGallerySeries, 1);
  EXPECT_EQ(FindChartClass("TLineSeries"), &LineClass);
}

TEST_F(ChartSeriesTypesTest, SameSeriesClassTwiceKeepsOneEntry) {
  RegisterSeriesType(&LineClass, "Line", "Standard", 1);
  RegisterSeriesType(&LineClass, "Line again", "Other", 2);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(ChartSeriesTypes()->Item(0).Description, "Line");
}

TEST_F(ChartSeriesTypesTest, SeriesWithTwoFunctionsKeepsTwoEntries) {
  RegisterSeriesFunction(&LineClass, &AddClass, "Add", "Functions", 2);
  RegisterSeriesFunction(&LineClass, &AverageClass, "Average", "Functions", 2);
  EXPECT_EQ(Count(), 2);
}

TEST_F(ChartSeriesTypesTest, TextsAreCutTo20Characters) {
  RegisterSeriesType(&LineClass, "A description of 25 chars", "A gallery page too long", 1);
  EXPECT_EQ(ChartSeriesTypes()->Item(0).Description, "A description of 25 ");
  EXPECT_EQ(ChartSeriesTypes()->Item(0).Description.size(), 20u);
  EXPECT_EQ(ChartSeriesTypes()->Item(0).GalleryPage, "A gallery page too l");
}

TEST_F(ChartSeriesTypesTest, BasicFunctionGoesOnTheFunctionsPage) {
  RegisterBasicFunction(&AddClass, "Add");
  const TChartSeriesType &t = ChartSeriesTypes()->Item(0);
  EXPECT_EQ(t.SeriesClass, nullptr);
  EXPECT_EQ(t.FunctionClass, &AddClass);
  EXPECT_EQ(t.GalleryPage, "Functions");
  EXPECT_EQ(t.NumGallerySeries, 2);
}

TEST_F(ChartSeriesTypesTest, UnregisterRemovesEveryEntryOfTheClass) {
  RegisterSeriesType(&LineClass, "Line", "Standard", 1);
  RegisterSeriesFunction(&LineClass, &AddClass, "Add", "Functions", 2);
  RegisterSeriesType(&BarClass, "Bar", "Standard", 1);
  UnregisterSeriesOrFunction(true, &BarClass);
  UnregisterSeriesOrFunction(true, &BarClass); // not registered any more: no change
  EXPECT_EQ(Count(), 2);
  UnregisterSeriesTypes({&LineClass});
  EXPECT_EQ(Count(), 0);
}

TEST_F(ChartSeriesTypesTest, UnregisteringAnUnknownClassChangesNothing) {
  UnregisterSeriesOrFunction(false, &AddClass); // no list yet
  RegisterBasicFunction(&AddClass, "Add");
  UnregisterSeriesOrFunction(false, &AverageClass);
  EXPECT_EQ(Count(), 1);
}

} // namespace
