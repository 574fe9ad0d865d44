// The symbol lists of a quote grid: the grid's own Symbols (one row each)
// and the comma-separated text of distinct symbols for the quote request.
#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/Portfolio.h"
#include "core/StockStore.h"
#include "core/StringRoutines.h"
#include "views/stockgrid/StockGrid.h"

#include <exception>
#include <unordered_set>

namespace {

// The request text ",A,B," being built. "Already listed" means the symbol
// enclosed in commas occurs in the text; a set of the listed symbols answers
// that without searching the text, unless a comma inside a symbol makes the
// text the only judge.
class SymbolListText {
public:
  explicit SymbolListText(std::string &list) : m_list(list) {}

  bool Listed(const std::string &symbol) const {
    if (m_commas || symbol.find(',') != std::string::npos)
      return m_list.find("," + symbol + ",") != std::string::npos;
    return m_listed.count(symbol) != 0;
  }
  void Append(const std::string &symbol) {
    m_list += symbol;
    m_list += ',';
    m_listed.insert(symbol);
    m_commas = m_commas || symbol.find(',') != std::string::npos;
  }

private:
  std::string &m_list;
  std::unordered_set<std::string> m_listed;
  bool m_commas = false;
};

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
    SymbolListText listed(List);
    for (const TWatchEntry &entry : WatchTable()) {
      try {
        Symbols.Add(entry.Symbol);
        if (entry.Symbol.empty() || IsAllDashes(entry.Symbol) || listed.Listed(entry.Symbol))
          continue;
        listed.Append(entry.Symbol);
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

bool TStockGrid::GetPortfolioSymbols(std::string &List) {
  List = ",";
  try {
    if (CurrentPortfolio.load() < 1) {
      Symbols.Clear();
      PortfolioKey.clear();
      List = "MSFT,";
      return true;
    }
    MyLockGuard port(PortListLock, "GETP", true);
    if (!port.Owns()) {
      // Keep the rows shown; the caller asks again later.
      List.clear();
      return false;
    }
    Symbols.Clear();
    PortfolioKey.clear();
    // An index outside the list shows nothing.
    if (const PortType *portfolio = PortfolioList.At(PortfolioIndex)) {
      PortfolioKey = portfolio->Key;
      SymbolListText listed(List);
      for (const PortPosition &position : portfolio->Positions) {
        const std::string &symbol = position.Symbol;
        Symbols.Add(symbol);
        if (listed.Listed(symbol))
          continue;
        const char first = symbol.empty() ? '\0' : symbol[0];
        const bool plain = first == '.' || (first >= 'A' && first <= 'Z');
        if (plain || (!symbol.empty() && !IsAllDashes(symbol) && !IsCashSymbol(symbol)))
          listed.Append(symbol);
      }
    }
  } catch (const std::exception &e) {
    if (LoggingOn)
      WriteLog(std::string("SGGETPORT ERROR: ") + e.what(), 0);
  }
  List = Finish(List);
  return true;
}
