#pragma once
// The print dialog's grid: an invisible quote grid (kind 3) with its own
// font label and its own copy of the view, filled from a portfolio and never
// shown. The printing code reads its cells once the fill has ended.
#include "views/ViewRecord.h"

#include <QLabel>
#include <memory>

class TStockGrid;

class TPrintGrid {
public:
  // A grid for portfolio index (1-based) laid out from view.
  TPrintGrid(const ViewRecord &view, int portfolioIndex);
  ~TPrintGrid();
  TPrintGrid(const TPrintGrid &) = delete;
  TPrintGrid &operator=(const TPrintGrid &) = delete;

  TStockGrid &Grid() { return *m_grid; }
  ViewRecord &View() { return m_view; }
  QLabel &FontLabel() { return *m_label; }

  // Takes the portfolio's symbols and starts a fill; false when one runs.
  bool Fill();
  bool Filling() const;

private:
  ViewRecord m_view;
  std::unique_ptr<QLabel> m_label;
  std::unique_ptr<TStockGrid> m_grid; // goes first: it refers to the label and the view
};

std::unique_ptr<TPrintGrid> CreatePrintGrid(const ViewRecord &view, int portfolioIndex);
