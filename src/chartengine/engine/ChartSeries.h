#pragma once
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/engine/ChartComponent.h"
#include "chartengine/engine/ChartComponentClass.h"
#include "chartengine/engine/ChartValueList.h"
#include "chartengine/engine/ChartValueLists.h"
#include "chartengine/engine/SeriesDrawnRange.h"
#include "chartengine/engine/SeriesEnums.h"
#include "chartengine/engine/SeriesMarks.h"
#include "chartengine/engine/SparsePointValues.h"
#include "platform/Rect.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QImage;
class TChartFiler;
class TChartFunction;
class TCustomAxisPanel;
class TCustomChartAxis;

// A series of a chart: its points (X and Y and any further value lists, a
// label and a colour per point, always aligned), its marks, its two axes, an
// optional series function, and the links that feed it from other series
// (its data sources) and let it feed others (its dependents). Concrete series
// override the drawing, legend, range and hit-test operations.
class TChartSeries : public TChartComponent, public TChartValueListOwner {
public:
  explicit TChartSeries(TChartComponent *owner = nullptr);
  ~TChartSeries() override;

  static const TChartComponentClass &StaticClass();
  // Every derived class answers its own class reference.
  virtual const TChartComponentClass &ClassType() const { return StaticClass(); }
  // Either class derives from the other's.
  bool SameClass(const TChartSeries &other) const;

  // ---- streaming and copying
  // Streams "DataSources" (names), "Identifier" and "Style" (bits 0 .. 5).
  virtual void DefineProperties(TChartFiler &filer);
  // Copies settings, data links or points, the function (taken from source
  // when this series has none) and the published properties.
  virtual void Assign(TChartSeries &source);
  // Resolves the streamed source names among the owner's components.
  void Loaded() override;

  // ---- points
  int Count() const { return m_xValues->Count(); }
  TChartValueList &XValues() { return *m_xValues; }
  const TChartValueList &XValues() const { return *m_xValues; }
  void SetXValues(const TChartValueList &value) { m_xValues->Assign(value); }
  TChartValueList &YValues() { return *m_yValues; }
  const TChartValueList &YValues() const { return *m_yValues; }
  void SetYValues(const TChartValueList &value) { m_yValues->Assign(value); }
  TChartValueLists &AllValueLists() { return m_valueLists; }
  // The list a point's own value is in (Y for most series).
  virtual TChartValueList &MainValueList() { return *m_yValues; }
  bool MainIsY() { return &MainValueList() == m_yValues.get(); }
  // A further list (from the third on) of that name, case-insensitive; Y when none.
  virtual TChartValueList &ValueListByName(const std::string &name);

  // A point with the value in the main list and the next position in the other.
  virtual int Add(double value, const std::string &label = {}, TColor color = clTeeColor);
  // A point that is not drawn (colour clNone).
  int AppendNullPoint(const std::string &label = {});
  int AppendNullPointAt(double x, double y, const std::string &label = {});
  // Inserts the point where XValues' order puts it and answers its index; -1
  // when OnBeforeAdd refuses. Series with further lists set their
  // ScratchValues first: every list gets its value at the same index before
  // the point is announced to handlers and dependents.
  virtual int AppendPoint(double x, double y, const std::string &label = {},
                          TColor color = clTeeColor);
  // Removes a point from every list; an index outside 0 .. Count-1 raises
  // EValueListIndexError and changes nothing.
  virtual void Delete(int valueIndex);
  // Removes every point, fires OnClearValues and tells the dependents.
  virtual void Clear();
  void ExchangePoints(int a, int b) override;

  // Copies one point of source (X and Y crosswise when the two disagree on
  // their main list) and answers its index here.
  virtual int AddSourceValue(TChartSeries &source, int valueIndex);
  // AddSourceValue plus the point's colour and label, then PointAdded.
  virtual void AddValue(TChartSeries &source, int valueIndex);
  // Refills from source (through the function when there is one).
  virtual void CopyPointsFrom(TChartSeries &source);
  virtual void PointDeleted(TChartSeries &source, int valueIndex);
  virtual void FillSampleValues(int numValues);
  virtual int SamplePointCount() { return 26; }
  virtual void PrepareSample(bool enabled);

