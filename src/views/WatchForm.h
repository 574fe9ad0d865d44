#pragma once
// TwForm: the watch list window in its least form: a line of symbols
// ([Watch] Symbols of the settings file) and a quote grid of kind 2 in
// watch-list mode, refreshed when the quote store marks one of its symbols
// updated (set 2).
#include <QWidget>

#include <string>

class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class TStockGrid;

class TwForm : public QWidget {
  Q_OBJECT

public:
  static constexpr int TimerIntervalMs = 1000;

  // fontLabel and popup are the main window's (a label of its own is made
  // when fontLabel is null).
  TwForm(QLabel *fontLabel, QMenu *popup, QWidget *parent = nullptr);
  ~TwForm() override;

  QLineEdit *edSymbols = nullptr;
  TStockGrid *StockGrid = nullptr;
  QTimer *Timer1 = nullptr;

  // The watch list as blank-separated symbols.
  std::string WatchText() const;
  // Replaces the watch list, stores it and refreshes the grid. Symbols are
  // upper-cased, as the quote store and the ticker name them.
  void SetWatchText(const std::string &text);
  // Takes the grid and grid-line colours of the chosen colour scheme.
  void ApplyScheme();
  // The grid's symbols for the quote request (comma-separated).
  std::string GetWatchSymbols();
  // A refresh of the grid (TStockGrid::Refresh); when a fill is running it
  // starts when that ends.
  void Refresh();
  // Takes updated-symbol set 2 and fits the symbol column after a fill.
  void Timer1Timer();

protected:
  void showEvent(QShowEvent *event) override;

private:
  QLabel *m_ownLabel = nullptr;
  bool m_autoFit = true; // [Misc] AutoFit
  bool m_shownOnce = false;
};
