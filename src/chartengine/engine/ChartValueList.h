#pragma once
#include "chartengine/engine/ChartValueListOwner.h"
#include "platform/Exceptions.h"

#include <cstdint>
#include <string>
#include <vector>

enum TChartListOrder { loNone, loAscending, loDescending };

// An index outside a value list.
class EValueListIndexError : public Exception {
public:
  explicit EValueListIndexError(int index);
};

// One column of numbers of a series (X, Y, open, high, ...). Values are stored
// raw and read through Multiplier; an ordered list keeps its read values in
// order on insertion. Maximum, minimum and the two sums are recomputed lazily.
class TChartValueList {
public:
  // Registers the list with the owner's value lists (owner may be null).
  TChartValueList(TChartValueListOwner *owner, const std::string &name);
  TChartValueList(const TChartValueList &) = delete;
  TChartValueList &operator=(const TChartValueList &) = delete;
  virtual ~TChartValueList();

  // Copies Order, DateTime, Multiplier and ValueSource; not Name, not values.
  virtual void Assign(const TChartValueList &source);

  // Raw value at index times Multiplier.
  virtual double Value(int index) const;
  // Stores the raw value and tells the owner about the changed point.
  virtual void SetValue(int index, double value);
  virtual void Clear();
  // Inserts by Order and answers the index; equal values keep their order of
  // arrival. A value that is no number is appended, and numbers are ordered
  // among the numbers only.
  virtual int StoreValue(double value);
  // Inserts at index (0 .. Count) regardless of Order.
  virtual void InsertValueAt(int index, double value);
  virtual int Count() const { return static_cast<int>(m_values.size()); }
  virtual void Delete(int index);
  virtual void MoveFirstToLast();

  double LargestValue();
  double SmallestValue();
  double SumOfValues();
  double SumOfMagnitudes();
  bool NeedsRecount() const { return m_needsRecount; }
  // Goes up by one with every change of the values or of Multiplier (a
  // stored, inserted, set or deleted value, a clearing): a series that keeps
  // figures of its own over several lists can tell whether they still hold.
  std::uint64_t Changes() const { return m_changes; }

  double FinalValue() const;
  // The first index whose read value equals value exactly; -1 when none.
  int IndexOfValue(double value) const;
  // Sets value i to i for every index.
  void NumberSequentially();
  // Sorts by Order, moving every parallel list through the owner.
  void Sort();

  // The stored value, without Multiplier.
  double RawValue(int index) const;
  // All stored values (Count of them), for loops over many points.
  const double *RawValues() const { return m_values.data(); }
  // Swaps two stored values; the owner's ExchangePoints calls it on each list.
  void Exchange(int a, int b);

  bool DateTime() const { return m_dateTime; }
  void SetDateTime(bool value);
  double Multiplier() const { return m_multiplier; }
  void SetMultiplier(double value);
  const std::string &Name() const { return m_name; }
  void SetName(const std::string &name) { m_name = name; }
  TChartListOrder Order() const { return m_order; }
  void SetOrder(TChartListOrder order) { m_order = order; }
  const std::string &ValueSource() const { return m_valueSource; }
  void SetValueSource(const std::string &value);
  TChartValueListOwner *Owner() const { return m_owner; }

  // The value of the point being added; the series sets it before inserting.
  double ScratchValue = 0.0;

private:
  friend class TChartValueLists;

  void CheckIndex(int index, int limit) const;
  void Recalc();
  int Compare(int a, int b) const;
  void SortRange(int low, int high);
  void ExchangeThroughOwner(int a, int b);
  void Changed() {
    m_needsRecount = true;
    ++m_changes;
  }

  bool m_dateTime = false;
  std::vector<double> m_values;
  double m_largest = 0.0;
  double m_smallest = 0.0;
  double m_multiplier = 1.0;
  std::string m_name;
  TChartListOrder m_order = loNone;
  TChartValueListOwner *m_owner = nullptr;
  TChartValueLists *m_lists = nullptr;
  double m_sum = 0.0;
  double m_sumMagnitudes = 0.0;
  std::string m_valueSource;
  bool m_needsRecount = true;
  std::uint64_t m_changes = 0;
};
