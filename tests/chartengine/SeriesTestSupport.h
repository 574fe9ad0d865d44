#pragma once
// A linear axis and an axis panel with four of them, for tests of series,
// marks and functions; the panel draws its series the plain way (visible
// range, points, marks) straight onto a recording canvas.
#include "ChartTestSupport.h"
#include "chartengine/engine/ChartFiler.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "platform/Format.h"
#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <map>
#include <memory>
#include <variant>

class StubAxis : public TCustomChartAxis {
public:
  explicit StubAxis(bool horizontal) : Horizontal(horizontal) {}

  int XValueToScreen(double value) const override {
    const double range = Max - Min;
    if (range == 0)
      return (Start + End) / 2;
    const auto t = static_cast<int>(Round((value - Min) * (End - Start) / range));
    return IsInverted ? End - t : Start + t;
  }
  int YValueToScreen(double value) const override {
    const double range = Max - Min;
    if (range == 0)
      return (Start + End) / 2;
    const auto t = static_cast<int>(Round((value - Min) * (End - Start) / range));
    return IsInverted ? Start + t : End - t;
  }
  double ScreenToValue(int pixel) const override {
    const int span = End - Start;
    if (span < 1)
      return 0;
    const double t = (IsInverted ? End - pixel : pixel - Start) * (Max - Min) / span;
    return Horizontal ? Min + t : Max - t;
  }
  bool IsHorizontal() const override { return Horizontal; }
  bool Inverted() const override { return IsInverted; }
  bool IsDateTime() const override { return DateTime; }
  bool ExactDateTime() const override { return Exact; }
  std::string ValueLabelText(double value) const override {
    return "L" + FormatFloat("0.##", value);
  }

  bool Horizontal;
  double Min = 0;
  double Max = 100;
  int Start = 0;
  int End = 100;
  bool IsInverted = false;
  bool DateTime = false;
  bool Exact = true;
};

class StubAxisPanel : public TCustomAxisPanel {
public:
  StubAxisPanel() { SetBufferedDisplay(false); }

  TCustomChartAxis *TopAxis() const override { return Top.get(); }
  TCustomChartAxis *BottomAxis() const override { return Bottom.get(); }
  TCustomChartAxis *LeftAxis() const override { return Left.get(); }
  TCustomChartAxis *RightAxis() const override { return Right.get(); }
  double LargestX(TCustomChartAxis *axis) override { return Range(axis, true, false); }
  double LargestY(TCustomChartAxis *axis) override { return Range(axis, false, false); }
  double SmallestX(TCustomChartAxis *axis) override { return Range(axis, true, true); }
  double SmallestY(TCustomChartAxis *axis) override { return Range(axis, false, true); }
  std::string LegendValueText(TChartSeries *, int valueIndex) override {
    return "legend " + std::to_string(valueIndex);
  }
  // Counts the repaints a real panel would schedule (none while held).
  void RepaintChart() override {
    if (IsCreated())
      ++Repaints;
  }

  // The plot rectangle is Plot; each active series draws its visible points
  // and, when visible, its marks.
  void DrawContents(const TRect &) override {
    SetPlotRect(Plot);
    for (int t = 0; t < SeriesCount(); ++t) {
      TChartSeries *s = Series(t);
      if (!s->Active())
        continue;
      s->FindVisibleRange();
      if (s->FirstVisibleIndex() < 0)
        continue;
      s->DrawAllPoints();
      if (s->Marks().Visible())
        s->DrawAllMarks();
    }
  }
  void DrawOn(TRecordingCanvas &canvas, bool is3D = false) {
    SetView3D(is3D);
    DrawToCanvas(&canvas, TRect(0, 0, 200, 200));
  }

  std::unique_ptr<StubAxis> Top = std::make_unique<StubAxis>(true);
  std::unique_ptr<StubAxis> Bottom = std::make_unique<StubAxis>(true);
  std::unique_ptr<StubAxis> Left = std::make_unique<StubAxis>(false);
  std::unique_ptr<StubAxis> Right = std::make_unique<StubAxis>(false);
  TRect Plot{0, 0, 100, 100};
  int Repaints = 0;

private:
  double Range(TCustomChartAxis *axis, bool x, bool smallest) {
    bool any = false;
    double result = 0;
    for (int t = 0; t < SeriesCount(); ++t) {
      TChartSeries *s = Series(t);
      if (!s->Active() || s->Count() == 0 || !s->IsOnAxis(axis))
        continue;
      const double v = x ? (smallest ? s->SmallestX() : s->LargestX())
                         : (smallest ? s->SmallestY() : s->LargestY());
      result = !any ? v : (smallest ? std::min(result, v) : std::max(result, v));
      any = true;
    }
    return result;
  }
};

// A series that records which points it was asked to draw.
class RecordingSeries : public TChartSeries {
public:
  using TChartSeries::TChartSeries;
  void DrawPoint(int valueIndex) override { Drawn.push_back(valueIndex); }
  std::vector<int> Drawn;
};

// Property streaming into and out of a map.
class MapFiler : public TChartFiler {
public:
  using Value = std::variant<std::vector<std::string>, std::string, int>;
  explicit MapFiler(bool reading) : Reading(reading) {}

  void DefineStrings(const std::string &name,
                     const std::function<void(const std::vector<std::string> &)> &read,
                     const std::function<std::vector<std::string>()> &write,
                     bool hasData) override {
    Define<std::vector<std::string>>(name, read, write, hasData);
  }
  void DefineString(const std::string &name, const std::function<void(const std::string &)> &read,
                    const std::function<std::string()> &write, bool hasData) override {
    Define<std::string>(name, read, write, hasData);
  }
  void DefineInteger(const std::string &name, const std::function<void(int)> &read,
                     const std::function<int()> &write, bool hasData) override {
    Define<int>(name, read, write, hasData);
  }

  bool Reading;
  std::map<std::string, Value> Values;

private:
  template <typename T, typename R, typename W>
  void Define(const std::string &name, const R &read, const W &write, bool hasData) {
    if (Reading) {
      const auto it = Values.find(name);
      if (it != Values.end())
        read(std::get<T>(it->second));
    } else if (hasData) {
      Values[name] = write();
    }
  }
};

// The X and Y values of a series, for comparisons.
inline std::vector<double> XsOf(const TChartSeries &s) {
  std::vector<double> v;
  for (int t = 0; t < s.Count(); ++t)
    v.push_back(s.XValues().Value(t));
  return v;
}
inline std::vector<double> YsOf(const TChartSeries &s) {
  std::vector<double> v;
  for (int t = 0; t < s.Count(); ++t)
    v.push_back(s.YValues().Value(t));
  return v;
}
