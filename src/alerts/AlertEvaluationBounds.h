#pragma once
// The bounds of the values a run of ticks carries, for the alert pass: an
// alert whose condition no value inside the bounds can meet needs no walk
// over the run. The alerts of one symbol share the bounds of its new ticks,
// so the ticks are read once for all of them.
#include "core/ValueList.h"

// The tick values alert conditions read.
enum TTickValue {
  tvLast,
  tvBid,
  tvAsk,
  tvVolume,
  tvSpread, // double(Ask) - Bid, as the column alerts compute it
  tvCount
};

class TTickBounds {
public:
  // Covers ticks from..count-1 of the list (the caller holds its lock).
  // The list only grows, so a run already covered is not read again.
  void Cover(const ValueList &ticks, int from, int count);

  // The smallest and largest value of the run; NaN values are left out
  // (they meet no condition). An empty run gives +inf and -inf.
  double Min(TTickValue v) const { return m_min[v]; }
  double Max(TTickValue v) const { return m_max[v]; }

private:
  int m_from = -1;
  int m_count = -1;
  double m_min[tvCount] = {};
  double m_max[tvCount] = {};
};
