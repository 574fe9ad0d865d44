#include "views/ticker/TickerLayout.h"

#include <algorithm>

void TTickerTape::SetBoxes(const std::vector<int> &widths, int sep) {
  m_widths = widths;
  m_starts.clear();
  m_cycle = 0;
  for (int w : m_widths) {
    m_starts.push_back(m_cycle);
    m_cycle += std::max(w, 0) + std::max(sep, 0);
  }
  SetOffset(m_offset);
}

void TTickerTape::SetOffset(int offset) {
  if (m_cycle <= 0) {
    m_offset = 0;
    return;
  }
  m_offset = offset % m_cycle;
  if (m_offset < 0)
    m_offset += m_cycle;
}

void TTickerTape::Step(int speed) { SetOffset(m_offset - speed); }

std::vector<TTickerTape::Placement> TTickerTape::Placements(int stripWidth) const {
  std::vector<Placement> out;
  if (m_cycle <= 0)
    return out;
  for (int round = -m_offset; round < stripWidth; round += m_cycle)
    for (std::size_t i = 0; i < m_widths.size(); ++i) {
      const int x = round + m_starts[i];
      if (x + m_widths[i] > 0 && x < stripWidth)
        out.push_back({int(i), x});
    }
  return out;
}

TPreviewPlacement PlacePreviewBoxes(int imageWidth, int imageHeight, int width1, int height1,
                                    int width2, int sep) {
  TPreviewPlacement p;
  p.X1 = (imageWidth - (width1 + sep + width2)) / 2;
  p.X2 = p.X1 + width1 + sep;
  p.Y = (imageHeight - height1) / 2;
  return p;
}

std::optional<int> TickerTopAwayFromDialog(const TRect &ticker, const TRect &dialog) {
  const bool overlap = ticker.Left < dialog.Right && dialog.Left < ticker.Right &&
                       ticker.Top < dialog.Bottom && dialog.Top < ticker.Bottom;
  if (!overlap)
    return std::nullopt;
  const int tickerHeight = ticker.Bottom - ticker.Top;
  const int tickerCentre2 = ticker.Top + ticker.Bottom; // twice the centre, exact
  const int dialogCentre2 = dialog.Top + dialog.Bottom;
  if (tickerCentre2 <= dialogCentre2)
    return dialog.Top - tickerHeight;
  return dialog.Top + (dialog.Bottom - dialog.Top) + 1;
}
