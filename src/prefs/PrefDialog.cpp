#include "prefs/PrefDialog.h"
#include "views/ViewStore.h"

#include "alerts/AlertEditRequest.h"
#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/IniFile.h"
#include "core/SaveFailureReport.h"
#include "prefs/ModalDialogCount.h"
#include "prefs/OptionPage.h"
#include "prefs/PrefPageRegistry.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QVBoxLayout>

#include <exception>
#include <functional>

int PrefPageNumber = 0;
bool PrefGoToPage = false;

namespace {

TdlgPref *g_openDialog = nullptr;

// Runs a page handler; an error that escapes it is reported and counts as done.
template <class Fn> auto Guarded(const char *place, Fn &&fn, decltype(fn()) failed) {
  try {
    return fn();
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), place);
  } catch (...) {
    ShowErrorReport("unknown error", place);
  }
  return failed;
}

} // namespace

TdlgPref::TdlgPref(QWidget *owner) : TdlgPref(owner, PrefPageRegistry()) {}

TdlgPref::TdlgPref(QWidget *owner, const TPrefPageRegistry &registry)
    : TButtonForm(owner), m_registry(registry) {
  Build();
}

TdlgPref::~TdlgPref() {
  PageControl->disconnect(this);
  // A page still docked (the owner went away) writes its values all the same.
  if (m_page) {
    TOptionPage *page = m_page;
    m_page = nullptr;
    Guarded(
        "Preferences FormClose",
        [&] {
          page->FormClose();
          return true;
        },
        false);
    delete page;
  }
  if (g_openDialog == this)
    g_openDialog = nullptr;
}

void TdlgPref::Build() {
  setObjectName(QStringLiteral("dlgPref"));
  setWindowTitle(QStringLiteral("Preferences"));
  setModal(true);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(0);

  PageControl = new QTabBar(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->setExpanding(false);
  PageControl->setDrawBase(true);
  for (const PrefPageEntry &entry : m_registry.Pages()) {
    const int tab = PageControl->addTab(QString::fromStdString(entry.Caption));
    PageControl->setTabData(tab, entry.PageNumber);
  }
  layout->addWidget(PageControl);

  PagePanel = new QWidget(this);
  PagePanel->setObjectName(QStringLiteral("PagePanel"));
  PagePanel->setMinimumSize(PageWidth, PageHeight);
  m_pageLayout = new QVBoxLayout(PagePanel);
  m_pageLayout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PagePanel, 1);

  auto *bottom = new QHBoxLayout();
  bottom->setContentsMargins(0, 6, 0, 0);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar->setTextVisible(false);
  ProgressBar->setRange(0, 100);
  ProgressBar->hide();
  bottom->addWidget(ProgressBar, 1);
  bottom->addStretch();
  pbOK = new QPushButton(QStringLiteral("OK"), this);
  pbOK->setObjectName(QStringLiteral("pbOK"));
  pbOK->setDefault(true);
  pbCancel = new QPushButton(QStringLiteral("Cancel"), this);
  pbCancel->setObjectName(QStringLiteral("pbCancel"));
  bottom->addWidget(pbOK);
  bottom->addWidget(pbCancel);
  layout->addLayout(bottom);

  connect(pbOK, &QPushButton::clicked, this, &TdlgPref::pbOKClick);
  connect(pbCancel, &QPushButton::clicked, this, &TdlgPref::pbCancelClick);
  connect(PageControl, &QTabBar::currentChanged, this, &TdlgPref::PageControlChange);
}

// ---- Showing

int TdlgPref::Execute() {
  TModalDialogScope modal;
  QPointer<TdlgPref> self(this);
  TdlgPref *previous = g_openDialog;
  g_openDialog = this;
  const int result = exec();
  if (self && g_openDialog == this)
    g_openDialog = previous;
  return result;
}

TdlgPref *TdlgPref::OpenDialog() { return g_openDialog; }

void TdlgPref::showEvent(QShowEvent *event) {
  TButtonForm::showEvent(event);
  if (!event->spontaneous())
    FormShow();
}

void TdlgPref::FormShow() {
  if (!m_page)
    BeginPendingDisplaySettings();
  int start = -1;
  if (!AlertEditRequest().Empty())
    start = TabOfPage(PrefPageAlerts);
  if (start < 0 && PrefGoToPage) {
    PrefGoToPage = false;
    start = TabOfPage(PrefPageNumber);
  }
  if (start < 0)
    start = m_page ? m_shownTab : 0;
  if (start >= PageControl->count())
    return;
  if (m_page && start == m_shownTab)
    return;
  if (m_page) {
    PageControl->setCurrentIndex(start); // through the close query
    return;
  }
  SetTabQuietly(start);
  OpenPage(start);
}

