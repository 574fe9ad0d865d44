#pragma once
#include <cstdint>
#include <vector>

class TChartValueLists;

// The smallest and largest value of each value list of a series over the
// points it draws: those whose values are finite in every list. A point that
// leaves a gap widens no axis. An added point widens the range in place; any
// other change to the lists has the range counted again, once, when it is
// next asked for.
class TSeriesDrawnRange {
public:
  // Counts the range again when any list changed since it was counted.
  void Update(const TChartValueLists &lists);
  // One point was just inserted at index into every list: a range that was
  // up to date before takes it in and stays up to date.
  void PointInserted(const TChartValueLists &lists, int index);

  // Some point is drawn.
  bool Any() const { return m_any; }
  // Over the list at that position of the lists; 0 when no point is drawn.
  double Smallest(int list) const;
  double Largest(int list) const;

private:
  bool CountedAt(const TChartValueLists &lists, int extraChanges) const;
  void Add(const double *values);

  std::vector<double> m_smallest;
  std::vector<double> m_largest;
  bool m_any = false;
  // The lists' Changes() the range was counted at; empty when not counted.
  std::vector<std::uint64_t> m_changes;
  // The values of one point (room reused).
  std::vector<double> m_point;
};
