#pragma once
// TAlertDlg: the pop-up that activation opens for an alert with the pop-up
// action. It names the symbol and the triggering value and lets the user turn
// the alert off, disable, delete or edit it, or jump to a portfolio that holds
// the symbol. A closed pop-up frees itself.
#include "core/StandIns.h"

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
struct AlertPopupInfo;

class TAlertDlg : public TButtonForm {
  Q_OBJECT

public:
  static constexpr int FormWidth = 340;
  static constexpr int IconSize = 32;
  static constexpr int HelpContextId = 5;

  explicit TAlertDlg(QWidget *owner = nullptr);
  ~TAlertDlg() override;

  // ---- Controls (object names as the member names)
  QLabel *lbSymb = nullptr;  // symbol
  QLabel *lbPrice = nullptr; // triggering value
  QLabel *Image1 = nullptr;  // the alert icon
  QPushButton *pbTurnOff = nullptr;
  QPushButton *pbClear = nullptr; // Delete
  QLabel *lbDesc = nullptr;       // short description
  QPushButton *pbClose = nullptr; // leaves the alert active
  QPushButton *pbDisable = nullptr;
  QPushButton *pbEdit = nullptr;
  QLabel *lbName = nullptr; // the symbol's name line
  QPushButton *pbPortfolio = nullptr;
  QMenu *Pop = nullptr; // portfolios

  // ---- State
  std::string ID;                // the alert's ID (at most 6 characters)
  float Limit = 0;               // the alert's P1
  std::vector<std::string> Keys; // portfolio keys behind Pop's items, by item tag
  std::string HelpFile;
  int HelpContext = 0;

  // Copies what activation worked out into the controls and fields and fits
  // the window to its texts.
  void Fill(const AlertPopupInfo &info);
  // True once the pop-up was closed (it is then waiting to be freed).
  bool Closed() const { return m_closed; }

  // The pop-ups not yet closed, oldest first (window thread).
  static std::vector<TAlertDlg *> OpenDialogs();

  // ---- Handlers
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormKeyDown(int key, Qt::KeyboardModifiers shift);
  void pbTurnOffClick();
  void pbDisableClick();
  void pbClearClick();
  void pbCloseClick();
  void pbEditClick();
  void pbPortfolioMouseDown();
  void PopPopup();
  void PortfolioItemClick(int tag);

  // Where Pop opens: below the Portfolio button's left edge, in screen
  // coordinates.
  QPoint PortfolioMenuPoint() const;

protected:
  void showEvent(QShowEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  void reject() override; // Escape: the Close button

private:
  void BuildControls();
  void FitToContents();
  void ClearPopItems();
  // Runs a store action; reports a failure and returns false.
  bool Guarded(const char *place, const std::function<void()> &action);
  void SaveAlerts();

  bool m_closed = false;
};
