#pragma once
#include "chartengine/series/OHLCSeries.h"

// Candlesticks (a body from open to close with wicks to high and low) or
// open-high-low-close bars.
enum TCandleStyle { csCandleStick, csCandleBar };

// The price series of the intraday chart: one candle per point in the up
// colour when it closed above its open, in the down colour when below. The
// pointer lends its pen (outlines and wicks), brush and 3-D flags.
class TCandleSeries : public TOHLCSeries {
public:
  explicit TCandleSeries(TChartComponent *owner = nullptr);

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // Adds one candle (as AddOHLC) and answers its index; chart windows call
  // it for every candle they build.
  int AddCandle(double date, double open, double high, double low, double close) {
    return AddOHLC(date, open, high, low, close);
  }

  // The candle settings, then the series.
  void Assign(TChartSeries &source) override;
  void DrawPoint(int valueIndex) override;
  void PrepareSample(bool enabled) override;
  std::string EditorClassName() const override { return "TCandleEditor"; }

  // UpCloseColor when the close is above the open, DownCloseColor below it;
  // when they are equal, by the close against the previous close (the
  // previous point's colour when those are equal too, up for the first).
  TColor CandleColor(int valueIndex);

  // ---- properties (a change repaints)
  // Width of the body and of the two ticks together, in pixels.
  int CandleWidth() const { return m_candleWidth; }
  void SetCandleWidth(int value);
  TCandleStyle CandleStyle() const { return m_candleStyle; }
  void SetCandleStyle(TCandleStyle value);
  TColor UpCloseColor() const { return m_upCloseColor; }
  void SetUpCloseColor(TColor value);
  TColor DownCloseColor() const { return m_downCloseColor; }
  void SetDownCloseColor(TColor value);
  bool ShowOpenTick() const { return m_showOpenTick; }
  void SetShowOpenTick(bool value);
  bool ShowCloseTick() const { return m_showCloseTick; }
  void SetShowCloseTick(bool value);
  // The pointer's pen and 3-D flags: a 3-D chart draws boxes only with Draw3D.
  TChartPen &Pen() { return Pointer().Pen(); }
  void SetPen(const TChartPen &value) { Pointer().SetPen(value); }
  bool Draw3D() const { return Pointer().Draw3D(); }
  void SetDraw3D(bool value) { Pointer().SetDraw3D(value); }
  bool Dark3D() const { return Pointer().Dark3D(); }
  void SetDark3D(bool value) { Pointer().SetDark3D(value); }

private:
  template <typename T> void Store(T &field, const T &value);

  int m_candleWidth = 5;
  TCandleStyle m_candleStyle = csCandleStick;
  TColor m_upCloseColor = clWhite;
  TColor m_downCloseColor = clRed;
  bool m_showOpenTick = true;
  bool m_showCloseTick = true;
};

// Enters the candle series in the gallery ("Candle" on "Extended").
void RegisterCandleSeriesType();
