#pragma once
// TOQuickAlerts: the "Quick Alerts" page of the preferences dialog. It lists
// the stock symbols of one portfolio (or of all) in a grid with four quick
// alert columns: low and high price limits, a news flag and a volume limit.
// Typing a value creates the symbol's alert of that kind, changing it updates
// the alert and clearing it deletes the alert; only the first alert of each
// kind per symbol is shown. The rows are applied to the alert store when
// another portfolio is chosen and when the page closes, which also writes
// ALERTS.DAT.
#include "alerts/pages/QuickAlertsPageModel.h"
#include "platform/Rect.h"
#include "platform/StringGridTypes.h"
#include "prefs/OptionPage.h"

#include <string>

class QLabel;
class QListWidget;
class TStringAlignGrid;

class TOQuickAlerts : public TOptionPage {
  Q_OBJECT

public:
  static constexpr int GridRowHeight = 16;

  explicit TOQuickAlerts(QWidget *parent = nullptr);
  ~TOQuickAlerts() override;

  // ---- Controls (object names as the member names)
  QListWidget *lbPorts = nullptr;
  TStringAlignGrid *tbAlerts = nullptr;

  // ---- TOptionPage
  void FormShow() override;
  void FormClose() override;

  // ---- Operations
  void lbPortsClick();
  // Applies the rows shown to the alert store; true.
  bool SaveQuickAlerts();

  // The list entry whose rows are shown (-1: none). It outlives the page, so
  // that the page reopens on the portfolio shown last.
  static int &ShownPortfolio();

  // ---- Grid events
  void tbAlertsBeforeEdit(int ACol, int ARow);
  void tbAlertsAfterEdit(int ACol, int ARow);
  void tbAlertsSetEditText(int ACol, int ARow, const std::string &Value);
  void tbAlertsMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void tbAlertsDrawCell(int ACol, int ARow, const TRect &Rect, TGridDrawState State);
  void tbAlertsTopLeftChanged();

  // ---- State, for tests
  int LastEditCol() const { return m_lastEditCol; }
  int LastEditRow() const { return m_lastEditRow; }
  const TQuickAlertsModel &Model() const { return m_model; }

protected:
  void resizeEvent(QResizeEvent *event) override;

private:
  struct PendingEdit {
    std::string Text;
    int Col = -1; // -1: none
    int Row = -1;
  };

  void BuildControls();
  void SetUpGrid();
  void SizeColumns();
  void FillGrid(int entry);

  TQuickAlertsModel m_model;
  int m_lastEditCol = -1;
  int m_lastEditRow = -1;
  PendingEdit m_pending;
};
