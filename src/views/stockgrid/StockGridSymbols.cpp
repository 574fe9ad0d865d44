// The symbol lists of a quote grid: the grid's own Symbols (one row each)
// and the comma-separated text of distinct symbols for the quote request.
#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/Portfolio.h"
#include "core/StockStore.h"
#include "core/StringRoutines.h"
#include "views/stockgrid/StockGrid.h"

#include <exception>

namespace {

bool Listed(const std::string &list, const std::string &symbol) {
  return list.find("," + symbol + ",") != std::string::npos;
}

// ",A,B," without its first character and, when any is left, its last.
std::string Finish(std::string list) {
  list.erase(0, 1);
  if (!list.empty())
    list.pop_back();
  return list;
}

} // namespace

void TStockGrid::GetWatchSymbols(std::string &List) {
  List = ",";
  try {
    LoadSymbolTable(WatchSymbols);
    Symbols.Clear();
    for (const TWatchEntry &entry : WatchTable()) {
      try {
        Symbols.Add(entry.Symbol);
        if (entry.Symbol.empty() || IsAllDashes(entry.Symbol) || Listed(List, entry.Symbol))
          continue;
        List += entry.Symbol + ",";
      } catch (const std::exception &e) {
        if (LoggingOn)
          WriteLog(std::string("GETWATCH ERROR: ") + e.what(), 0);
      }
    }
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), "GetWatch");
  }
  List = Finish(List);
}

void TStockGrid::GetPortfolioSymbols(std::string &List) {
  List = ",";
  try {
    if (CurrentPortfolio.load() < 1) {
      Symbols.Clear();
      PortfolioKey.clear();
      List = "MSFT,";
      return;
    }
    MyLockGuard port(PortListLock, "GETP", true);
    if (!port.Owns()) {
      // Keep the rows shown; the caller asks again later.
      List.clear();
      return;
    }
    Symbols.Clear();
    PortfolioKey.clear();
    // An index outside the list shows nothing.
    if (const PortType *portfolio = PortfolioList.At(PortfolioIndex)) {
      PortfolioKey = portfolio->Key;
      for (const PortPosition &position : portfolio->Positions) {
        const std::string &symbol = position.Symbol;
        Symbols.Add(symbol);
        if (Listed(List, symbol))
          continue;
        const char first = symbol.empty() ? '\0' : symbol[0];
        const bool plain = first == '.' || (first >= 'A' && first <= 'Z');
        if (plain || (!symbol.empty() && !IsAllDashes(symbol) && !IsCashSymbol(symbol)))
          List += symbol + ",";
      }
    }
  } catch (const std::exception &e) {
    if (LoggingOn)
      WriteLog(std::string("SGGETPORT ERROR: ") + e.what(), 0);
  }
  List = Finish(List);
}
