#pragma once
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/series/CircledSeries.h"

#include <memory>
#include <string>
#include <vector>

// The angles of one slice in radians, counter-clockwise from the rotation origin.
struct TPieAngle {
  double StartAngle = 0.0;
  double MidAngle = 0.0;
  double EndAngle = 0.0;
};

// How far each slice is pulled out of the pie, in percent of the radius, by
// point index. Indexes past the end read 0; writing one appends zeros up to it.
class TExplodedSlices {
public:
  explicit TExplodedSlices(TChartSeries *owner) : m_owner(owner) {}

  int Value(int index) const;
  // A changed value repaints the owner; negative indexes are ignored.
  void SetValue(int index, int value);
  int Count() const { return static_cast<int>(m_values.size()); }
  void Clear() { m_values.clear(); }
  // Grows the list to count entries (zeros) and swaps two of them.
  void Exchange(int a, int b, int count);

private:
  TChartSeries *m_owner;
  std::vector<int> m_values;
};

enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };

// Which small slices are grouped into one "Other" slice and its label.
class TPieOtherSlice {
public:
  explicit TPieOtherSlice(TChartSeries *owner);
  TPieOtherSlice(const TPieOtherSlice &) = delete;
  TPieOtherSlice &operator=(const TPieOtherSlice &) = delete;

  // Style, Text and Value.
  void Assign(const TPieOtherSlice &source);

  TPieOtherStyle Style() const { return m_style; }
  void SetStyle(TPieOtherStyle value);
  const std::string &Text() const { return m_text; }
  void SetText(const std::string &value);
  // Slices below this value (or percentage of the total) are grouped.
  double Value() const { return m_value; }
  void SetValue(double value);

private:
  void Changed();

  TPieOtherStyle m_style = poNone;
  std::string m_text;
  double m_value = 0.0;
  TChartSeries *m_owner;
};

// One slice per point, flat or as a 3-D pie, with exploded slices, small
// values grouped into one "Other" slice, patterns instead of colours and
// marks around the circle.
//
// Before each drawing the points below the "Other" limit are marked as
// grouped (their X is -1) and one point with X 2147483647 carries their sum;
// grouped points are neither drawn, marked nor listed in the legend.
class TPieSeries : public TCircledSeries {
public:
  explicit TPieSeries(TChartComponent *owner = nullptr);
  ~TPieSeries() override;

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // X of the "Other" point and of the points grouped into it.
  static constexpr double OtherPointX = 2147483647.0;
  static constexpr double GroupedPointX = -1.0;
  bool IsGrouped(int valueIndex) const;
  bool IsOtherPoint(int valueIndex) const;

  // Pie settings, the circled settings, then ColorEachPoint on.
  void Assign(TChartSeries &source) override;

  // ---- geometry of the current drawing
  const std::vector<TPieAngle> &Angles() const { return m_angles; }
  // The absolute total the slices share (grouped values count once, in "Other").
  double PieTotal() const;
  // Some slice is pulled out in this drawing.
  bool IsExploded() const { return m_isExploded; }
  // How far a slice is pulled out: +x right, +y up (0, 0 unless exploded).
  TPoint ExplodeOffset(int valueIndex) const;
  // The order the slices are drawn in (far side first in an exploded 3-D pie).
  std::vector<int> DrawingOrder() const;

  // ---- series contract
  // Groups small values into the "Other" point.
  void FireBeforeDrawChart() override;
  void DrawAllPoints() override;
  void DrawPoint(int valueIndex) override;
  // The mark of a slice: an arrow out from the middle of its edge.
  void DrawPointMark(int valueIndex, const std::string &text,
                     TSeriesMarkPosition &position) override;
  // The middle of a slice's edge (0 for points not drawn).
  int PointScreenX(int valueIndex) override;
  int PointScreenY(int valueIndex) override;
  int PointAtPosition(int x, int y) override;
  int LegendItemCount() override;
  int LegendItemToPoint(int legendIndex) override;
  std::string LegendTextOf(int legendIndex, TLegendTextStyle style) override;
  void SetUpLegendCanvas(int valueIndex, TColor &backColor, TBrushStyle &brushStyle) override;
  void ExchangePoints(int a, int b) override;
  // Random values from 1 to 1000 labelled "Cars", "Phones", ...
  void FillSampleValues(int numValues) override;
  void PrepareSample(bool enabled) override;
  std::string EditorClassName() const override { return "TPieSeriesEditor"; }

  // The mark text of a point with percentages of PieTotal.
  std::string SliceMarkText(int valueIndex);

  // ---- properties (a change repaints)
  TChartValueList &PieValues() { return YValues(); }
  void SetPieValues(const TChartValueList &value) { SetYValues(value); }
  TExplodedSlices &ExplodedSlice() { return m_exploded; }
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool value);
  // The slice with the largest value is pulled out by this percentage.
  int ExplodeBiggest() const { return m_explodeBiggest; }
  void SetExplodeBiggest(int value);
  TChartPen &PiePen() { return *m_piePen; }
  const TChartPen &PiePen() const { return *m_piePen; }
  void SetPiePen(const TChartPen &value) { m_piePen->Assign(value); }
  TPieOtherSlice &OtherSlice() { return *m_otherSlice; }
  const TPieOtherSlice &OtherSlice() const { return *m_otherSlice; }
  void SetOtherSlice(const TPieOtherSlice &value) { m_otherSlice->Assign(value); }
  // Slices are told apart by hatch patterns.
  bool UsePatterns() const { return m_usePatterns; }
  void SetUsePatterns(bool value);

protected:
  void ClearLists() override;
  // The circle, then the angles and the explosion.
  void LayoutCircle() override;

private:
  void CalcAngles();
  void ApplyExplodeBiggest();
  TColor SliceBackColor() const;
  std::string PercentText(double value, bool magnitude) const;

  TExplodedSlices m_exploded;
  bool m_dark3D = true;
  int m_explodeBiggest = 0;
  std::unique_ptr<TChartPen> m_piePen;
  std::unique_ptr<TPieOtherSlice> m_otherSlice;
  bool m_usePatterns = false;
  std::vector<TPieAngle> m_angles;
  bool m_isExploded = false;
  // The values grouped into "Other" in this drawing.
  double m_otherSum = 0.0;
};

// Enters the pie series in the gallery ("Pie" on "Standard").
void RegisterPieSeriesType();