  // ---- per-point queries
  virtual TColor PointColor(int valueIndex);
  virtual std::string PointLabel(int valueIndex) const;
  void SetPointLabel(int valueIndex, const std::string &label);
  // The stored colour of a point (clTeeColor: automatic).
  TColor StoredPointColor(int valueIndex) const;
  void SetPointColor(int valueIndex, TColor color);
  virtual double PointX(int index) { return m_xValues->Value(index); }
  virtual double PointY(int index) { return m_yValues->Value(index); }
  virtual double MarkValueOf(int valueIndex) { return MainValueList().Value(valueIndex); }
  virtual double OriginValueOf(int valueIndex) { return MarkValueOf(valueIndex); }
  // The mark text of a point. The chart's label handlers it passes through
  // may free the series: then the text so far is answered and nothing more
  // of the series is touched.
  std::string MarkText(int valueIndex);
  // The ranges the axes ask for count only the points the series draws
  // (every value finite); 0 .. 0 when it draws none.
  virtual double LargestX() { return DrawnLargest(*m_xValues); }
  virtual double LargestY() { return DrawnLargest(*m_yValues); }
  virtual double LargestZ() { return DepthIndex(); }
  virtual double SmallestX() { return DrawnSmallest(*m_xValues); }
  virtual double SmallestY() { return DrawnSmallest(*m_yValues); }
  virtual double SmallestZ() { return DepthIndex(); }
  // Some point is drawn: a series without one adds nothing to its axes.
  bool HasDrawnPoints();
  // The largest and smallest value of one of the series' lists over the
  // points it draws.
  double DrawnLargest(const TChartValueList &list);
  double DrawnSmallest(const TChartValueList &list);
  // Sum of OriginValueOf at the index over the chart's active series of the
  // same class before this one (all of them with sumAll).
  virtual double StackBaseAt(int valueIndex, bool sumAll);
  // The larger of from and the top of every drawn point stacked on the
  // series before it (tops that are no finite number left out).
  double LargestStackedTop(double from);

  // ---- screen positions (through the series' axes; 0 without an axis)
  int XValueToScreen(double value) const;
  int YValueToScreen(double value) const;
  int ValueToScreen(double value);
  double XScreenToValue(int pixel) const;
  double YScreenToValue(int pixel) const;
  virtual int PointScreenX(int valueIndex) { return XValueToScreen(PointX(valueIndex)); }
  virtual int PointScreenY(int valueIndex) { return YValueToScreen(PointY(valueIndex)); }
  // The point under a screen position; -1 when none.
  virtual int PointAtPosition(int x, int y);

  // ---- visible range and drawing
  // Sets FirstVisibleIndex and LastVisibleIndex from the ordering axis.
  void FindVisibleRange();
  int FirstVisibleIndex() const { return m_firstVisibleIndex; }
  int LastVisibleIndex() const { return m_lastVisibleIndex; }
  virtual void DrawAllPoints();
  virtual void DrawPoint(int valueIndex);
  virtual void DrawPointMark(int valueIndex, const std::string &text,
                             TSeriesMarkPosition &position);
  // The mark of every visible point with a colour and a text.
  void DrawAllMarks();
  virtual bool PointsDrawForward() { return true; }
  virtual bool SeriesDrawsForward(int /*valueIndex*/) { return true; }
  virtual void FireBeforeDrawChart() {}
  virtual void FireBeforeDrawValues();
  virtual void FireAfterDrawValues();
  virtual void HorizMarginsNeeded(int &left, int &right);
  virtual void VertMarginsNeeded(int &top, int &bottom);
  virtual void StyleChanged() { Repaint(); }

  // ---- legend
  virtual int LegendItemCount() { return Count(); }
  virtual int LegendItemToPoint(int legendIndex) { return legendIndex; }
  virtual TColor LegendColorOf(int legendIndex) { return PointColor(legendIndex); }
  virtual std::string LegendTextOf(int legendIndex, TLegendTextStyle style);
  // The symbol of a point (or of the series for -1) in rect on the chart canvas.
  virtual void DrawLegendSymbol(int valueIndex, const TRect &rect);
  virtual void DrawLegendFigure(int valueIndex, const TRect &rect);
  virtual void SetUpLegendCanvas(int valueIndex, TColor &backColor, TBrushStyle &brushStyle);

  // ---- chart, axes and depth
  TCustomAxisPanel *ParentChart() const { return m_parentChart; }
  virtual void SetParentChart(TCustomAxisPanel *value);
  THorizAxis HorizAxis() const { return m_horizAxis; }
  void SetHorizAxis(THorizAxis value);
  TVertAxis VertAxis() const { return m_vertAxis; }
  void SetVertAxis(TVertAxis value);
  TCustomChartAxis *CustomHorizAxis() const { return m_customHorizAxis; }
  void SetCustomHorizAxis(TCustomChartAxis *axis);
  TCustomChartAxis *CustomVertAxis() const { return m_customVertAxis; }
  void SetCustomVertAxis(TCustomChartAxis *axis);
  // An axis being freed: the series stops using it as a custom axis and
  // falls back to its standard axis.
  void CustomAxisFreed(const TCustomChartAxis *axis);
  // The axes resolved from HorizAxis / VertAxis on the chart; nullptr
  // without a chart.
  TCustomChartAxis *HorizAxisObject() const;
  TCustomChartAxis *VertAxisObject() const;
  virtual bool HasAxes() { return true; }
  virtual bool IsOnAxis(const TCustomChartAxis *axis);
  int DepthIndex() const { return m_depthIndex != -1 ? m_depthIndex : m_computedDepth; }
  void SetDepthIndex(int value);
  virtual void AssignDepthIndex();
  virtual bool SharesDepthWithOthers();
  int FrontDepth() const { return m_frontDepth; }
  int MidDepth() const { return m_midDepth; }
  int BackDepth() const { return m_backDepth; }
  void SetDepths(int front, int mid, int back);
  virtual void ChangeView3D(bool is3D);

