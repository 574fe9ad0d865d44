#pragma once
// TmForm: the main window in its least form. It shows one portfolio of the
// portfolio list in the quote grid (kind 1), lets the user pick the
// portfolio, the view and the colour scheme, refreshes the grid when the
// quote store marks a shown symbol updated (set 1), and runs the 500 ms
// heartbeat that other subsystems hook into.
#include <QMainWindow>

#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QMenu;
class QTimer;
class TStockGrid;
class TProgramServices;
class TwForm;
class TfrmNewTick;

class TmForm : public QMainWindow {
  Q_OBJECT

public:
  // Timings (milliseconds); tests may change the timers' intervals.
  static constexpr int HeartbeatIntervalMs = 500;
  static constexpr int DefaultRefreshSeconds = 5; // [Bourse] GridRefresh

  // Reads the colour schemes, [Bourse] Scheme, the display settings ([Misc])
  // and the views from the settings file, then builds the window and its
  // grid. The portfolio list is expected to be loaded already.
  explicit TmForm(QWidget *parent = nullptr);
  ~TmForm() override;

  // ---- Controls (object names as the member names)
  QWidget *GridPanel = nullptr;
  QLabel *lbFont = nullptr; // hidden; carries the view font for measuring
  QMenu *STPopup = nullptr; // the grid's pop-up menu
  QComboBox *cbPortfolio = nullptr;
  QMenu *mnView = nullptr;
  QMenu *mnScheme = nullptr;
  // The status bar's permanent part: the totals of the portfolios the last
  // fills showed. Temporary status messages (menu hints) leave it alone.
  QLabel *lbTotal = nullptr;
  QTimer *Timer1 = nullptr; // refresh of updated symbols
  QTimer *Timer2 = nullptr; // heartbeat
  TStockGrid *StockGrid = nullptr;

  // ---- Operations
  // Shows portfolio index (1-based; below 1 none) in the grid. While the
  // portfolio list is busy the shown one stays and each heartbeat asks again.
  void ShowPortfolio(int index);
  // Asks the grid for a refresh (TStockGrid::Refresh); when a fill is
  // running it starts when that ends.
  void RefreshGrid();
  // A refresh, its re-sort or a refused fill is still to come.
  bool RefreshPending() const;
  // Rebuilds the portfolio choices from the portfolio list.
  void FillPortfolioChoices();
  // Chooses colour scheme number (1-based) and stores it in [Bourse] Scheme.
  void SelectScheme(int number);
  // Makes stored view index (0-based) the current view and lays the grid out.
  void SelectViewIndex(int index);

  // The heartbeat: GridNow, the updated-portfolios text, pending refreshes
  // and column fits, then the hooks.
  void Timer2Timer();
  // The refresh timer: takes updated-symbol set 1 and refreshes the grid
  // when it names a shown symbol.
  void Timer1Timer();
  // Called at the end of every heartbeat (alert activation and the like).
  void AddHeartbeatHook(std::function<void()> hook);

  // ---- Commands of the menus and the grid's pop-up menu
  // The symbol in focus: the highlighted row's, else the current row's.
  std::string FocusedSymbol() const;
  // Opens the news window at the symbol in focus.
  void PopSeeNewsClick();
  // '!' asks to create an alert for the symbol in focus, '~' to edit its
  // alerts; then opens the preferences dialog.
  void PopAlertsAction(char action);
  // The grid the shared pop-up menu was last opened on (the main grid
  // before any), and the symbol of the row it was opened on ("" for no
  // symbol row). The pop-up's commands act on these.
  TStockGrid *PopupGrid() const;
  std::string PopupSymbol() const;
  // The pop-up's Refresh: refreshes the grid it was opened on.
  void PopupRefreshClick();
  // Turns off the active alerts of the symbol in focus.
  void PopTurnOffAlertsClick();
  void OpenPreferences();
  void ShowWatchList();
  void ShowTicker();
  // The background services (alert threads and pop-ups); null before the
  // window was first shown.
  TProgramServices *Services() const { return m_services.get(); }

  // Portfolio keys the last heartbeat took from the updated-portfolios text.
  const std::vector<std::string> &LastUpdatedPortfolios() const { return m_updatedPortfolios; }

protected:
  void showEvent(QShowEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

private:
  void BuildMenus();
  void BuildCommandMenus();
  void OpenNewsFor(const std::string &symbol);
  void AlertsActionFor(char action, const std::string &symbol);
  void StartServices();
  void GridMouseDown(int X, int Y);
  void ShowPortfolioTotals(const std::vector<std::string> &keys);
  // Takes updated-symbol set 1 and refreshes the grid when it names a shown symbol.
  void RefreshUpdatedSymbols();

  bool m_autoFit = true; // [Misc] AutoFit
  bool m_shownOnce = false;
  bool m_filling = false; // the portfolio choices are being rebuilt
  // A portfolio chosen while the portfolio list was busy; shown at a heartbeat.
  std::optional<int> m_pendingPortfolio;
  std::vector<std::string> m_updatedPortfolios;
  std::vector<std::function<void()>> m_heartbeatHooks;
  std::unique_ptr<TProgramServices> m_services;
  QPointer<TwForm> m_watchForm;
  QPointer<TfrmNewTick> m_ticker;
};
