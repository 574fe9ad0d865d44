#include "chartengine/engine/ChartValueLists.h"

#include "chartengine/engine/ChartValueList.h"

#include <algorithm>

TChartValueLists::~TChartValueLists() {
  for (TChartValueList *list : m_lists)
    list->m_lists = nullptr;
}

TChartValueList &TChartValueLists::operator[](int index) const {
  if (index < 0 || index >= Count())
    throw EValueListIndexError(index);
  return *m_lists[static_cast<std::size_t>(index)];
}

int TChartValueLists::IndexOf(const TChartValueList *list) const {
  const auto it = std::find(m_lists.begin(), m_lists.end(), list);
  return it == m_lists.end() ? -1 : static_cast<int>(it - m_lists.begin());
}

void TChartValueLists::Add(TChartValueList *list) { m_lists.push_back(list); }

void TChartValueLists::Remove(TChartValueList *list) { std::erase(m_lists, list); }
