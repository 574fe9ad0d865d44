#include "views/stockgrid/StockGridGlobals.h"

#include "core/MarketTime.h"

TDateTime GridNow = 0;
TGridKindTable<int> SavedSortCol(-1);
TGridKindTable<bool> SavedSortDown(false);
TGridRowTable<bool> NewsRows;
TGridRowTable<TDateTime> NewsRowTimes;
TGridRowTable<TAlertRowState> AlertRows;
TStockGrid *DragSourceGrid = nullptr;
TStockGrid *LastClickedGrid = nullptr;
bool HideDragImage = false;
