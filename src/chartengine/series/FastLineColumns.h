#pragma once

class TAxisPixelMap;
class TFastLinePath;

// The stored values of a line's points, read as stored value times
// multiplier.
struct TLineValues {
  const double *Xs = nullptr;
  const double *Ys = nullptr;
  double XMultiplier = 1;
  double YMultiplier = 1;
};

// Feeds the points from .. to - 1 into the path so that it draws the pixels
// that feeding every point gives, with only the first, lowest, highest and
// last point of each run of points on one pixel column. A run is told by its
// x values alone (compared with the band of x values that lie on its
// column), its y values are folded before any is placed (pixels follow
// values in order), so a point costs a few instructions. The lowest and
// highest point go into the path in the order that draws fewer pixels. A run holding a value that is no
// number, or lies far out, is fed point by point; a point whose x or y is not
// finite breaks the path there. Both maps must be linear.
void FoldColumns(const TLineValues &values, int from, int to, const TAxisPixelMap &toX,
                 const TAxisPixelMap &toY, TFastLinePath &path);
