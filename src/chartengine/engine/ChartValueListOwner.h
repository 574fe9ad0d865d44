#pragma once

class TChartValueLists;

// What a series is told about a change of its points; its dependents react
// to each kind.
enum TSeriesNotifyKind { snClear, snInsert, snDelete, snRefresh, snModify };

// The series side of a value list: the list registers with the owner's value
// lists, tells it about changes and moves points through it, so that every
// parallel list (values, labels, colours) stays aligned.
class TChartValueListOwner {
public:
  virtual ~TChartValueListOwner() = default;

  virtual TChartValueLists &ValueLists() = 0;
  // A point changed (snModify with its index) or the whole series did
  // (snRefresh, index -1).
  virtual void NotifyValueChange(TSeriesNotifyKind kind, int index) = 0;
  virtual void Repaint() = 0;
  // A list's source column changed: the chart re-checks the series' source.
  virtual void CheckDataSource() = 0;
  // Swaps points a and b in every value list and in the labels and colours.
  virtual void ExchangePoints(int a, int b) = 0;
};
