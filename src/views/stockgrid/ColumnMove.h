#pragma once
// Moving a column of a view: the view's map is rewritten so that the dragged
// field lands before the field it was dropped on (or after the last one), and
// the dragged column's width goes with it.
#include "core/FieldTitles.h"

#include <array>
#include <vector>

// The highest view column a field can have.
constexpr int MaxViewColumn = 70;

// A view map the move can work on: the symbol field in column 0 and every
// other shown field in its own column 1..MaxViewColumn.
bool ValidViewMap(const std::array<int, GridFieldCount> &fieldCol);

// Moves sourceField to the place of targetField in the view map. When the
// target was the field in the drop column, the source lands just before it;
// when the drop column held none (the target is the field before it), just
// after it. False, with the map unchanged, when either field is the symbol
// or not shown, or the map is not valid.
bool MoveViewField(std::array<int, GridFieldCount> &fieldCol, int sourceField, int targetField,
                   bool targetInDropColumn);

// Grid column widths after a move of column dragCol to dropCol (the column it
// was dropped before): moving left the dragged width goes to dropCol and the
// columns between shift right; moving right to dropCol - 1 and they shift left.
// Columns outside the widths are left alone.
void CarryColumnWidths(std::vector<int> &widths, int dragCol, int dropCol);
