#pragma once
// The column map of a quote grid: the grid column of each of the 45 fields
// (-1 hidden), derived from a view's map by removing the fields the grid
// cannot show.
#include "core/FieldTitles.h"

#include <array>
#include <string>
#include <vector>

using TColumnMap = std::array<int, GridFieldCount>;

// The position fields a watch list cannot show, in the order they are removed.
constexpr std::array<int, 9> WatchModeRemovedFields = {
    gfValueChangeDollar, gfGainDollar, gfGainPct, gfQuantity, gfValue, gfPaid, gfGain,
    gfPctPort,           gfNote};

// Hides a shown field: every column to its right moves one column left.
void RemoveShownField(TColumnMap &map, int field);

// The view's map (entries below 0 hidden) without the position fields in
// watch-list mode and without the optional site fields (OptionalSiteFields)
// that providedKeys (upper-case view keys) leaves out.
TColumnMap BuildColumnMap(const TColumnMap &viewMap, bool watchMode,
                          const std::vector<std::string> &providedKeys);

// Number of shown fields.
int ShownFieldCount(const TColumnMap &map);
// The field shown in a column, -1 when none.
int FieldAtColumn(const TColumnMap &map, int col);
