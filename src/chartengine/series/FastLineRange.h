#pragma once
#include <cstdint>

class TChartValueList;

// The smallest and largest x and y of the points a fast line draws: those
// whose x and y are both finite. A point that leaves a gap widens neither
// axis. An added point widens the range in place; any other change to the
// two lists has the range counted again, once, when it is next asked for.
class TFastLineRange {
public:
  // Counts the range again when either list changed since it was counted.
  void Update(const TChartValueList &xs, const TChartValueList &ys);
  // One point was just inserted at index into both lists: a range that was
  // up to date before takes it in and stays up to date.
  void PointInserted(const TChartValueList &xs, const TChartValueList &ys, int index);

  // 0 .. 0 when no point is drawn.
  double SmallestX() const { return m_smallestX; }
  double LargestX() const { return m_largestX; }
  double SmallestY() const { return m_smallestY; }
  double LargestY() const { return m_largestY; }

private:
  void Add(double x, double y);

  double m_smallestX = 0.0;
  double m_largestX = 0.0;
  double m_smallestY = 0.0;
  double m_largestY = 0.0;
  bool m_any = false;
  // The lists' Changes() the range was counted at; none yet.
  bool m_counted = false;
  std::uint64_t m_xChanges = 0;
  std::uint64_t m_yChanges = 0;
};