  // ---- data sources and dependents
  TChartComponent *DataSource() const { return m_sources.empty() ? nullptr : m_sources.front(); }
  // Makes value the only source (nullptr: none, and the points go). Raises
  // ChartException without a chart, for a source the chart refuses, and for
  // a source that depends on this series; the sources stay as they were.
  void SetDataSource(TChartComponent *value);
  // Adds a further source with the same checks (functions over several series).
  void AddDataSource(TChartComponent *value);
  void RemoveDataSource(TChartComponent *value);
  const std::vector<TChartComponent *> &DataSources() const { return m_sources; }
  const std::vector<TChartSeries *> &Dependents() const { return m_dependents; }
  virtual bool CanFeedSeries(const TChartSeries *value) const { return value != this; }
  virtual bool CanTakeSourceFrom(const TChartComponent * /*value*/) const { return true; }
  TSeriesRecalcOptions RecalcOptions() const { return m_recalcOptions; }
  void SetRecalcOptions(TSeriesRecalcOptions value) { m_recalcOptions = value; }
  // Asks the chart to reload the series from its source.
  void RefreshFromSource();
  TChartFunction *SeriesFunction() const { return m_function.get(); }
  // Frees the current function and installs value (may be empty), then refreshes.
  virtual void SetFunction(std::unique_ptr<TChartFunction> value);
  std::unique_ptr<TChartFunction> ReleaseFunction();

  // ---- value-list owner
  TChartValueLists &ValueLists() override { return m_valueLists; }
  // Tells the dependents about a change of this series' points.
  void NotifyValueChange(TSeriesNotifyKind kind, int index) override;
  void Repaint() override;
  void CheckDataSource() override { RefreshFromSource(); }

  // ---- clicks and mouse
  // Runs OnDblClick (double click) or OnClick and answers whether the click
  // was taken (the chart's cancel-mouse flag).
  virtual bool FireSeriesClick(int valueIndex, TMouseButton button, TShiftState shift, int x,
                               int y);
  virtual void SeriesMouseMove(TShiftState /*shift*/, int /*x*/, int /*y*/) {}
  virtual void SeriesMouseUp(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/) {
  }

  // ---- properties
  bool Active() const { return m_active; }
  virtual void SetActive(bool value);
  TColor SeriesColor() const { return m_seriesColor; }
  virtual void SetSeriesColor(TColor value);
  bool ColorEachPoint() const { return m_colorEachPoint; }
  virtual void SetColorEachPoint(bool value);
  const std::string &ColorSource() const { return m_colorSource; }
  void SetColorSource(const std::string &value);
  const std::string &XLabelsSource() const { return m_xLabelsSource; }
  void SetXLabelsSource(const std::string &value);
  int Cursor() const { return m_cursor; }
  void SetCursor(int value) { m_cursor = value; }
  TSeriesMarks &Marks() { return *m_marks; }
  const TSeriesMarks &Marks() const { return *m_marks; }
  void SetMarks(const TSeriesMarks &value) { m_marks->Assign(value); }
  const std::string &PercentFormat() const { return m_percentFormat; }
  void SetPercentFormat(const std::string &value);
  bool IsPercentFormatStored() const;
  const std::string &ValueFormat() const { return m_valueFormat; }
  void SetValueFormat(const std::string &value);
  bool IsValueFormatStored() const;
  bool ShowInLegend() const { return m_showInLegend; }
  void SetShowInLegend(bool value);
  const std::string &Title() const { return m_title; }
  void SetTitle(const std::string &value);
  const std::string &Identifier() const { return m_identifier; }
  void SetIdentifier(const std::string &value) { m_identifier = value; }
  TSeriesStyleFlags Style() const { return m_style; }
  void SetStyle(TSeriesStyleFlags value) { m_style = value & SeriesStyleFlagsMask; }
  virtual std::string EditorClassName() const { return {}; }
  // The gallery picture named after the series' class (its sample drawn
  // small, once the chart control has installed the gallery's maker); false
  // when there is none.
  bool LoadTypeBitmap(QImage &bitmap) const;

