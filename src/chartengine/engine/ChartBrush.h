#pragma once
#include "platform/Canvas.h"

#include <functional>

// The brush of a series part (bars, areas, pies): a platform brush whose
// changes are reported to the owner's handler. Its colour starts automatic
// (clTeeColor): the part then takes the point or series colour.
class TChartBrush {
public:
  explicit TChartBrush(std::function<void()> onChange = {});
  TChartBrush(const TChartBrush &) = delete;
  TChartBrush &operator=(const TChartBrush &) = delete;

  // Copies colour, style and picture; one notification when anything changed.
  void Assign(const TChartBrush &source);

  TColor Color() const { return m_brush.Color; }
  void SetColor(TColor value);
  TBrushStyle Style() const { return m_brush.Style; }
  void SetStyle(TBrushStyle value);
  const std::shared_ptr<const QImage> &Bitmap() const { return m_brush.Bitmap; }
  void SetBitmap(std::shared_ptr<const QImage> value);

  const TBrush &Brush() const { return m_brush; }
  void SetOnChange(std::function<void()> fn) { m_onChange = std::move(fn); }

private:
  void Changed();

  TBrush m_brush;
  std::function<void()> m_onChange;
};
