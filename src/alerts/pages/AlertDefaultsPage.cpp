#include "alerts/pages/AlertDefaultsPage.h"

#include "alerts/AlertNames.h"
#include "alerts/EMailRecord.h"
#include "alerts/pages/AlertDefaultsPageRules.h"
#include "alerts/pages/WaveFileDialog.h"
#include "core/AlertDefaults.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/SaveFailureReport.h"
#include "platform/Prompt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>

namespace {

template <class W> W *Named(W *widget, const char *name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QString Q(const std::string &text) { return QString::fromStdString(text); }

void ReportError(const std::string &message) {
  MessageDlg(message, QCoreApplication::applicationName().toStdString(), mtError, mbOK);
}

} // namespace

TOPanAlertDefs::TOPanAlertDefs(QWidget *parent) : TOptionPage(parent) {
  setObjectName(QStringLiteral("OPanAlertDefs"));
  BuildControls();
}

TOPanAlertDefs::~TOPanAlertDefs() = default;

void TOPanAlertDefs::BuildControls() {
  auto *page = new QVBoxLayout(this);

  auto *group = new QGroupBox(QStringLiteral("Defaults for New Alerts"), this);
  auto *grid = new QGridLayout(group);
  cbAlertPop = Named(new QCheckBox(QStringLiteral("Popup Alert"), group), "cbAlertPop");
  cbAlertFlash = Named(new QCheckBox(QStringLiteral("Flash Window"), group), "cbAlertFlash");
  cbHRAlert = Named(new QCheckBox(QStringLiteral("Highlight Row"), group), "cbHRAlert");
  cbAlertAudio = Named(new QCheckBox(QStringLiteral("Audio"), group), "cbAlertAudio");
  grid->addWidget(cbAlertPop, 0, 0);
  grid->addWidget(cbAlertFlash, 0, 1);
  grid->addWidget(cbHRAlert, 0, 2);
  grid->addWidget(cbAlertAudio, 1, 0);

  rbSystem = Named(new QRadioButton(QStringLiteral("Standard:"), group), "rbSystem");
  rbCustom = Named(new QRadioButton(QStringLiteral("Custom:"), group), "rbCustom");
  auto *sounds = new QButtonGroup(group);
  sounds->addButton(rbSystem);
  sounds->addButton(rbCustom);
  cmbAlertStandard = Named(new QComboBox(group), "cmbAlertStandard");
  for (const std::string &name : StandardSoundNames())
    cmbAlertStandard->addItem(Q(name));
  pbTest = Named(new QPushButton(QStringLiteral("&Test"), group), "pbTest");
  dfWaveFile = Named(new QLineEdit(group), "dfWaveFile");
  pbWaveFile = Named(new QPushButton(QStringLiteral("---"), group), "pbWaveFile");
  pbWaveFile->setFixedWidth(pbWaveFile->fontMetrics().horizontalAdvance(QStringLiteral("----")) +
                            16);
  grid->addWidget(rbSystem, 2, 0);
  grid->addWidget(cmbAlertStandard, 2, 1);
  grid->addWidget(pbTest, 2, 2, Qt::AlignLeft);
  auto *wave = new QHBoxLayout();
  wave->addWidget(dfWaveFile, 1);
  wave->addWidget(pbWaveFile);
  grid->addWidget(rbCustom, 3, 0);
  grid->addLayout(wave, 3, 1, 1, 2);

  auto *emailLabel = new QLabel(QStringLiteral("EMail Alert"), group);
  cmbEMail = Named(new QComboBox(group), "cmbEMail");
  emailLabel->setBuddy(cmbEMail);
  grid->addWidget(emailLabel, 4, 0);
  grid->addWidget(cmbEMail, 4, 1, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  page->addWidget(group);

  cbAutoSave =
      Named(new QCheckBox(QStringLiteral("Auto-Save when Editing Alerts"), this), "cbAutoSave");
  page->addWidget(cbAutoSave);

  auto *threshold = new QHBoxLayout();
  auto *thresholdLabel = new QLabel(QStringLiteral("Duplicate Alert Threshold:"), this);
  dfAlertTime = Named(new QLineEdit(this), "dfAlertTime");
  dfAlertTime->setMaxLength(ThresholdMaxLength);
  dfAlertTime->setFixedWidth(dfAlertTime->fontMetrics().horizontalAdvance(QStringLiteral("0000")) +
                             12);
  thresholdLabel->setBuddy(dfAlertTime);
  threshold->addWidget(thresholdLabel);
  threshold->addWidget(dfAlertTime);
  threshold->addWidget(new QLabel(QStringLiteral("minutes"), this));
  threshold->addStretch(1);
  page->addLayout(threshold);
  page->addStretch(1);

  connect(cbAlertAudio, &QCheckBox::clicked, this, &TOPanAlertDefs::cbAlertAudioClick);
  connect(rbSystem, &QRadioButton::clicked, this, &TOPanAlertDefs::rbSystemClick);
  connect(rbCustom, &QRadioButton::clicked, this, &TOPanAlertDefs::rbCustomClick);
  connect(pbWaveFile, &QPushButton::clicked, this, &TOPanAlertDefs::pbWaveFileClick);
  connect(pbTest, &QPushButton::clicked, this, &TOPanAlertDefs::pbTestClick);
  dfAlertTime->installEventFilter(this);
}

bool TOPanAlertDefs::eventFilter(QObject *watched, QEvent *event) {
  // Leaving the field, not the window (a message box or another program), is an exit.
  if (watched == dfAlertTime && event->type() == QEvent::FocusOut && !m_closed) {
    const auto reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      dfAlertTimeExit();
  }
  return TOptionPage::eventFilter(watched, event);
}

// ---- Showing and closing -----------------------------------------------------------

void TOPanAlertDefs::FormShow() {
  const TAlertDefaults d = CurrentAlertDefaults();
  cbAlertPop->setChecked(d.Popup);
  cbAlertFlash->setChecked(d.Flash);
  cbHRAlert->setChecked(d.HighRow);
  cbAlertAudio->setChecked(d.Audio);
  rbSystem->setChecked(d.ASystem);
  rbCustom->setChecked(d.ACustom);
  cbAutoSave->setChecked(d.AutoSave);
  m_system = d.System;
  cmbAlertStandard->setCurrentIndex(d.System >= 0 && d.System < cmbAlertStandard->count() ? d.System
                                                                                          : -1);
  dfWaveFile->setText(Q(d.Custom));
  dfAlertTime->setText(QString::number(d.Length));

  cmbEMail->clear();
  cmbEMail->addItem(QString::fromLatin1(NoEmailAlertEntry));
  const EMailSetupList &setups = EMailSetups();
  for (int i = 0; i < setups.Count(); ++i)
    cmbEMail->addItem(Q(setups.Name(i)));
  cmbEMail->setCurrentIndex(TemplateEntryOfID(setups, d.DEFEML));
  ApplyEnabling();
}

void TOPanAlertDefs::FormClose() {
  m_closed = true;
  try {
    TAlertDefaults d = CurrentAlertDefaults();
    d.Popup = cbAlertPop->isChecked();
    d.Flash = cbAlertFlash->isChecked();
    d.AutoSave = cbAutoSave->isChecked();
    d.Audio = cbAlertAudio->isChecked();
    d.HighRow = cbHRAlert->isChecked();
    d.ASystem = rbSystem->isChecked();
    d.ACustom = rbCustom->isChecked();
    // A sound index the list does not hold stays as it was.
    d.System = cmbAlertStandard->currentIndex() >= 0 ? cmbAlertStandard->currentIndex() : m_system;
    d.Custom = dfWaveFile->text().toStdString();
    d.DEFEML = TemplateIDOfEntry(EMailSetups(), cmbEMail->currentIndex());
    // A threshold that is no number is reported again and keeps its value.
    int minutes = d.Length;
    if (ReadThreshold(minutes))
      d.Length = minutes;
    SetAlertDefaults(d);
    TMyIniFile &ini = SettingsFile();
    CheckSettingsSave(WriteAlertDefaults(ini, d), "the alert defaults");
  } catch (const std::exception &e) {
    WriteLog(std::string("AlertDefs FormClose Error: ") + e.what());
    ReportError(e.what());
  }
}

// ---- Handlers ------------------------------------------------------------------------

void TOPanAlertDefs::ApplyEnabling() {
  const TAudioEnabling e =
      AudioEnabling(cbAlertAudio->isChecked(), rbSystem->isChecked(), rbCustom->isChecked());
  rbSystem->setEnabled(e.Choice);
  rbCustom->setEnabled(e.Choice);
  pbTest->setEnabled(e.Test);
  cmbAlertStandard->setEnabled(e.Standard);
  dfWaveFile->setEnabled(e.WaveFile);
  pbWaveFile->setEnabled(e.WaveFile);
}

void TOPanAlertDefs::cbAlertAudioClick() { ApplyEnabling(); }
void TOPanAlertDefs::rbSystemClick() { ApplyEnabling(); }
void TOPanAlertDefs::rbCustomClick() { ApplyEnabling(); }

bool TOPanAlertDefs::ReadThreshold(int &minutes) {
  std::string error;
  if (ParseAlertThreshold(dfAlertTime->text().toStdString(), minutes, error))
    return true;
  ReportError(error);
  return false;
}

void TOPanAlertDefs::dfAlertTimeExit() {
  int minutes = 0;
  if (ReadThreshold(minutes))
    dfAlertTime->setText(QString::number(minutes));
}

void TOPanAlertDefs::pbWaveFileClick() {
  // Made on first use: a file dialog watches the file system on a thread of its own.
  if (!dlgGetFile) {
    dlgGetFile = NewWaveFileDialog(this);
    dlgGetFile->setOption(QFileDialog::DontUseNativeDialog);
  }
  const std::string file = dfWaveFile->text().toStdString();
  const std::string folder = FolderOfFile(file);
  if (!folder.empty())
    dlgGetFile->setDirectory(Q(folder));
  dlgGetFile->selectFile(Q(file.substr(folder.empty() ? 0 : folder.size() + 1)));
  if (dlgGetFile->exec() != QDialog::Accepted)
    return;
  const QStringList chosen = dlgGetFile->selectedFiles();
  if (!chosen.isEmpty())
    dfWaveFile->setText(chosen.first());
}

void TOPanAlertDefs::pbTestClick() {
  if (!cbAlertAudio->isChecked())
    return;
  if (rbSystem->isChecked()) {
    PlayAlertTestSound(true, cmbAlertStandard->currentIndex(), {});
  } else if (rbCustom->isChecked()) {
    if (!PlayAlertTestSound(false, 0, dfWaveFile->text().toStdString()))
      MessageDlg("sndPlaySound failed", "Audio Test", mtError, mbOK);
  }
}
