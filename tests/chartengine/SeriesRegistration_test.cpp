#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartComponentClass.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/series/CandleSeries.h"
#include "chartengine/series/SeriesRegistration.h"
#include "chartengine/series/VolumeSeries.h"

#include <gtest/gtest.h>

namespace {

class ChartEngineRegistrationTest : public ::testing::Test {
protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    FreeChartSeriesTypes();
    ClearChartClasses();
    RestoreSeriesTexts();
    RestoreChartTexts();
  }
  static const TChartSeriesTypes &Types() { return *ChartSeriesTypes(); }
};

TEST_F(ChartEngineRegistrationTest, EverySeriesTypeInGalleryOrderThenTheFunctions) {
  RegisterChartEngineTypes();
  ASSERT_NE(ChartSeriesTypes(), nullptr);
  struct Expected {
    const char *ClassName;
    const char *Description;
    const char *Page;
    int GallerySeries;
  };
  const Expected series[] = {
      {"TLineSeries", "Line", "Standard", 2},           {"TBarSeries", "Bar", "Standard", 2},
      {"THorizBarSeries", "Horiz. Bar", "Standard", 2}, {"TAreaSeries", "Area", "Standard", 2},
      {"TPointSeries", "Point", "Standard", 2},         {"TPieSeries", "Pie", "Standard", 1},
      {"TFastLineSeries", "Fast Line", "Standard", 2},  {"TCandleSeries", "Candle", "Extended", 1},
      {"TVolumeSeries", "Volume", "Extended", 1},
  };
  ASSERT_EQ(Types().Count(), 9 + 7);
  for (int t = 0; t < 9; ++t) {
    const TChartSeriesType &type = Types().Item(t);
    ASSERT_NE(type.SeriesClass, nullptr) << t;
    EXPECT_EQ(type.SeriesClass->ClassName(), series[t].ClassName);
    EXPECT_EQ(type.FunctionClass, nullptr);
    EXPECT_EQ(type.Description, series[t].Description);
    EXPECT_EQ(type.GalleryPage, series[t].Page);
    EXPECT_EQ(type.NumGallerySeries, series[t].GallerySeries);
    EXPECT_EQ(FindChartClass(series[t].ClassName), type.SeriesClass);
  }
  const char *functions[] = {"Add", "Subtract", "Multiply", "Divide", "High", "Low", "Average"};
  for (int t = 0; t < 7; ++t) {
    EXPECT_EQ(Types().Item(9 + t).Description, functions[t]);
    EXPECT_EQ(Types().Item(9 + t).GalleryPage, "Functions");
  }
  // The base classes are not in the gallery.
  for (const char *name : {"TOHLCSeries", "TCustomSeries", "TCustomBarSeries", "TCircledSeries"})
    EXPECT_EQ(FindChartClass(name), nullptr) << name;
}

TEST_F(ChartEngineRegistrationTest, RegisteringTwiceAddsNothing) {
  RegisterChartEngineTypes();
  RegisterChartEngineTypes();
  EXPECT_EQ(Types().Count(), 16);
}

TEST_F(ChartEngineRegistrationTest, RegisteredClassesMakeTheirSeries) {
  RegisterChartEngineTypes();
  for (const char *name :
       {"TBarSeries", "THorizBarSeries", "TPieSeries", "TCandleSeries", "TVolumeSeries"}) {
    const auto *cls = dynamic_cast<const TChartComponentClass *>(FindChartClass(name));
    ASSERT_NE(cls, nullptr) << name;
    const std::unique_ptr<TChartComponent> made = cls->Create(nullptr);
    const auto *series = dynamic_cast<const TChartSeries *>(made.get());
    ASSERT_NE(series, nullptr) << name;
    EXPECT_EQ(series->ClassType().ClassName(), name);
  }
}

TEST_F(ChartEngineRegistrationTest, FinancialTypesCanBeRemovedAgain) {
  RegisterChartEngineTypes();
  UnregisterFinancialSeriesTypes();
  EXPECT_EQ(Types().Count(), 14);
  for (int t = 0; t < Types().Count(); ++t) {
    EXPECT_NE(Types().Item(t).SeriesClass, &TCandleSeries::StaticClass());
    EXPECT_NE(Types().Item(t).SeriesClass, &TVolumeSeries::StaticClass());
  }
}

// The program holds the registration for its run; at its end the financial
// series types leave the gallery and the others stay.
TEST_F(ChartEngineRegistrationTest, TheProgramsRegistrationRemovesTheFinancialTypesAtItsEnd) {
  {
    const TChartEngineTypes programTypes;
    EXPECT_EQ(Types().Count(), 16);
  }
  ASSERT_NE(ChartSeriesTypes(), nullptr);
  EXPECT_EQ(Types().Count(), 14);
  bool lineStays = false;
  for (int t = 0; t < Types().Count(); ++t) {
    EXPECT_NE(Types().Item(t).SeriesClass, &TCandleSeries::StaticClass());
    EXPECT_NE(Types().Item(t).SeriesClass, &TVolumeSeries::StaticClass());
    lineStays = lineStays || Types().Item(t).Description == "Line";
  }
  EXPECT_TRUE(lineStays);
}

TEST_F(ChartEngineRegistrationTest, FinancialTexts) {
  struct Case {
    int Id;
    const char *Text;
  };
  for (const Case c :
       {Case{65232, "Volume"}, Case{65233, "Date"}, Case{65234, "Open"}, Case{65235, "High"},
        Case{65236, "Low"}, Case{65237, "Close"}, Case{65263, "Candle"}, Case{ctSeriesBar, "Bar"},
        Case{ctValuesPie, "Pie"}, Case{ctValuesAngle, "Angle"}, Case{ctPieRotation, "Rotation"},
        Case{ctSampleChairs, "Chairs"}, Case{65000, ""}})
    EXPECT_EQ(SeriesText(c.Id), c.Text) << c.Id;
}

TEST_F(ChartEngineRegistrationTest, TranslatedTextsAreUsedAndCutTo20Characters) {
  ReplaceSeriesText(ftSeriesCandle, "Kerzen mit Dochten und Lunten");
  ReplaceSeriesText(ftValuesClose, "Schluss");
  ReplaceSeriesText(ctSeriesBar, "Balken");
  EXPECT_EQ(SeriesText(ftSeriesCandle), "Kerzen mit Dochten und Lunten");
  EXPECT_EQ(ChartText(ctSeriesBar), "Balken");
  RegisterChartEngineTypes();
  EXPECT_EQ(Types().Item(1).Description, "Balken");
  EXPECT_EQ(Types().Item(7).Description, "Kerzen mit Dochten u");
  EXPECT_EQ(TCandleSeries().CloseValues().Name(), "Schluss");
  RestoreSeriesTexts();
  EXPECT_EQ(SeriesText(ftSeriesCandle), "Candle");
}

} // namespace
