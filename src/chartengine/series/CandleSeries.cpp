#include "chartengine/series/CandleSeries.h"

#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/series/SeriesRegistration.h"

#include <algorithm>

namespace {
constexpr int SampleCandleCount = 4;
constexpr int SampleCandleWidth = 12;
constexpr int SamplePenWidth = 2;
constexpr TColor SampleUpColor = 0xFF0000;
constexpr TColor SampleDisabledColor = clSilver;
constexpr TColor SampleDisabledPenColor = clGray;
} // namespace

const TChartComponentClass &TCandleSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TCandleSeries", &TOHLCSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TCandleSeries>(owner));
      });
  return cls;
}

TCandleSeries::TCandleSeries(TChartComponent *owner) : TOHLCSeries(owner) {
  // Flat candles unless asked for boxes.
  Pointer().SetDraw3D(false);
}

void TCandleSeries::Assign(TChartSeries &source) {
  if (auto *s = dynamic_cast<TCandleSeries *>(&source); s != nullptr && s != this) {
    m_candleWidth = s->m_candleWidth;
    m_candleStyle = s->m_candleStyle;
    m_upCloseColor = s->m_upCloseColor;
    m_downCloseColor = s->m_downCloseColor;
    m_showOpenTick = s->m_showOpenTick;
    m_showCloseTick = s->m_showCloseTick;
  }
  TOHLCSeries::Assign(source);
}

template <typename T> void TCandleSeries::Store(T &field, const T &value) {
  if (field != value) {
    field = value;
    Repaint();
  }
}

void TCandleSeries::SetCandleWidth(int value) { Store(m_candleWidth, value); }
void TCandleSeries::SetCandleStyle(TCandleStyle value) { Store(m_candleStyle, value); }
void TCandleSeries::SetUpCloseColor(TColor value) { Store(m_upCloseColor, value); }
void TCandleSeries::SetDownCloseColor(TColor value) { Store(m_downCloseColor, value); }
void TCandleSeries::SetShowOpenTick(bool value) { Store(m_showOpenTick, value); }
void TCandleSeries::SetShowCloseTick(bool value) { Store(m_showCloseTick, value); }

TColor TCandleSeries::CandleColor(int valueIndex) {
  const int openY = YValueToScreen(OpenValues().Value(valueIndex));
  const int closeY = YValueToScreen(CloseValues().Value(valueIndex));
  // Screen Y grows downwards: a close drawn higher closed higher.
  if (openY > closeY)
    return m_upCloseColor;
  if (openY < closeY)
    return m_downCloseColor;
  if (valueIndex == 0)
    return m_upCloseColor;
  const double close = CloseValues().Value(valueIndex);
  const double previous = CloseValues().Value(valueIndex - 1);
  if (close > previous)
    return m_upCloseColor;
  if (close < previous)
    return m_downCloseColor;
  return PointColor(valueIndex - 1);
}

void TCandleSeries::DrawPoint(int valueIndex) {
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr || valueIndex < 0 || valueIndex >= Count())
    return;
  // A point without a colour is not drawn.
  if (PointColor(valueIndex) == clNone)
    return;
  TChartCanvas3D &canvas = chart->Canvas();
  Pointer().PrepareCanvas(clTeeColor);
  const int x = XValueToScreen(DateValues().Value(valueIndex));
  const int openY = YValueToScreen(OpenValues().Value(valueIndex));
  const int highY = YValueToScreen(HighValues().Value(valueIndex));
  const int lowY = YValueToScreen(LowValues().Value(valueIndex));
  const int closeY = YValueToScreen(CloseValues().Value(valueIndex));
  const int leftHalf = m_candleWidth / 2;
  const int rightHalf = m_candleWidth - leftHalf;
  const int left = x - leftHalf;
  const int right = x + rightHalf;
  const int z = MidDepth();
  const TColor color = CandleColor(valueIndex);

  if (m_candleStyle == csCandleBar) {
    canvas.Pen().Color = color;
    canvas.VertLineAtDepth(x, lowY, highY, z);
    if (m_showOpenTick)
      canvas.HorizLineAtDepth(x, left, openY, z);
    if (m_showCloseTick)
      canvas.HorizLineAtDepth(x, right, closeY, z);
    return;
  }
  if (chart->View3D() && Pointer().Draw3D()) {
    const int bodyTop = std::min(openY, closeY);
    const int bodyBottom = std::max(openY, closeY);
    canvas.VertLineAtDepth(x, bodyBottom, lowY, z);
    canvas.Brush().Color = color;
    if (openY == closeY)
      canvas.Pen().Color = color;
    canvas.Box(left, right, bodyTop, bodyBottom, FrontDepth(), BackDepth(), Pointer().Dark3D());
    canvas.VertLineAtDepth(x, bodyTop, highY, z);
    return;
  }
  // The wick first, under the body.
  canvas.VertLineAtDepth(x, lowY, highY, z);
  if (openY == closeY) {
    canvas.Pen().Color = color;
    canvas.HorizLineAtDepth(left, right, openY, z);
  } else {
    canvas.Brush().Color = color;
    canvas.RectangleAtDepth(TRect(left, openY, right, closeY), z);
  }
}

void TCandleSeries::PrepareSample(bool enabled) {
  TOHLCSeries::PrepareSample(enabled);
  FillSampleValues(SampleCandleCount);
  SetColorEachPoint(true);
  if (!enabled) {
    SetUpCloseColor(SampleDisabledColor);
    SetDownCloseColor(SampleDisabledColor);
    Pointer().Pen().SetColor(SampleDisabledPenColor);
  } else {
    SetUpCloseColor(SampleUpColor);
  }
  Pointer().Pen().SetWidth(SamplePenWidth);
  SetCandleWidth(SampleCandleWidth);
}

void RegisterCandleSeriesType() {
  RegisterSeriesType(&TCandleSeries::StaticClass(), SeriesText(ftSeriesCandle),
                     ChartText(ctGalleryExtended), 1);
}