  // Drawing switches concrete series set in their constructors.
  // The visible range is limited to the ordering axis' range.
  bool LimitRangeToAxis = true;
  // The visible range keeps the first point past its far end.
  bool KeepTrailingPoint = false;
  // A whole-series function result is one point (else a level line of two).
  bool SinglePointResults = true;
  // Left out of the shared-depth test.
  bool ExcludedFromDepthTest = false;

  // Events.
  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesNotifyEvent OnClearValues;
  TSeriesOnGetMarkText OnGetMarkText;
  TSeriesNotifyEvent BeforeDrawValues;
  TSeriesNotifyEvent AfterDrawValues;
  TSeriesClick OnClick;
  TSeriesClick OnDblClick;

protected:
  void Notification(TChartComponent *component, TOperation operation) override;
  // Removes every point from every list (and the marks' positions).
  virtual void ClearLists();
  // The point at valueIndex was added: OnAfterAdd, dependents, repaint.
  virtual void PointAdded(int valueIndex);
  // Every list from the third on gets its ScratchValue at valueIndex.
  virtual void AddExtraValues(int valueIndex);
  virtual void ResetScratchValue(TChartValueList &list) { list.ScratchValue = 0.0; }

  // Where sample values go: the first X, the X step, the lowest Y and the Y span.
  struct TRandomBounds {
    double StartX = 0.0;
    double StepX = 0.0;
    double MinY = 0.0;
    double DifY = 0.0;
  };
  TRandomBounds CalcRandomBounds(int numValues);

private:
  void InsertPointExtras(int index, const std::string &label, TColor color);
  void LinkSource(TChartComponent *value);
  void UnlinkSources();
  void CheckNotCircular(TChartSeries &source) const;
  bool DependsOn(const TChartSeries &series) const;
  void AddSourceChecked(TChartComponent *value, bool replace);
  // Refills a dependent after an edit of this series; a refusal of its
  // function leaves it as it was and does not end the edit.
  void RefillDependent(TChartSeries &dependent);
  // Refills from the first source that is a series (a function reads the
  // others as well); clears without one.
  void RefillFromSources();
  // A source freed (or removed by its own notification) goes as a removed
  // one does.
  void SourceFreed(TChartComponent *source);
  TCustomChartAxis *OrderingAxis(bool &horizontal) const;
  std::string PercentText(double value, bool magnitude);
  std::string XValueText(int valueIndex);
  // Runs fn, which may call the chart's handlers; false when this series
  // left its chart or was freed meanwhile (then nothing of it may be used).
  bool StaysThrough(const std::function<void()> &fn);
  // Every value of the point is a finite number (true outside the points).
  bool HasFiniteValues(int valueIndex) const;
  template <typename T> void Store(T &field, const T &value);
  // Links the series to a new custom axis in one of its two slots.
  void ChangeCustomAxis(TCustomChartAxis *&slot, TCustomChartAxis *axis);

  // Lists are declared after the collection they register with.
  TChartValueLists m_valueLists;
  std::unique_ptr<TChartValueList> m_xValues;
  std::unique_ptr<TChartValueList> m_yValues;
  // Colours and labels of the points that have them (most points have none).
  TSparsePointValues<TColor> m_colors{clTeeColor};
  TSparsePointValues<std::string> m_labels;
  std::unique_ptr<TSeriesMarks> m_marks;
  // Asked for by the axes on every paint; kept up to date as points come.
  TSeriesDrawnRange m_drawnRange;
  std::unique_ptr<TChartFunction> m_function;
  std::vector<TChartComponent *> m_sources;
  std::vector<TChartSeries *> m_dependents;
  std::vector<std::string> m_streamedSourceNames;
  TCustomAxisPanel *m_parentChart = nullptr;
  TCustomChartAxis *m_customHorizAxis = nullptr;
  TCustomChartAxis *m_customVertAxis = nullptr;
  bool m_active = true;
  TColor m_seriesColor;
  bool m_colorEachPoint = false;
  std::string m_colorSource;
  std::string m_xLabelsSource;
  int m_cursor = 0;
  std::string m_percentFormat;
  std::string m_valueFormat;
  bool m_showInLegend = true;
  std::string m_title;
  std::string m_identifier;
  TSeriesStyleFlags m_style = 0;
  THorizAxis m_horizAxis = aBottomAxis;
  TVertAxis m_vertAxis = aLeftAxis;
  TSeriesRecalcOptions m_recalcOptions = rAllRecalcOptions;
  int m_firstVisibleIndex = -1;
  int m_lastVisibleIndex = -1;
  int m_depthIndex = -1;
  int m_computedDepth = 0;
  int m_frontDepth = 0;
  int m_midDepth = 0;
  int m_backDepth = 0;
  // Depth of nested notifications sent by this series.
  int m_notifying = 0;
};
