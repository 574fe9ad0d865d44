#pragma once
#include "platform/Format.h"

#include <initializer_list>
#include <string>

// The chart engine's user-visible texts, numbered so that a translation can
// replace any of them at run time.
enum TChartTextId : int {
  ctFunctionSubtract = 65248,
  ctFunctionMultiply = 65249,
  ctFunctionDivide = 65250,
  ctFunctionHigh = 65251,
  ctFunctionLow = 65252,
  ctFunctionAverage = 65253,
  ctDefaultFontName = 65254,
  ctPointerSize = 65255,
  ctFunctionPeriod = 65256,
  ctPieOther = 65257,
  ctValuesX = 65258,
  ctValuesY = 65259,
  ctValuesPie = 65260,
  ctValuesBar = 65261,
  ctValuesAngle = 65262,
  ctSeriesPie = 65264,
  ctSeriesFastLine = 65265,
  ctPieRotation = 65266,
  ctSampleCars = 65267,
  ctSamplePhones = 65268,
  ctSampleTables = 65269,
  ctSampleMonitors = 65270,
  ctSampleLamps = 65271,
  ctSampleKeyboards = 65272,
  ctSampleBikes = 65273,
  ctSampleChairs = 65274,
  ctGalleryStandard = 65275,
  ctGalleryFunctions = 65276,
  ctGalleryExtended = 65277,
  ctDefaultFontSize = 65278,
  ctFunctionAdd = 65279,
  ctAxisLogBase = 65280,
  ctMaxPointsPerPage = 65281,
  ct3DPercent = 65282,
  ctCircularSeries = 65283,
  ctBarWidthPercent = 65284,
  ctBarOffsetPercent = 65285,
  ctPercentOf = 65286,
  ctPercentFormat = 65287,
  ctValueFormat = 65288,
  ctAxisTitle = 65289,
  ctAxisLabels = 65290,
  ctSeriesLine = 65291,
  ctSeriesPoint = 65292,
  ctSeriesArea = 65293,
  ctSeriesBar = 65294,
  ctSeriesHorizBar = 65295,
  ctLegendTopPos = 65299,
  ctLegendFirstValue = 65300,
  ctLegendColorWidth = 65301,
  ctNoParentChart = 65302,
  ctNoValidDataSource = 65303,
  ctFillSample = 65304,
  ctAngle = 65305,
  ctDateTimeLogarithmic = 65306,
  ctLogarithmicMinMax = 65307,
  ctLabelsSeparation = 65308,
  ctAxisIncrement = 65309,
  ctAxisMinimum = 65310,
  ctAxisMaximum = 65311,
};

constexpr int FirstChartTextId = 65248;
constexpr int LastChartTextId = 65311;

// The text of an id; empty for a number the catalogue does not use.
std::string ChartText(int id);
// The text of an id with its %d / %s arguments filled in.
std::string ChartTextFormat(int id, std::initializer_list<TFormatArg> args);

// Replaces the text of a catalogue id (a translation); ids outside the
// catalogue are ignored. RestoreChartTexts brings back the built-in texts.
void ReplaceChartText(int id, const std::string &text);
void RestoreChartTexts();
