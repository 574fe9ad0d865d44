#include "chartengine/engine/ChartValueList.h"

#include "chartengine/engine/ChartValueLists.h"
#include "chartengine/engine/ChartWalks.h"

#include <cmath>
#include <utility>

EValueListIndexError::EValueListIndexError(int index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

TChartValueList::TChartValueList(TChartValueListOwner *owner, const std::string &name)
    : m_name(name), m_owner(owner) {
  if (m_owner != nullptr) {
    m_lists = &m_owner->ValueLists();
    m_lists->Add(this);
  }
  Clear();
}

TChartValueList::~TChartValueList() {
  if (m_lists != nullptr)
    m_lists->Remove(this);
}

void TChartValueList::Assign(const TChartValueList &source) {
  if (&source == this)
    return;
  m_order = source.m_order;
  m_dateTime = source.m_dateTime;
  if (m_multiplier != source.m_multiplier) {
    m_multiplier = source.m_multiplier;
    Changed();
  }
  m_valueSource = source.m_valueSource;
}

void TChartValueList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit)
    throw EValueListIndexError(index);
}

double TChartValueList::RawValue(int index) const {
  CheckIndex(index, Count());
  return m_values[static_cast<std::size_t>(index)];
}

double TChartValueList::Value(int index) const { return RawValue(index) * m_multiplier; }

void TChartValueList::SetValue(int index, double value) {
  CheckIndex(index, Count());
  m_values[static_cast<std::size_t>(index)] = value;
  Changed();
  if (m_owner != nullptr)
    m_owner->NotifyValueChange(snModify, index);
}

void TChartValueList::Clear() {
  if (!m_values.empty())
    TChartChanges::Note();
  std::vector<double>().swap(m_values);
  Changed();
}

int TChartValueList::StoreValue(double value) {
  // The order is that of the read values, so a negative Multiplier (which
  // reverses the raw order) still gives an ascending list that reads ascending.
  const double read = value * m_multiplier;
  const int count = Count();
  auto inOrder = [this, read](double stored) {
    const double r = stored * m_multiplier;
    return m_order == loAscending ? r <= read : r >= read;
  };
  // A value that is no number has no place in the order: it is stored where
  // it arrives, at the end, and later values are ordered past it (they
  // compare with the numbers only).
  int index = count;
  if (m_order != loNone && !std::isnan(read)) {
    int t = count - 1;
    while (t >= 0 && std::isnan(m_values[static_cast<std::size_t>(t)] * m_multiplier))
      --t;
    if (t >= 0 && !inOrder(m_values[static_cast<std::size_t>(t)])) {
      index = 0;
      for (--t; t >= 0; --t) {
        if (inOrder(m_values[static_cast<std::size_t>(t)])) {
          index = t + 1;
          break;
        }
      }
    }
  }
  m_values.insert(m_values.begin() + index, value);
  Changed();
  return index;
}

void TChartValueList::InsertValueAt(int index, double value) {
  CheckIndex(index, Count() + 1);
  m_values.insert(m_values.begin() + index, value);
  Changed();
}

void TChartValueList::Delete(int index) {
  CheckIndex(index, Count());
  TChartChanges::Note();
  m_values.erase(m_values.begin() + index);
  Changed();
}

void TChartValueList::MoveFirstToLast() {
  if (m_values.empty())
    return;
  const double first = m_values.front();
  m_values.erase(m_values.begin());
  m_values.push_back(first);
}

void TChartValueList::Recalc() {
  if (!m_needsRecount)
    return;
  m_largest = m_smallest = m_sum = m_sumMagnitudes = 0.0;
  // Values that are not finite are no points: they neither widen the range
  // nor count in the sums.
  bool first = true;
  const int count = Count();
  for (int t = 0; t < count; ++t) {
    const double v = Value(t);
    if (!std::isfinite(v))
      continue;
    if (first) {
      m_largest = m_smallest = v;
      first = false;
    } else if (v < m_smallest) {
      m_smallest = v;
    } else if (v > m_largest) {
      m_largest = v;
    }
    m_sum += v;
    m_sumMagnitudes += std::fabs(v);
  }
  m_needsRecount = false;
}

double TChartValueList::LargestValue() {
  Recalc();
  return m_largest;
}

double TChartValueList::SmallestValue() {
  Recalc();
  return m_smallest;
}

double TChartValueList::SumOfValues() {
  Recalc();
  return m_sum;
}

double TChartValueList::SumOfMagnitudes() {
  Recalc();
  return m_sumMagnitudes;
}

double TChartValueList::FinalValue() const { return Value(Count() - 1); }

int TChartValueList::IndexOfValue(double value) const {
  for (int t = 0; t < Count(); ++t)
    if (Value(t) == value)
      return t;
  return -1;
}

void TChartValueList::NumberSequentially() {
  for (int t = 0; t < Count(); ++t)
    SetValue(t, t);
}

void TChartValueList::Exchange(int a, int b) {
  CheckIndex(a, Count());
  CheckIndex(b, Count());
  std::swap(m_values[static_cast<std::size_t>(a)], m_values[static_cast<std::size_t>(b)]);
}

void TChartValueList::ExchangeThroughOwner(int a, int b) {
  if (m_owner != nullptr)
    m_owner->ExchangePoints(a, b);
  else
    Exchange(a, b);
}

int TChartValueList::Compare(int a, int b) const {
  const double va = Value(a);
  const double vb = Value(b);
  const int c = va < vb ? -1 : (va > vb ? 1 : 0);
  return m_order == loDescending ? -c : c;
}

void TChartValueList::Sort() {
  if (m_order != loNone && Count() > 1)
    SortRange(0, Count() - 1);
}

// Quicksort around the middle element. The smaller part is sorted by a
// recursive call and the larger one by the loop, so the depth stays below
// log2(n) whatever the data.
void TChartValueList::SortRange(int low, int high) {
  while (low < high) {
    int i = low;
    int j = high;
    int pivot = low + (high - low) / 2;
    do {
      while (Compare(i, pivot) < 0)
        ++i;
      while (Compare(pivot, j) < 0)
        --j;
      if (i <= j) {
        if (i != j) {
          ExchangeThroughOwner(i, j);
          if (pivot == i)
            pivot = j;
          else if (pivot == j)
            pivot = i;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - low < high - i) {
      if (low < j)
        SortRange(low, j);
      low = i;
    } else {
      if (i < high)
        SortRange(i, high);
      high = j;
    }
  }
}

void TChartValueList::SetDateTime(bool value) {
  if (m_dateTime == value)
    return;
  m_dateTime = value;
  if (m_owner != nullptr)
    m_owner->Repaint();
}

void TChartValueList::SetMultiplier(double value) {
  if (m_multiplier == value)
    return;
  m_multiplier = value;
  Changed();
  if (m_owner != nullptr) {
    m_owner->NotifyValueChange(snRefresh, -1);
    m_owner->Repaint();
  }
}

void TChartValueList::SetValueSource(const std::string &value) {
  if (m_valueSource == value)
    return;
  m_valueSource = value;
  if (m_owner != nullptr)
    m_owner->CheckDataSource();
}
