#include "core/SmallGraph.h"

#include "core/StockStore.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

std::vector<TPoint> SmallGraphPoints(const std::vector<double> &prices, const TRect &rect) {
  std::vector<TPoint> points;
  const TRect area = rect.Inflate(-1, -1);
  if (prices.size() < 2 || area.Width() < 2 || area.Height() < 2)
    return points;
  const auto [lo, hi] = std::minmax_element(prices.begin(), prices.end());
  const double low = *lo, range = *hi - *lo;
  const int columns = area.Width();
  const int bottom = area.Bottom - 1;
  const int height = area.Height() - 1;
  auto yOf = [&](double price) {
    if (range <= 0)
      return area.Top + height / 2;
    return bottom - int(std::lround((price - low) / range * height));
  };
  const std::size_t n = prices.size();
  // Fewer prices than columns: spread them over the width; more: the last
  // price that falls into each column.
  if (n <= std::size_t(columns)) {
    for (std::size_t i = 0; i < n; ++i) {
      const int x = area.Left + int(std::lround(double(i) * (columns - 1) / double(n - 1)));
      points.push_back(TPoint(x, yOf(prices[i])));
    }
  } else {
    for (int c = 0; c < columns; ++c) {
      const std::size_t last = std::size_t(double(c + 1) * double(n) / columns) - 1;
      points.push_back(TPoint(area.Left + c, yOf(prices[std::min(last, n - 1)])));
    }
  }
  return points;
}

bool DrawSmallGraph(const std::string &symbol, TCanvas &canvas, const TRect &rect, int /*mode*/,
                    const SmallGraphColors &colors) {
  const TPen pen = canvas.Pen();
  const TBrush brush = canvas.Brush();
  struct Restore {
    TCanvas &c;
    const TPen &pen;
    const TBrush &brush;
    ~Restore() {
      c.Pen() = pen;
      c.Brush() = brush;
    }
  } restore{canvas, pen, brush};

  canvas.Brush() = TBrush{};
  canvas.Brush().Color = colors.Back;
  canvas.FillRect(rect);

  std::vector<double> prices;
  StockInfoType *rec = IsCashSymbol(symbol) ? nullptr : FindStoreRecord(symbol);
  if (!rec)
    return false;
  {
    MyLockGuard ticks(rec->Ticks.LockObject(), "SGRPH", true);
    if (!ticks.Owns())
      return false;
    prices.reserve(rec->Ticks.Entries().size());
    for (const TickEntry &t : rec->Ticks.Entries())
      if (t.Last > 0)
        prices.push_back(t.Last);
  }
  const std::vector<TPoint> points = SmallGraphPoints(prices, rect);
  if (points.empty())
    return false;

  std::vector<TPoint> area = points;
  const int base = rect.Bottom - 1;
  area.push_back(TPoint(points.back().X, base));
  area.push_back(TPoint(points.front().X, base));
  canvas.Brush().Color = colors.Fill;
  canvas.FillPolygon(area);
  canvas.Pen() = TPen{colors.Pen, 1, psSolid, pmCopy};
  canvas.Polyline(points);
  canvas.SetPixel(points.back().X, points.back().Y, colors.Pen); // a line leaves out its end
  return true;
}
