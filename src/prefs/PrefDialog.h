#pragma once
// TdlgPref: the preferences dialog. It shows one tab per registered option
// page (PrefPageRegistry.h) and docks the selected page's form below the
// tabs. A page's form is created when its tab is selected; leaving the tab or
// closing the dialog asks the page's FormCloseQuery (a refusal keeps the tab
// and the dialog) and then closes it (FormClose) and deletes it.
//
// It is shown modally with Execute (ShowPreferences opens it, or re-shows the
// one already open). While shown it raises ModalDialogCount(). On showing it
// starts at the Alerts tab when AlertEditRequest() holds a request, else at
// PrefPageNumber when PrefGoToPage is set (the flag is then cleared), else at
// the first tab. It keeps the pending copy of the display settings
// (PendingDisplaySettings(), begun when shown) and, on OK, applies it and
// stores it in the settings file (sections "Misc", "News" and "ExNews").
#include "core/StandIns.h"
#include "prefs/ProgressPacer.h"

#include <string>

class QProgressBar;
class QPushButton;
class QTabBar;
class QVBoxLayout;
class TOptionPage;
class TPrefPageRegistry;

// The page the dialog opens at when PrefGoToPage is set (PrefPageNews and so on).
extern int PrefPageNumber;
extern bool PrefGoToPage;

class TdlgPref : public TButtonForm {
  Q_OBJECT

public:
  static constexpr int PageWidth = 601; // the option pages' size
  static constexpr int PageHeight = 453;

  explicit TdlgPref(QWidget *owner = nullptr);
  // With another registry (tests).
  TdlgPref(QWidget *owner, const TPrefPageRegistry &registry);
  ~TdlgPref() override;

  // ---- Controls (object names as the member names)
  QTabBar *PageControl = nullptr; // one tab per page; tab data = page number
  QWidget *PagePanel = nullptr;   // the selected page is docked here
  QProgressBar *ProgressBar = nullptr;
  QPushButton *pbOK = nullptr;
  QPushButton *pbCancel = nullptr;

  // True while the dialog is being closed with OK.
  bool OKState = false;

  // Shows the dialog modally and returns QDialog::Accepted or Rejected.
  int Execute();
  // The dialog that Execute is running, or nullptr.
  static TdlgPref *OpenDialog();

  // ---- Pages
  TOptionPage *CurrentPage() const { return m_page; }
  int CurrentPageNumber() const; // -1 without a tab
  // Selects the page's tab (through the close query of the page shown).
  // False when there is no such page or the page shown refused to close.
  bool SelectPageNumber(int pageNumber);
  // Chooses the start page (see above); runs when the dialog is shown.
  void FormShow();
  // For a dialog already shown: switches to the Alerts tab when an alert
  // edit request waits, and brings the dialog to the front.
  void ReShow();

  // ---- Progress bar for a page that loads for a while
  void ShowProgress(int maximum);
  // One step; repainted at once when the pacer says so (ProgressPacer.h),
  // always at the last step.
  void StepProgress();
  void HideProgress();

  // ---- Handlers
  void pbOKClick();
  void pbCancelClick();
  void PageControlChange(int index);
  // Cancel, Escape and the close box: closes unless the page refuses.
  void reject() override;

protected:
  void showEvent(QShowEvent *event) override;

private:
  void Build();
  // Asks the page shown to close, closes and deletes it. False when it refused.
  bool ClosePage();
  void OpenPage(int index);
  int TabOfPage(int pageNumber) const;
  void SetTabQuietly(int index);

  const TPrefPageRegistry &m_registry;
  TOptionPage *m_page = nullptr;
  QVBoxLayout *m_pageLayout = nullptr;
  int m_shownTab = -1;     // the tab whose page is docked
  bool m_quietTab = false; // the tab bar is being set by the dialog itself
  TProgressPacer m_progressPacer;
};

// Opens the preferences dialog over owner and returns when it closes; when
// one is already open, re-shows it (ReShow) and returns at once with -1.
int ShowPreferences(QWidget *owner);
