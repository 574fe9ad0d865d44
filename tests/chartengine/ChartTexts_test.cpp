#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartTexts.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

class ChartTextsTest : public ::testing::Test {
protected:
  void TearDown() override { RestoreChartTexts(); }
};

struct TextCase {
  int Id;
  const char *Text;
};

TEST_F(ChartTextsTest, CatalogueTextsByNumber) {
  const TextCase cases[] = {
      {65248, "Subtract"},
      {65254, "Arial"},
      {65257, "Other"},
      {65265, "Fast Line"},
      {65278, "8"},
      {65282, "3D effect percent must be between %d and %d"},
      {65285, "Bar Offset Percent must be between -100% and 100%"},
      {65287, "##0.## %"},
      {65288, "#,##0.###"},
      {65295, "Horiz. Bar"},
      {65299, "Top Legend Position must be between 0 and 100 %"},
      {65305, "%s Angle must be between 0 and 359 degrees"},
      {65308, "Labels Separation % must be greater than 0"},
      {65311, "Axis Maximum Value must be >= Minimum"},
  };
  for (const TextCase &c : cases)
    EXPECT_EQ(ChartText(c.Id), c.Text) << c.Id;
}

TEST_F(ChartTextsTest, UnusedNumbersAreEmpty) {
  for (int id : {65263, 65296, 65297, 65298, 65247, 65312})
    EXPECT_EQ(ChartText(id), "") << id;
}

TEST_F(ChartTextsTest, FormattedTexts) {
  EXPECT_EQ(ChartTextFormat(ct3DPercent, {std::int64_t(1), std::int64_t(100)}),
            "3D effect percent must be between 1 and 100");
  EXPECT_EQ(ChartTextFormat(ctNoValidDataSource, {std::string("Series1")}),
            "No valid DataSource: Series1");
}

TEST_F(ChartTextsTest, TranslationReplacesAndRestores) {
  ReplaceChartText(ctPieOther, "Andere");
  ReplaceChartText(65263, "ignored");
  EXPECT_EQ(ChartText(ctPieOther), "Andere");
  EXPECT_EQ(ChartText(65263), "");
  RestoreChartTexts();
  EXPECT_EQ(ChartText(ctPieOther), "Other");
}

TEST_F(ChartTextsTest, ValidateAngleAcceptsZeroTo360) {
  EXPECT_NO_THROW(ValidateAngle(0, "Axis Labels"));
  EXPECT_NO_THROW(ValidateAngle(360, "Axis Labels"));
  for (int bad : {361, -1}) {
    try {
      ValidateAngle(bad, ChartText(ctAxisTitle));
      ADD_FAILURE() << bad << " passed";
    } catch (const ChartException &e) {
      EXPECT_STREQ(e.what(), "Axis Title Angle must be between 0 and 359 degrees");
    }
  }
}

TEST_F(ChartTextsTest, EngineExceptionsAreChartExceptions) {
  EXPECT_THROW(throw AxisException("a"), ChartException);
  EXPECT_THROW(throw PieException("p"), Exception);
  // Bars raise an exception of their own, outside ChartException.
  EXPECT_TRUE((std::is_base_of_v<Exception, BarException>));
  bool takenAsChartException = false;
  try {
    throw BarException("b");
  } catch (const ChartException &) {
    takenAsChartException = true;
  } catch (const Exception &) {
  }
  EXPECT_FALSE(takenAsChartException);
}

} // namespace
