#include "chartengine/canvas/ChartTexts.h"

#include <array>
#include <mutex>

namespace {

struct BuiltInText {
  int Id;
  const char *Text;
};

constexpr BuiltInText kBuiltIn[] = {
    {ctFunctionSubtract, "Subtract"},
    {ctFunctionMultiply, "Multiply"},
    {ctFunctionDivide, "Divide"},
    {ctFunctionHigh, "High"},
    {ctFunctionLow, "Low"},
    {ctFunctionAverage, "Average"},
    {ctDefaultFontName, "Arial"},
    {ctPointerSize, "Pointer size must be greater than zero"},
    {ctFunctionPeriod, "Function Period should be >= 0"},
    {ctPieOther, "Other"},
    {ctValuesX, "X"},
    {ctValuesY, "Y"},
    {ctValuesPie, "Pie"},
    {ctValuesBar, "Bar"},
    {ctValuesAngle, "Angle"},
    {ctSeriesPie, "Pie"},
    {ctSeriesFastLine, "Fast Line"},
    {ctPieRotation, "Rotation"},
    {ctSampleCars, "Cars"},
    {ctSamplePhones, "Phones"},
    {ctSampleTables, "Tables"},
    {ctSampleMonitors, "Monitors"},
    {ctSampleLamps, "Lamps"},
    {ctSampleKeyboards, "Keyboards"},
    {ctSampleBikes, "Bikes"},
    {ctSampleChairs, "Chairs"},
    {ctGalleryStandard, "Standard"},
    {ctGalleryFunctions, "Functions"},
    {ctGalleryExtended, "Extended"},
    {ctDefaultFontSize, "8"},
    {ctFunctionAdd, "Add"},
    {ctAxisLogBase, "Axis Logarithmic Base should be >= 2"},
    {ctMaxPointsPerPage, "MaxPointsPerPage must be >= 0"},
    {ct3DPercent, "3D effect percent must be between %d and %d"},
    {ctCircularSeries, "Circular Series dependences are not allowed"},
    {ctBarWidthPercent, "Bar Width Percent must be between 1 and 100"},
    {ctBarOffsetPercent, "Bar Offset Percent must be between -100% and 100%"},
    {ctPercentOf, "%s of %s"},
    {ctPercentFormat, "##0.## %"},
    {ctValueFormat, "#,##0.###"},
    {ctAxisTitle, "Axis Title"},
    {ctAxisLabels, "Axis Labels"},
    {ctSeriesLine, "Line"},
    {ctSeriesPoint, "Point"},
    {ctSeriesArea, "Area"},
    {ctSeriesBar, "Bar"},
    {ctSeriesHorizBar, "Horiz. Bar"},
    {ctLegendTopPos, "Top Legend Position must be between 0 and 100 %"},
    {ctLegendFirstValue, "First Legend Value must be > 0"},
    {ctLegendColorWidth, "Legend Color Width must be between 0 and 100 %"},
    {ctNoParentChart, "No ParentChart to validate DataSource"},
    {ctNoValidDataSource, "No valid DataSource: %s"},
    {ctFillSample, "FillSampleValues NumValues must be > 0"},
    {ctAngle, "%s Angle must be between 0 and 359 degrees"},
    {ctDateTimeLogarithmic, "DateTime Axis cannot be Logarithmic"},
    {ctLogarithmicMinMax, "Logarithmic Axis Min and Max values should be >= 0"},
    {ctLabelsSeparation, "Labels Separation % must be greater than 0"},
    {ctAxisIncrement, "Axis increment must be >= 0"},
    {ctAxisMinimum, "Axis Minimum Value must be <= Maximum"},
    {ctAxisMaximum, "Axis Maximum Value must be >= Minimum"},
};

constexpr std::size_t kSlots = LastChartTextId - FirstChartTextId + 1;

struct Catalogue {
  std::mutex Lock;
  std::array<std::string, kSlots> Texts;
  std::array<bool, kSlots> Used{};
  Catalogue() { Restore(); }
  void Restore() {
    Texts.fill(std::string());
    Used.fill(false);
    for (const BuiltInText &t : kBuiltIn) {
      Texts[t.Id - FirstChartTextId] = t.Text;
      Used[t.Id - FirstChartTextId] = true;
    }
  }
};

Catalogue &TheCatalogue() {
  static Catalogue catalogue;
  return catalogue;
}

bool InCatalogue(int id) { return id >= FirstChartTextId && id <= LastChartTextId; }

} // namespace

std::string ChartText(int id) {
  if (!InCatalogue(id))
    return std::string();
  Catalogue &c = TheCatalogue();
  std::lock_guard<std::mutex> guard(c.Lock);
  return c.Texts[id - FirstChartTextId];
}

std::string ChartTextFormat(int id, std::initializer_list<TFormatArg> args) {
  return Format(ChartText(id), args);
}

void ReplaceChartText(int id, const std::string &text) {
  if (!InCatalogue(id))
    return;
  Catalogue &c = TheCatalogue();
  std::lock_guard<std::mutex> guard(c.Lock);
  if (c.Used[id - FirstChartTextId])
    c.Texts[id - FirstChartTextId] = text;
}

void RestoreChartTexts() {
  Catalogue &c = TheCatalogue();
  std::lock_guard<std::mutex> guard(c.Lock);
  c.Restore();
}
