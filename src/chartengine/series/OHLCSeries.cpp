#include "chartengine/series/OHLCSeries.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/series/SeriesRegistration.h"
#include "platform/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// The step between one sample candle's close and the next one's open.
constexpr int SampleOpenStep = 10;

// Nearest integer (halves to even) as a random range.
int RandomRange(double value) {
  return static_cast<int>(std::clamp<std::int64_t>(Round(value), -2147483647LL, 2147483647LL));
}
} // namespace

const TChartComponentClass &TOHLCSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TOHLCSeries", &TCustomSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TOHLCSeries>(owner));
      });
  return cls;
}

TOHLCSeries::TOHLCSeries(TChartComponent *owner)
    : TCustomSeries(owner),
      m_highValues(std::make_unique<TChartValueList>(this, SeriesText(ftValuesHigh))),
      m_lowValues(std::make_unique<TChartValueList>(this, SeriesText(ftValuesLow))),
      m_closeValues(std::make_unique<TChartValueList>(this, SeriesText(ftValuesClose))) {
  XValues().SetName(SeriesText(ftValuesDate));
  XValues().SetDateTime(true);
  YValues().SetName(SeriesText(ftValuesOpen));
}

TOHLCSeries::~TOHLCSeries() = default;

int TOHLCSeries::AddOHLC(double date, double open, double high, double low, double close) {
  m_highValues->ScratchValue = high;
  m_lowValues->ScratchValue = low;
  m_closeValues->ScratchValue = close;
  // The further lists take their values at the same index before the point
  // is announced.
  return AppendPoint(date, open, {}, clTeeColor);
}

double TOHLCSeries::LargestY() {
  double result = TCustomSeries::LargestY();
  for (TChartValueList *list : {m_highValues.get(), m_lowValues.get(), m_closeValues.get()})
    result = std::max(result, DrawnLargest(*list));
  return result;
}

double TOHLCSeries::SmallestY() {
  double result = TCustomSeries::SmallestY();
  for (TChartValueList *list : {m_highValues.get(), m_lowValues.get(), m_closeValues.get()})
    result = std::min(result, DrawnSmallest(*list));
  return result;
}

bool TOHLCSeries::CanFeedSeries(const TChartSeries *value) const {
  return value != this && dynamic_cast<const TOHLCSeries *>(value) != nullptr;
}

TOHLCSeries::TSampleCandle TOHLCSeries::SampleCandle(double open, double span) {
  TSampleCandle c;
  const int spread = std::abs(RandomRange(span / 400));
  c.Close = open + ChartRandom(RandomRange(span / 25)) - span / 50;
  const double tail = 3.0 * static_cast<double>(Round(std::fabs(c.Close - open) / 10));
  if (c.Close > open) {
    c.High = c.Close + tail + ChartRandom(spread);
    c.Low = open - tail - ChartRandom(spread);
  } else {
    c.High = open + tail + ChartRandom(spread);
    c.Low = c.Close - tail - ChartRandom(spread);
  }
  return c;
}

void TOHLCSeries::FillSampleValues(int numValues) {
  if (numValues < 1)
    throw ChartException(ChartText(ctFillSample));
  Clear();
  const TRandomBounds b = CalcRandomBounds(numValues);
  double x = b.StartX;
  double open = b.MinY + ChartRandom(RandomRange(b.DifY));
  for (int t = 0; t < numValues; ++t) {
    const TSampleCandle c = SampleCandle(open, b.DifY);
    AddOHLC(x, open, c.High, c.Low, c.Close);
    x += b.StepX;
    open = c.Close + ChartRandom(SampleOpenStep) - SampleOpenStep / 2;
  }
  NotifyValueChange(snRefresh, -1);
}
