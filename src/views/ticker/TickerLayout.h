#pragma once
// Plain geometry of the ticker and its configuration dialog: the scrolling
// tape of boxes, the preview's two sample boxes, and where the ticker moves
// while the dialog would hide it.
#include "platform/Rect.h"

#include <optional>
#include <vector>

// The boxes of the ticker laid end to end with a gap after each, repeated
// without end. Speed < 0 moves the boxes to the left, > 0 to the right, by
// |speed| pixels per step.
class TTickerTape {
public:
  struct Placement {
    int Index; // box number
    int X;     // left edge in the strip
    friend bool operator==(const Placement &, const Placement &) = default;
  };

  void SetBoxes(const std::vector<int> &widths, int sep);
  int BoxCount() const { return int(m_widths.size()); }
  // The length of one round: every box and its gap.
  int CycleLength() const { return m_cycle; }
  // The first box's distance from the strip's left edge is -Offset().
  int Offset() const { return m_offset; }
  void SetOffset(int offset);
  void Step(int speed);
  // The boxes that show in a strip of this width, left to right.
  std::vector<Placement> Placements(int stripWidth) const;

private:
  std::vector<int> m_widths;
  std::vector<int> m_starts;
  int m_cycle = 0;
  int m_offset = 0;
};

// The two preview boxes: side by side, sep apart, the pair centred
// horizontally in the picture, both at the top that centres the first box.
struct TPreviewPlacement {
  int X1 = 0;
  int X2 = 0;
  int Y = 0;
};
TPreviewPlacement PlacePreviewBoxes(int imageWidth, int imageHeight, int width1, int height1,
                                    int width2, int sep);

// The new top of a floating ticker that the dialog would cover: just above
// the dialog when the ticker's centre is above or level with the dialog's,
// else just below it. Nothing when they do not overlap.
std::optional<int> TickerTopAwayFromDialog(const TRect &ticker, const TRect &dialog);
