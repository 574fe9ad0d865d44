#pragma once
#include "chartengine/engine/ChartComponent.h"
#include "chartengine/engine/ChartComponentClass.h"

#include <utility>
#include <vector>

class TChartSeries;
class TChartValueList;

enum TFunctionPeriodStyle { psNumPoints, psRange };
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };

// A series function: it fills its parent series from the parent's sources,
// either with one result over a whole source, one result per period of a
// source (Period points or Period X units), a moving result, or one result
// per point index across several sources. The parent series owns it.
class TChartFunction : public TChartComponent {
public:
  explicit TChartFunction(TChartComponent *owner = nullptr);

  static const TChartComponentClass &StaticClass();
  virtual const TChartComponentClass &ClassType() const { return StaticClass(); }

  // Copies Period, PeriodStyle and PeriodAlign.
  void Assign(const TChartFunction &source);

  double Period() const { return m_period; }
  // Below 0 (or not a number) raises ChartException and keeps the period;
  // so does a period of X units that would split the source's range into
  // more than ten results per source point (at least 10,000 are allowed).
  void SetPeriod(double value);
  TFunctionPeriodStyle PeriodStyle() const { return m_periodStyle; }
  void SetPeriodStyle(TFunctionPeriodStyle value);
  TFunctionPeriodAlign PeriodAlign() const { return m_periodAlign; }
  void SetPeriodAlign(TFunctionPeriodAlign value);
  // Results over the Period points ending at each point.
  bool Moving() const { return m_moving; }
  void SetMoving(bool value);

  TChartSeries *OwnerSeries() const { return m_owner; }
  TChartSeries *ParentSeries() const { return m_owner; }

  // Property changes between the two do not recalculate; EndUpdate does once.
  void BeginUpdate() { ++m_updating; }
  void EndUpdate();
  // Asks the parent series to reload from its sources (not while updating).
  void Refill();

  // The list of series the function reads: the parent's main list's
  // ValueSource when set, else series' main list.
  TChartValueList &ValueList(TChartSeries &series);
  // Adds (x, y) to the parent, crosswise when the source's main list is X.
  void AppendResultPoint(TChartSeries &yMandatorySource, double x, double y);

  // Fills the parent (cleared by the caller) from source and the parent's
  // other sources.
  virtual void FillFromSources(TChartSeries *source);
  // Raises ChartException when a fill from source would be refused (a
  // period of X units too small for the source's range); the caller then
  // keeps the results it has.
  void CheckSource(TChartSeries &source);

  // A point whose position, X, Y or read value is not a finite number is no
  // point: every function sees a source as if it did not hold it.
  bool IsPoint(TChartSeries &series, int index);
  // The indices of the points of series that are points, in list order.
  std::vector<int> PointsOf(TChartSeries &series);
  // The index in series of its point number valueIndex among PointsOf; -1
  // when it has fewer points.
  int PointAt(TChartSeries &series, int valueIndex);

protected:
  // First and last are indices of source's points (points between them
  // that are no points take no part).
  virtual void ComputePeriodPoint(TChartSeries &source, double x, int first, int last);
  virtual void FillEveryPoint(TChartSeries &source, TChartValueList &notMandatory);
  virtual void FillByPeriod(TChartSeries &source, TChartValueList &notMandatory);
  // The result over points first .. last of series (first -1: all points).
  virtual double ComputeOver(TChartSeries &series, int first, int last);
  // The result at valueIndex across the given sources: valueIndex counts
  // each source's points (PointsOf), as PointAt reads them.
  virtual double ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                                      int valueIndex);

  // Points first .. last of the function's list of series, limited to the
  // points it has; all of them when first is -1.
  void ValueRange(TChartSeries &series, int first, int last, int &from, int &to);

private:
  friend class TChartSeries;
  void AttachTo(TChartSeries *series) { m_owner = series; }
  void FillMoving(TChartSeries &source, TChartValueList &notMandatory);
  int PeriodPoints() const;
  // The most periods of X units a refill may make from a source of that many points.
  static int MostPeriods(int sourceCount);
  // Raises ChartException when the positions of the points hold more
  // periods than allowed.
  void CheckPeriodCount(TChartValueList &notMandatory, const std::vector<int> &points) const;
  // The points of series, from the fill's store while a fill runs.
  const std::vector<int> &StoredPointsOf(TChartSeries &series);
  template <typename T> void Store(T &field, const T &value);

  double m_period = 0.0;
  TFunctionPeriodStyle m_periodStyle = psNumPoints;
  TFunctionPeriodAlign m_periodAlign = paCenter;
  TChartSeries *m_owner = nullptr;
  int m_updating = 0;
  bool m_moving = false;
  // While a fill runs: the points of each series it reads (counted once).
  std::vector<std::pair<const TChartSeries *, std::vector<int>>> m_fillPoints;
  std::vector<int> m_scratchPoints;
};
