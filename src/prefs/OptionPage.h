#pragma once
// TOptionPage: the base of the option pages of the preferences dialog.
//
// A page is a borderless form docked into the dialog while its tab is
// selected. The dialog keeps to this order:
//  1. It creates the page through the factory registered for the tab (see
//     PrefPageRegistry.h) each time the tab is selected, docks and shows it,
//     then calls FormShow once: fill the controls there.
//  2. Before the tab is left or the dialog closes (OK, Cancel, Escape or the
//     close box) it asks FormCloseQuery; false keeps the page, its tab and the
//     dialog as they are (the page tells the user why).
//  3. It then calls FormClose once, whichever way the page is left (OK or
//     Cancel): write the controls back there (settings file, alert file, or
//     PendingDisplaySettings(), which the dialog applies on OK). Then it
//     deletes the page.
// DialogOKState() is true while the dialog is being closed with OK, so a page
// may settle open edits without asking. The handlers should catch their own
// errors; the dialog logs one that escapes and goes on.
#include <QWidget>

class TdlgPref;

class TOptionPage : public QWidget {
  Q_OBJECT

public:
  explicit TOptionPage(QWidget *parent = nullptr);
  ~TOptionPage() override;

  // ---- What a page overrides
  virtual void FormShow() {}
  virtual bool FormCloseQuery() { return true; }
  virtual void FormClose() {}

  // ---- The hosting dialog (nullptr for a page made without one)
  TdlgPref *PrefDialog() const { return m_dialog; }
  void SetPrefDialog(TdlgPref *dialog) { m_dialog = dialog; }

  // The dialog's services; without a dialog they do nothing (OK state false).
  bool DialogOKState() const;
  void ShowDialogProgress(int maximum);
  void StepDialogProgress();
  void HideDialogProgress();

private:
  TdlgPref *m_dialog = nullptr;
};
