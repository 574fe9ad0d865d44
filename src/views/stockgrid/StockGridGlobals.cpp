#include "views/stockgrid/StockGridGlobals.h"

#include "core/CommandLine.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "views/stockgrid/ColorScheme.h"

TDateTime GridNow = 0;
TGridKindTable<int> SavedSortCol(-1);
TGridKindTable<bool> SavedSortDown(false);
TGridRowTable<bool> NewsRows;
TGridRowTable<TDateTime> NewsRowTimes;
TGridRowTable<TAlertRowState> AlertRows;
TStockGrid *DragSourceGrid = nullptr;
TStockGrid *LastClickedGrid = nullptr;
bool HideDragImage = false;
TGridPopupSource GridPopupSource;

void InitStockGridUnit() {
  static bool done = false;
  if (done)
    return;
  done = true;
  if (LoggingOn)
    WriteLog("StrGrid Init", 0);
  CurrentSchemeNumber = 1;
  GridNow = EasternNow();
}

bool GridDebugTracing() { return CommandLine().Debug; }
