#pragma once
#include "chartengine/series/CustomSeries.h"

#include <memory>

// One date and four prices per point: the X list is the dates ("Date"), the
// Y list the opening prices ("Open"), and three lists of its own the highs,
// lows and closes. The candle series draws them.
class TOHLCSeries : public TCustomSeries {
public:
  explicit TOHLCSeries(TChartComponent *owner = nullptr);
  ~TOHLCSeries() override;

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // Adds a point where its date belongs and answers its index; all five
  // values go in at that index. -1 when OnBeforeAdd refuses.
  int AddOHLC(double date, double open, double high, double low, double close);

  // The vertical range covers every price, not only the opening ones.
  double LargestY() override;
  double SmallestY() override;
  // Only OHLC series (and not this one) feed an OHLC series.
  bool CanFeedSeries(const TChartSeries *value) const override;
  int SamplePointCount() override { return 40; }
  // Random candles over the sample range; fewer than one raises ChartException.
  void FillSampleValues(int numValues) override;

  // One random candle from an opening price and the sample span.
  struct TSampleCandle {
    double High = 0.0;
    double Low = 0.0;
    double Close = 0.0;
  };
  static TSampleCandle SampleCandle(double open, double span);

  // ---- value lists (setting one copies the given list's settings)
  TChartValueList &DateValues() { return XValues(); }
  void SetDateValues(const TChartValueList &value) { SetXValues(value); }
  TChartValueList &OpenValues() { return YValues(); }
  void SetOpenValues(const TChartValueList &value) { SetYValues(value); }
  TChartValueList &HighValues() { return *m_highValues; }
  void SetHighValues(const TChartValueList &value) { m_highValues->Assign(value); }
  TChartValueList &LowValues() { return *m_lowValues; }
  void SetLowValues(const TChartValueList &value) { m_lowValues->Assign(value); }
  TChartValueList &CloseValues() { return *m_closeValues; }
  void SetCloseValues(const TChartValueList &value) { m_closeValues->Assign(value); }

private:
  std::unique_ptr<TChartValueList> m_highValues;
  std::unique_ptr<TChartValueList> m_lowValues;
  std::unique_ptr<TChartValueList> m_closeValues;
};
