#include "views/stockgrid/GridDragObject.h"

#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <algorithm>

SGridCellDragObject::SGridCellDragObject(TStockGrid *source, int dragCol, int gridKind)
    : TDragObject(source), GridKindText(std::to_string(gridKind).substr(0, GridKindTextMax)),
      DragCol(dragCol), m_grid(source) {
  if (!source)
    return;
  // The title cell grown by one pixel on every side, held at the mouse point.
  constexpr int grow = 1;
  const QPixmap picture = source->CellPicture(dragCol, 0, grow);
  if (!picture.isNull()) {
    const TRect cell = source->CellRect(dragCol, 0);
    const int x = std::clamp(source->MouseDownX - cell.Left + grow, 0, picture.width() - 1);
    const int y = std::clamp(source->MouseDownY - cell.Top + grow, 0, picture.height() - 1);
    SetDragImage(picture, QPoint(x, y));
  }
}

bool SGridCellDragObject::ShowDragImage() const { return !HideDragImage; }
