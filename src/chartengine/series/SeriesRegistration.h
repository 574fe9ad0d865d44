#pragma once
#include <string>

// ---- texts of the series ---------------------------------------------------------

// The financial series' texts, numbered like the engine's catalogue so that a
// translation can replace them.
enum TFinanceTextId : int {
  ftSeriesVolume = 65232,
  ftValuesDate = 65233,
  ftValuesOpen = 65234,
  ftValuesHigh = 65235,
  ftValuesLow = 65236,
  ftValuesClose = 65237,
  ftSeriesCandle = 65263,
};

// The text of an id: a financial text above, else the engine catalogue's
// (ChartText); empty for an unused number.
std::string SeriesText(int id);
// Replaces a text (financial ids here, others in the engine catalogue);
// RestoreSeriesTexts brings back the built-in financial texts.
void ReplaceSeriesText(int id, const std::string &text);
void RestoreSeriesTexts();

// ---- registration ----------------------------------------------------------------

// Enters every series type of the engine in the gallery and the streaming
// registry, in gallery order: "Line", "Bar", "Horiz. Bar", "Area", "Point",
// "Pie" and "Fast Line" on "Standard", "Candle" and "Volume" on "Extended";
// then the basic functions on "Functions". The program calls it once at
// start-up; calling it again adds nothing.
void RegisterChartEngineTypes();

// The candle and volume series alone, and their removal at the end of the
// program.
void RegisterFinancialSeriesTypes();
void UnregisterFinancialSeriesTypes();

// The engine's types for the life of the program: made at start-up it
// registers them (RegisterChartEngineTypes); when it goes at the end it
// removes the financial series types again, while the other series types
// stay registered.
class TChartEngineTypes {
public:
  TChartEngineTypes() { RegisterChartEngineTypes(); }
  ~TChartEngineTypes() { UnregisterFinancialSeriesTypes(); }
  TChartEngineTypes(const TChartEngineTypes &) = delete;
  TChartEngineTypes &operator=(const TChartEngineTypes &) = delete;
};
