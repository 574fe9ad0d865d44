#include "views/PrintGrid.h"

#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"

TPrintGrid::TPrintGrid(const ViewRecord &view, int portfolioIndex)
    : m_view(view), m_label(std::make_unique<QLabel>(QStringLiteral("A"))),
      m_grid(std::make_unique<TStockGrid>()) {
  m_grid->GridKind = gkPrintGrid;
  m_grid->MeasureLabel = m_label.get();
  m_grid->View = &m_view;
  m_grid->PortfolioIndex = portfolioIndex;
  m_grid->ResetRowCount = true;
  m_grid->ApplyView(false);
}

TPrintGrid::~TPrintGrid() { m_grid.reset(); }

bool TPrintGrid::Fill() {
  std::string list;
  m_grid->GetPortfolioSymbols(list);
  return m_grid->ShowStocks("");
}

bool TPrintGrid::Filling() const { return m_grid->FillRunning(); }

std::unique_ptr<TPrintGrid> CreatePrintGrid(const ViewRecord &view, int portfolioIndex) {
  return std::make_unique<TPrintGrid>(view, portfolioIndex);
}
