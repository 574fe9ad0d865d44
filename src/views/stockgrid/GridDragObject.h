#pragma once
// SGridCellDragObject: what a column drag of a quote grid carries: the kind
// of grid it started in (only grids of that kind take the drop), the dragged
// column, the source grid (held weakly, so that a closed grid can't dangle)
// and a picture of the dragged title cell.
#include "platform/DragManager.h"

#include <QPointer>
#include <string>

class TStockGrid;

class SGridCellDragObject final : public TDragObject {
public:
  static constexpr std::size_t GridKindTextMax = 10;

  SGridCellDragObject(TStockGrid *source, int dragCol, int gridKind);

  std::string GridKindText; // the decimal grid kind, at most 10 characters
  int DragCol = -1;
  TStockGrid *SourceGrid() const { return m_grid.data(); }

  // No picture while HideDragImage is set (over the dragged column itself).
  bool ShowDragImage() const override;

private:
  QPointer<TStockGrid> m_grid;
};
