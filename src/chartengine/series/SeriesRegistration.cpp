#include "chartengine/series/SeriesRegistration.h"

#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/BasicFunctions.h"
#include "chartengine/series/AreaSeries.h"
#include "chartengine/series/BarSeries.h"
#include "chartengine/series/CandleSeries.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/HorizBarSeries.h"
#include "chartengine/series/LineSeries.h"
#include "chartengine/series/PieSeries.h"
#include "chartengine/series/PointSeries.h"
#include "chartengine/series/VolumeSeries.h"

#include <map>
#include <mutex>

namespace {

const std::map<int, std::string> &BuiltInFinanceTexts() {
  static const std::map<int, std::string> texts = {
      {ftSeriesVolume, "Volume"}, {ftValuesDate, "Date"}, {ftValuesOpen, "Open"},
      {ftValuesHigh, "High"},     {ftValuesLow, "Low"},   {ftValuesClose, "Close"},
      {ftSeriesCandle, "Candle"},
  };
  return texts;
}

struct FinanceTexts {
  std::mutex Lock;
  std::map<int, std::string> Texts = BuiltInFinanceTexts();
};

FinanceTexts &TheFinanceTexts() {
  static FinanceTexts texts;
  return texts;
}

} // namespace

std::string SeriesText(int id) {
  FinanceTexts &f = TheFinanceTexts();
  {
    std::lock_guard<std::mutex> guard(f.Lock);
    const auto it = f.Texts.find(id);
    if (it != f.Texts.end())
      return it->second;
  }
  return ChartText(id);
}

void ReplaceSeriesText(int id, const std::string &text) {
  FinanceTexts &f = TheFinanceTexts();
  {
    std::lock_guard<std::mutex> guard(f.Lock);
    const auto it = f.Texts.find(id);
    if (it != f.Texts.end()) {
      it->second = text;
      return;
    }
  }
  ReplaceChartText(id, text);
}

void RestoreSeriesTexts() {
  FinanceTexts &f = TheFinanceTexts();
  std::lock_guard<std::mutex> guard(f.Lock);
  f.Texts = BuiltInFinanceTexts();
}

void RegisterFinancialSeriesTypes() {
  RegisterCandleSeriesType();
  RegisterVolumeSeriesType();
}

void UnregisterFinancialSeriesTypes() {
  UnregisterSeriesTypes({&TCandleSeries::StaticClass(), &TVolumeSeries::StaticClass()});
}

void RegisterChartEngineTypes() {
  RegisterLineSeriesType();
  RegisterBarSeriesType();
  RegisterHorizBarSeriesType();
  RegisterAreaSeriesType();
  RegisterPointSeriesType();
  RegisterPieSeriesType();
  RegisterFastLineSeriesType();
  RegisterFinancialSeriesTypes();
  RegisterBasicFunctions();
}