void TdlgPref::ReShow() {
  if (!AlertEditRequest().Empty())
    SelectPageNumber(PrefPageAlerts);
  raise();
  activateWindow();
}

// ---- Pages

int TdlgPref::TabOfPage(int pageNumber) const {
  for (int i = 0; i < PageControl->count(); ++i)
    if (PageControl->tabData(i).toInt() == pageNumber)
      return i;
  return -1;
}

int TdlgPref::CurrentPageNumber() const {
  const int tab = PageControl->currentIndex();
  return tab < 0 ? -1 : PageControl->tabData(tab).toInt();
}

bool TdlgPref::SelectPageNumber(int pageNumber) {
  const int tab = TabOfPage(pageNumber);
  if (tab < 0)
    return false;
  if (tab != PageControl->currentIndex())
    PageControl->setCurrentIndex(tab);
  else if (!m_page)
    OpenPage(tab);
  return m_shownTab == tab && m_page;
}

void TdlgPref::SetTabQuietly(int index) {
  m_quietTab = true;
  PageControl->setCurrentIndex(index);
  m_quietTab = false;
}

void TdlgPref::PageControlChange(int index) {
  if (m_quietTab)
    return;
  if (!ClosePage()) {
    SetTabQuietly(m_shownTab); // the page refused: its tab stays
    return;
  }
  OpenPage(index);
}

bool TdlgPref::ClosePage() {
  if (!m_page)
    return true;
  TOptionPage *page = m_page;
  if (!Guarded(
          "Preferences FormCloseQuery", [&] { return page->FormCloseQuery(); }, true))
    return false;
  m_page = nullptr;
  Guarded(
      "Preferences FormClose",
      [&] {
        page->FormClose();
        return true;
      },
      false);
  page->hide();
  delete page;
  return true;
}

void TdlgPref::OpenPage(int index) {
  m_shownTab = index;
  if (index < 0 || index >= PageControl->count())
    return;
  const PrefPageEntry *entry = m_registry.Find(PageControl->tabData(index).toInt());
  if (!entry)
    return;
  TOptionPage *page = Guarded(
      "Preferences CreatePage", [&] { return entry->Create(PagePanel); }, nullptr);
  if (!page)
    return;
  page->setParent(PagePanel, Qt::Widget); // docked, no border of its own
  page->SetPrefDialog(this);
  m_pageLayout->addWidget(page);
  m_page = page;
  page->show();
  Guarded(
      "Preferences FormShow",
      [&] {
        page->FormShow();
        return true;
      },
      false);
}

// ---- Progress bar

void TdlgPref::ShowProgress(int maximum) {
  ProgressBar->setRange(0, maximum > 0 ? maximum : 1);
  ProgressBar->setValue(0);
  ProgressBar->show();
  m_progressPacer.Start(ProgressBar->maximum());
}

void TdlgPref::StepProgress() {
  if (ProgressBar->value() < ProgressBar->maximum())
    ProgressBar->setValue(ProgressBar->value() + 1);
  if (m_progressPacer.Step(ProgressBar->value()))
    ProgressBar->repaint();
}

void TdlgPref::HideProgress() { ProgressBar->hide(); }

// ---- Closing

void TdlgPref::pbOKClick() {
  OKState = true;
  const bool closed = ClosePage();
  if (closed) {
    // The live time offset may have moved while the dialog was open.
    PendingDisplaySettings().DisplayTimeOffset = CurrentDisplaySettings().DisplayTimeOffset;
    ApplyPendingDisplaySettings();
    ApplyBulbClickSetting(CurrentDisplaySettings().SingleClick);
    CheckSettingsSave(WriteDisplaySettings(SettingsFile(), CurrentDisplaySettings()),
                      "the preferences");
    accept();
  }
  OKState = false;
}

void TdlgPref::pbCancelClick() { reject(); }

void TdlgPref::reject() {
  if (!ClosePage())
    return;
  TButtonForm::reject();
}

int ShowPreferences(QWidget *owner) {
  if (TdlgPref *open = TdlgPref::OpenDialog()) {
    open->ReShow();
    return -1;
  }
  // On the heap: the owner may go away while the dialog runs.
  QPointer<TdlgPref> dialog(new TdlgPref(owner));
  const int result = dialog->Execute();
  delete dialog.data();
  return result;
}
