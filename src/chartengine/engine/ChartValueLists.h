#pragma once
#include <vector>

class TChartValueList;

// The value lists of one series in creation order: item 0 is X, item 1 is Y,
// extra columns follow. The collection does not own the lists; a list
// registers itself when made and leaves when destroyed, and lists that
// outlive the collection are detached from it.
class TChartValueLists {
public:
  TChartValueLists() = default;
  TChartValueLists(const TChartValueLists &) = delete;
  TChartValueLists &operator=(const TChartValueLists &) = delete;
  ~TChartValueLists();

  int Count() const { return static_cast<int>(m_lists.size()); }
  // The list at a position; throws for a position outside 0 .. Count-1.
  TChartValueList &operator[](int index) const;
  TChartValueList *Item(int index) const { return &(*this)[index]; }
  int IndexOf(const TChartValueList *list) const;

private:
  friend class TChartValueList;
  void Add(TChartValueList *list);
  void Remove(TChartValueList *list);

  std::vector<TChartValueList *> m_lists;
};
