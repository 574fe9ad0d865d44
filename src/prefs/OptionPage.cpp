#include "prefs/OptionPage.h"

#include "prefs/PrefDialog.h"

TOptionPage::TOptionPage(QWidget *parent) : QWidget(parent) {}

TOptionPage::~TOptionPage() = default;

bool TOptionPage::DialogOKState() const { return m_dialog && m_dialog->OKState; }

void TOptionPage::ShowDialogProgress(int maximum) {
  if (m_dialog)
    m_dialog->ShowProgress(maximum);
}

void TOptionPage::StepDialogProgress() {
  if (m_dialog)
    m_dialog->StepProgress();
}

void TOptionPage::HideDialogProgress() {
  if (m_dialog)
    m_dialog->HideProgress();
}
