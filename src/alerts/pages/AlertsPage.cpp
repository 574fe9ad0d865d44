#include "alerts/pages/AlertsPage.h"

#include "alerts/AlertEditRequest.h"
#include "alerts/AlertFile.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertsModule.h"
#include "alerts/EMailRecord.h"
#include "alerts/pages/AlertEditorRules.h"
#include "alerts/pages/AlertPageRequest.h"
#include "alerts/pages/AlertParamControls.h"
#include "alerts/pages/AlertTree.h"
#include "alerts/pages/UpDown.h"
#include "alerts/pages/WaveFileDialog.h"
#include "charts/ColorPopup.h"
#include "core/AlertDefaults.h"
#include "core/DisplaySettings.h"
#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "platform/Prompt.h"
#include "prefs/PrefPageRegistry.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace {

QString Q(const std::string &text) { return QString::fromStdString(text); }

template <class W> W *Named(W *widget, const char *name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

void SetBaseColor(QWidget *widget, TColor colour) {
  QPalette pal = widget->palette();
  pal.setColor(QPalette::Base, ToQColor(colour));
  widget->setPalette(pal);
}

} // namespace

TOPanAlerts::TOPanAlerts(QWidget *parent) : TOptionPage(parent) {
  setObjectName(QStringLiteral("OPanAlerts"));
  BuildControls();
}

TOPanAlerts::~TOPanAlerts() {
  Timer1->stop();
  // The controls outlive this part of the page for a moment: no handler may
  // run meanwhile (an edit losing the focus, say).
  ATree->Changing = nullptr;
  ATree->Changed = nullptr;
  ATree->ActionTexts = nullptr;
  m_paramControls->OnEditChange = nullptr;
  m_paramControls->OnFieldExit = nullptr;
  m_paramControls->OnColumnChange = nullptr;
  m_paramControls->OnUpDownChanging = nullptr;
  for (QObject *child : findChildren<QObject *>())
    child->disconnect(this);
}

// ---- Building the form

void TOPanAlerts::BuildControls() {
  QFont pageFont(QStringLiteral("Arial"));
  pageFont.setPointSize(8);
  setFont(pageFont);
  setMinimumSize(FormWidth, FormHeight);

  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);

  // Left: the tree and its buttons.
  auto *left = new QVBoxLayout();
  ATree = Named(new TAlertTree(this), "ATree");
  left->addWidget(ATree, 1);
  auto *treeButtons = new QGridLayout();
  pbExpand = Named(new QPushButton(QStringLiteral("Expand All"), this), "pbExpand");
  pbCollapse = Named(new QPushButton(QStringLiteral("Collapse All"), this), "pbCollapse");
  pbExpand1 = Named(new QPushButton(QStringLiteral("Expand One Level"), this), "pbExpand1");
  pbNewAlert = Named(new QPushButton(QStringLiteral("&New"), this), "pbNewAlert");
  pbDelete = Named(new QPushButton(QStringLiteral("&Delete"), this), "pbDelete");
  pbDelAll = Named(new QPushButton(QStringLiteral("Delete All"), this), "pbDelAll");
  pbDelOrph = Named(new QPushButton(QStringLiteral("Delete Orphans"), this), "pbDelOrph");
  treeButtons->addWidget(pbExpand, 0, 0);
  treeButtons->addWidget(pbCollapse, 0, 1);
  treeButtons->addWidget(pbExpand1, 1, 0, 1, 2);
  treeButtons->addWidget(pbNewAlert, 2, 0);
  treeButtons->addWidget(pbDelete, 2, 1);
  treeButtons->addWidget(pbDelAll, 3, 0);
  treeButtons->addWidget(pbDelOrph, 3, 1);
  left->addLayout(treeButtons);
  layout->addLayout(left, 1);

  // Right: the editor.
  GBAlert = Named(new QGroupBox(this), "GBAlert");
  GBAlert->setFixedWidth(344);
  auto *editor = new QVBoxLayout(GBAlert);
  editor->setSpacing(3);

  auto *top = new QGridLayout();
  auto *lbSymbol = new QLabel(QStringLiteral("Alert For"), GBAlert);
  dfSymbol = Named(new QLineEdit(GBAlert), "dfSymbol");
  QFont symbolFont = pageFont;
  symbolFont.setPointSize(10);
  symbolFont.setBold(true);
  dfSymbol->setFont(symbolFont);
  dfSymbol->setMaxLength(15);
  cbEnabled = Named(new QCheckBox(QStringLiteral("Enabled"), GBAlert), "cbEnabled");
  QFont boldFont = pageFont;
  boldFont.setBold(true);
  cbEnabled->setFont(boldFont);
  // White bold on red, so that a disabled alert catches the eye.
  cbEnabled->setStyleSheet(QStringLiteral(
      "QCheckBox { background-color: #FF0000; color: #FFFFFF; padding: 1px 4px 1px 2px; }"));
  auto *lbType = new QLabel(QStringLiteral("Type"), GBAlert);
  cmbType = Named(new QComboBox(GBAlert), "cmbType");
  top->addWidget(lbSymbol, 0, 0);
  top->addWidget(dfSymbol, 0, 1);
  top->addWidget(cbEnabled, 0, 2);
  top->addWidget(lbType, 1, 0);
  top->addWidget(cmbType, 1, 1, 1, 2);
  editor->addLayout(top);

  ParamPan = Named(new QFrame(GBAlert), "ParamPan");
  ParamPan->setFrameShape(QFrame::StyledPanel);
  ParamPan->setFixedSize(324, 112);
  lbParams = Named(new QLabel(QStringLiteral("Alert Parameters"), ParamPan), "lbParams");
  lbParams->setFont(boldFont);
  lbParams->move(6, 4);
  pbAlertDesc = Named(new QPushButton(QStringLiteral("Preview"), ParamPan), "pbAlertDesc");
  pbAlertDesc->adjustSize();
  pbAlertDesc->move(ParamPan->width() - pbAlertDesc->width() - 4, 2);
  mDesc = Named(new QPlainTextEdit(ParamPan), "mDesc");
  mDesc->setReadOnly(true);
  mDesc->setGeometry(2, 2, ParamPan->width() - 4, ParamPan->height() - 4);
  SetBaseColor(mDesc, PreviewColor);
  mDesc->hide();
  m_paramControls = new TAlertParamControls(ParamPan, pbAlertDesc->y() + pbAlertDesc->height() + 4);
  m_paramControls->OnEditChange = [this](int tag) { ParamEditFieldChange(tag); };
  m_paramControls->OnFieldExit = [this](int tag) { ParamEditFieldExit(tag); };
  m_paramControls->OnColumnChange = [this] { ColChangeClick(); };
  m_paramControls->OnUpDownChanging = [this](int tag, int newValue, bool &allow) {
    UDHighLowChange(tag, newValue, allow);
  };
  editor->addWidget(ParamPan);

  auto *actions = new QGridLayout();
  actions->setHorizontalSpacing(4);
  cbHigh =
      Named(new QCheckBox(QStringLiteral("Highlight Stock Row With Color"), GBAlert), "cbHigh");
  panHigh = Named(new QFrame(GBAlert), "panHigh");
  panHigh->setFrameShape(QFrame::Box);
  panHigh->setFixedSize(36, 16);
  panHigh->setAutoFillBackground(true);
  panHigh->installEventFilter(this);
  SetPanelColor(panHigh, clRed);
  spHigh = Named(new QToolButton(GBAlert), "spHigh");
  spHigh->setArrowType(Qt::DownArrow);
  spHigh->setFixedSize(16, 16);
  auto *highRow = new QHBoxLayout();
  highRow->addWidget(cbHigh);
  highRow->addWidget(panHigh);
  highRow->addWidget(spHigh);
  highRow->addStretch();
  actions->addLayout(highRow, 0, 0, 1, 4);
  cbPop = Named(new QCheckBox(QStringLiteral("Pop Up Alert Window"), GBAlert), "cbPop");
  cbFlash = Named(new QCheckBox(QStringLiteral("Flash Window Title Bar"), GBAlert), "cbFlash");
  cbAudio = Named(new QCheckBox(QStringLiteral("Audio Alert"), GBAlert), "cbAudio");
  actions->addWidget(cbPop, 1, 0, 1, 4);
  actions->addWidget(cbFlash, 2, 0, 1, 4);
  actions->addWidget(cbAudio, 3, 0, 1, 4);
  rbSystem = Named(new QRadioButton(QStringLiteral("Standard:"), GBAlert), "rbSystem");
  cmbAlertStandard = Named(new QComboBox(GBAlert), "cmbAlertStandard");
  for (const std::string &name : StandardSoundNames())
    cmbAlertStandard->addItem(Q(name));
  pbTest = Named(new QPushButton(QStringLiteral("&Test"), GBAlert), "pbTest");
  rbCustom = Named(new QRadioButton(QStringLiteral("Custom:"), GBAlert), "rbCustom");
  dfWaveFile = Named(new QLineEdit(GBAlert), "dfWaveFile");
  pbWaveFile = Named(new QPushButton(QStringLiteral("---"), GBAlert), "pbWaveFile");
  pbWaveFile->setFixedWidth(28);
  // A group of their own, apart from the radio buttons of the parameter fields.
  auto *soundGroup = new QButtonGroup(GBAlert);
  soundGroup->addButton(rbSystem);
  soundGroup->addButton(rbCustom);
  actions->setColumnMinimumWidth(0, 14);
  actions->addWidget(rbSystem, 4, 1);
  actions->addWidget(cmbAlertStandard, 4, 2);
  actions->addWidget(pbTest, 4, 3);
  actions->addWidget(rbCustom, 5, 1);
  actions->addWidget(dfWaveFile, 5, 2);
  actions->addWidget(pbWaveFile, 5, 3);
  auto *lbEmail = new QLabel(QStringLiteral("EMail Alert"), GBAlert);
  cmbEmail = Named(new QComboBox(GBAlert), "cmbEmail");
  actions->addWidget(lbEmail, 6, 0, 1, 2);
  actions->addWidget(cmbEmail, 6, 2, 1, 2);
  actions->setColumnStretch(2, 1);
  editor->addLayout(actions);
  editor->addStretch();

  auto *bottom = new QHBoxLayout();
  pbCancel = Named(new QPushButton(QStringLiteral("&Cancel Changes"), GBAlert), "pbCancel");
  pbCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  pbSaveIt = Named(new QPushButton(QStringLiteral("&Save Alert"), GBAlert), "pbSaveIt");
  pbSaveIt->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
  bottom->addWidget(pbCancel);
  bottom->addWidget(pbSaveIt);
  editor->addLayout(bottom);
  layout->addWidget(GBAlert);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(TimerIntervalMs);

  // ---- Events
  ATree->Changing = [this](QTreeWidgetItem *node) { return ATreeChanging(node); };
  ATree->Changed = [this](QTreeWidgetItem *node) { ATreeChange(node); };
  ATree->ActionTexts = [this](QTreeWidgetItem *node) {
    TAlertRecord alert;
    return StoredCopy(TAlertTree::AlertID(node), alert) ? ActionNodeTexts(alert)
                                                         : std::vector<std::string>();
  };
  connect(ATree, &QTreeWidget::itemExpanded, this, &TOPanAlerts::ATreeExpanding);
  connect(ATree, &QTreeWidget::itemCollapsed, this, &TOPanAlerts::ATreeCollapsing);
  connect(pbExpand, &QPushButton::clicked, this, &TOPanAlerts::pbExpandClick);
  connect(pbCollapse, &QPushButton::clicked, this, &TOPanAlerts::pbCollapseClick);
  connect(pbExpand1, &QPushButton::clicked, this, &TOPanAlerts::pbExpand1Click);
  connect(pbNewAlert, &QPushButton::clicked, this, &TOPanAlerts::pbNewAlertClick);
  connect(pbDelAll, &QPushButton::clicked, this, &TOPanAlerts::pbDelAllClick);
  connect(pbDelOrph, &QPushButton::clicked, this, &TOPanAlerts::pbDelOrphClick);
  connect(pbDelete, &QPushButton::clicked, this, &TOPanAlerts::pbDeleteClick);
  connect(cbEnabled, &QCheckBox::clicked, this, &TOPanAlerts::cbEnabledClick);
  dfSymbol->installEventFilter(this);
  connect(dfSymbol, &QLineEdit::editingFinished, this, &TOPanAlerts::dfSymbolExit);
  connect(cmbType, &QComboBox::activated, this, &TOPanAlerts::cmbTypeClick);
  connect(pbAlertDesc, &QPushButton::pressed, this, &TOPanAlerts::pbAlertDescMouseDown);
  connect(pbAlertDesc, &QPushButton::released, this, &TOPanAlerts::pbAlertDescMouseUp);
  connect(cbHigh, &QCheckBox::clicked, this, &TOPanAlerts::cbHighClick);
  connect(spHigh, &QToolButton::clicked, this, &TOPanAlerts::spHighClick);
  connect(cbPop, &QCheckBox::clicked, this, &TOPanAlerts::cbPopClick);
  connect(cbFlash, &QCheckBox::clicked, this, &TOPanAlerts::cbFlashClick);
  connect(cbAudio, &QCheckBox::clicked, this, &TOPanAlerts::cbAudioClick);
  connect(rbSystem, &QRadioButton::clicked, this, &TOPanAlerts::rbSystemClick);
  connect(rbCustom, &QRadioButton::clicked, this, &TOPanAlerts::rbCustomClick);
  connect(cmbAlertStandard, &QComboBox::activated, this, &TOPanAlerts::cmbAlertStandardClick);
  connect(pbTest, &QPushButton::clicked, this, &TOPanAlerts::pbTestClick);
  connect(dfWaveFile, &QLineEdit::textEdited, this, &TOPanAlerts::dfWaveFileExit);
  connect(dfWaveFile, &QLineEdit::editingFinished, this, &TOPanAlerts::dfWaveFileExit);
  connect(pbWaveFile, &QPushButton::clicked, this, &TOPanAlerts::pbWaveFileClick);
  connect(cmbEmail, &QComboBox::activated, this, &TOPanAlerts::cmbEmailClick);
  connect(pbCancel, &QPushButton::clicked, this, &TOPanAlerts::pbCancelClick);
  connect(pbSaveIt, &QPushButton::clicked, this, &TOPanAlerts::pbSaveItClick);
  connect(Timer1, &QTimer::timeout, this, &TOPanAlerts::Timer1Timer);
}

bool TOPanAlerts::eventFilter(QObject *watched, QEvent *event) {
  if (watched == dfSymbol && event->type() == QEvent::FocusIn)
    dfSymbolEnter();
  if (watched == panHigh && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && panHigh->isEnabled()) {
    panHighClick();
    return true;
  }
  return TOptionPage::eventFilter(watched, event);
}

TColor TOPanAlerts::PanelColor(const QFrame *panel) {
  return TColor(panel->property("colour").toUInt());
}

void TOPanAlerts::SetPanelColor(QFrame *panel, TColor colour) {
  panel->setProperty("colour", uint(colour));
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, ToQColor(colour));
  panel->setPalette(pal);
}

// ---- Showing and closing

void TOPanAlerts::FormShow() {
  RunLoggingErrors("FormShow", [&] {
    cmbEmail->clear();
    cmbEmail->addItem(QStringLiteral("--- No Email Alert ---"));
    const EMailSetupList &setups = EMailSetups();
    int selected = 0;
    const std::string defaultID = CurrentAlertDefaults().DEFEML;
    for (int i = 0; i < setups.Count(); ++i) {
      cmbEmail->addItem(Q(setups.Name(i)));
      if (selected == 0 && !defaultID.empty() && setups.Record(i) &&
          setups.Record(i)->ID == defaultID)
        selected = i + 1;
    }
    cmbEmail->setCurrentIndex(selected);

    m_working = std::make_unique<TAlertRecord>();
    m_snapshot = std::make_unique<TAlertRecord>();
    m_lastShown = std::make_unique<TAlertRecord>();
    m_lastShown->Symbol = RedrawMarker;
    m_symbolMap.clear();
    m_newMode = false;
    ShowAlert(nullptr);
    cmbType->clear();
    for (const std::string &name : AlertTypeNames())
      cmbType->addItem(Q(name));
    m_shown = true;
  });
  BuildTree();
  Timer1->start();
}

bool TOPanAlerts::FormCloseQuery() {
  bool canClose = true;
  RunLoggingErrors("FormCloseQuery", [&] { canClose = AskNewAlert(true, DialogOKState()); });
  return canClose;
}

void TOPanAlerts::FormClose() {
  Timer1->stop();
  if (m_colourPanel)
    dlgColor().hide();
  RunLoggingErrors("Alert FormClose", [&] {
    AskNewAlert(false, false);
    RemoveParamFields();
    m_symbolMap.clear();
  });
  SaveAlertFileReporting(AlertSystem(), ProgramFolder() + AlertFileName);
  m_editAlert = nullptr;
  m_newAlert.reset();
}

// ---- The editor

void TOPanAlerts::AbleAlert(bool enable) {
  RunLoggingErrors("AbleAlert", [&] {
    GBAlert->setEnabled(enable);
    for (QWidget *child : GBAlert->findChildren<QWidget *>()) {
      if (qobject_cast<QLineEdit *>(child) || qobject_cast<QComboBox *>(child)) {
        child->setEnabled(enable);
        if (child != mDesc)
          SetBaseColor(child, enable ? clWhite : DisabledFieldColor);
      } else if (qobject_cast<QAbstractButton *>(child)) {
        child->setEnabled(enable);
      } else if (auto *panel = qobject_cast<QFrame *>(child);
                 panel && !qobject_cast<QLabel *>(child) && child != mDesc) {
        if (!enable && panel == panHigh)
          SetPanelColor(panHigh, DisabledFieldColor);
        if (panel == ParamPan) {
          // Silver while disabled, as the fields are; the style's colour otherwise.
          ParamPan->setAutoFillBackground(!enable);
          if (enable)
            ParamPan->setPalette(QPalette());
          else
            SetPanelColor(ParamPan, DisabledFieldColor);
        }
        child->setEnabled(enable);
      }
    }
  });
}

void TOPanAlerts::ShowAlert(TAlertRecord *alert) {
  bool filling = false;
  RunLoggingErrors("ShowAlert", [&] {
    if (!alert) {
      AbleAlert(false);
      m_editAlert = nullptr;
      if (m_lastShown)
        m_lastShown->Symbol = RedrawMarker;
      return;
    }
    if (m_lastShown->Symbol != RedrawMarker && m_lastShown->SameAs(*alert))
      return;
    m_lastShown->AssignFixed(*alert);
    AbleAlert(true);
    m_showing = true;
    filling = true;

    dfSymbol->setText(Q(alert->Symbol));
    m_symbolAtEntry = CleanAlertSymbol(alert->Symbol);
    SetBaseColor(dfSymbol, m_newMode ? NewSymbolColor : clBtnFace);
    dfSymbol->setReadOnly(!m_newMode);
    dfSymbol->setFrame(true);

    ShowParamFields(alert);

    cmbType->setCurrentIndex(alert->AlertType < AlertTypeCount ? alert->AlertType : -1);
    cbEnabled->setChecked(alert->Enabled);
    cbHigh->setChecked(alert->Actions.Contains(ActionHighlightRow));
    SetPanelColor(panHigh, TColor(alert->HighlightColor));
    cbFlash->setChecked(alert->Actions.Contains(ActionFlashWindow));
    cbPop->setChecked(alert->Actions.Contains(ActionPopup));
    cmbEmail->setCurrentIndex(EMailIndexOf(*alert, EMailSetups()));
    cbAudio->setChecked(alert->Actions.Contains(ActionSound));
    cbHighClick();
    cbAudioClick();
    GBAlert->setVisible(true);
    m_showing = false;
  });
  if (filling)
    m_showing = false;
}

void TOPanAlerts::ShowParamFields(TAlertRecord *alert) {
  RunLoggingErrors("ShowParamFields", [&] {
    RemoveParamFields();
    m_paramControls->Create(alert->AlertType);
    m_params.Fill(*alert, *m_paramControls, FractionDisplay(), GetLastPrice(alert->Symbol));
    pbCancel->setText(m_newMode ? QStringLiteral("&Cancel New Alert")
                                : QStringLiteral("&Cancel Changes"));
    pbSaveIt->setText(m_newMode ? QStringLiteral("&Save New Alert")
                                : QStringLiteral("&Save Alert"));
    pbCancel->show();
    pbSaveIt->show();
    ParamPan->show();
  });
}

void TOPanAlerts::RemoveParamFields() {
  RunLoggingErrors("RemoveParamFields", [&] { m_paramControls->Remove(); });
}

void TOPanAlerts::DoEnableDisable() {
  if (!m_editAlert || m_editAlert->AlertType != AlertTypeColumn)
    return;
  try {
    TAlertParamFields::EnableDisable(*m_paramControls);
  } catch (const std::exception &e) {
    WriteLog(std::string("DoEnableDisable Mark 1 Exception: ") + e.what());
  }
}

void TOPanAlerts::SaveAR(bool apply) {
  RunLoggingErrors("SaveAR", [&] {
    if (!m_editAlert)
      return;
    TAlertEditorValues values;
    values.AlertType = cmbType->currentIndex();
    values.Enabled = cbEnabled->isChecked();
    values.High = cbHigh->isChecked();
    values.HighColor = std::int32_t(PanelColor(panHigh));
    values.Flash = cbFlash->isChecked();
    values.Pop = cbPop->isChecked();
    values.EMailIndex = cmbEmail->currentIndex();
    values.Audio = cbAudio->isChecked();
    values.System = rbSystem->isChecked();
    values.SoundIndex = cmbAlertStandard->currentIndex();
    values.WaveFile = dfWaveFile->text().toStdString();
    ApplyEditorValues(values, EMailSetups(), *m_editAlert);
    TAlertParamFields::Read(*m_paramControls, *m_editAlert);

    QTreeWidgetItem *selected = ATree->currentItem();
    if (!apply || m_newMode || !selected || m_storedID.empty())
      return;
    {
      MyLockGuard guard(AlertSystem().Lock, "SAVEA");
      if (!guard.Owns())
        throw Exception("the alert store is busy");
      TAlertRecord *stored = AlertSystem().FindByID(m_storedID);
      if (stored && stored->Symbol == m_working->Symbol)
        CopyUserFields(*m_working, *stored);
    }
    PopNode(selected);
    if (GBAlert->isEnabled() && !pbCancel->isHidden() && !m_working->SameAs(*m_snapshot)) {
      AlertSystem().TurnOffAlert(m_storedID, true);
      AlertSystem().ResetAlert(m_storedID);
    }
  });
}

void TOPanAlerts::ControlChanged(const char *label) {
  RunLoggingErrors(label, [&] {
    if (!m_showing)
      SaveAR(false);
    UpdateButtons();
  });
}

bool TOPanAlerts::AskNewAlert(bool allowCancel, bool quiet) {
  bool result = true;
  RunLoggingErrors("AskNewAlert", [&] {
    if (m_saving)
      return;
    const TMsgDlgButtons buttons = allowCancel ? mbYesNoCancel : mbYesNo;
    if (m_newMode) {
      const std::string symbol = CleanAlertSymbol(dfSymbol->text().toStdString());
      dfSymbol->setText(Q(symbol));
      if (symbol.empty()) {
        const bool untouched = cmbType->currentIndex() == AlertTypeLowPrice &&
                               TAlertParamFields::UntouchedPriceFields(*m_paramControls);
        if (!quiet && !untouched &&
            MessageDlg("You have not finished entering the new alert. Remove it?",
                       "Editing New Alert", mtWarning, buttons) != mrYes) {
          result = false;
          return;
        }
        m_newMode = false;
        m_editAlert = nullptr;
        m_newAlert.reset();
        DeletePlaceholder();
        ShowAlert(nullptr);
        return;
      }
    } else if (!m_editAlert || m_working->SameAs(*m_snapshot)) {
      return;
    }
    TModalResult answer = mrYes;
    if (!CurrentAlertDefaults().AutoSave && !quiet) {
      answer =
          m_newMode
              ? MessageDlg("You have not yet saved the new alert that you were editing. Save it?",
                           "Save New Alert", mtWarning, buttons)
              : MessageDlg("The alert you are editing has not been saved. Save it?", "Save Alert",
                           mtWarning, buttons);
    }
    if (answer == mrCancel || answer == mrNone) {
      result = false;
      return;
    }
    if (answer == mrYes) {
      pbSaveItClick();
      m_editAlert = nullptr;
      m_newMode = false;
    } else {
      m_newMode = false;
      m_editAlert = nullptr;
      m_newAlert.reset();
    }
    DeletePlaceholder();
  });
  return result;
}

// ---- Control handlers

void TOPanAlerts::cbEnabledClick() { ControlChanged("cbEnabledClick"); }
void TOPanAlerts::cbPopClick() { ControlChanged("cbPopClick"); }
void TOPanAlerts::cbFlashClick() { ControlChanged("cbFlashClick"); }
void TOPanAlerts::cmbAlertStandardClick() { ControlChanged("cmbAlertStandardClick"); }
void TOPanAlerts::dfWaveFileExit() { ControlChanged("dfWaveFileExit"); }
void TOPanAlerts::cmbEmailClick() { ControlChanged("cmbEmailClick"); }

void TOPanAlerts::cbHighClick() {
  RunLoggingErrors("cbHighClick", [&] {
    panHigh->setEnabled(cbHigh->isChecked());
    spHigh->setEnabled(cbHigh->isChecked());
  });
  ControlChanged("cbHighClick");
}

void TOPanAlerts::ApplySoundEnabling() {
  const bool audio = cbAudio->isChecked();
  const bool system = rbSystem->isChecked();
  rbSystem->setEnabled(audio);
  rbCustom->setEnabled(audio);
  cmbAlertStandard->setEnabled(audio && system);
  dfWaveFile->setEnabled(audio && !system);
  pbWaveFile->setEnabled(audio && !system);
  pbTest->setEnabled(true);
}

void TOPanAlerts::cbAudioClick() {
  RunLoggingErrors("cbAudioClick", [&] {
    if (!cbAudio->isChecked()) {
      cmbAlertStandard->setCurrentIndex(-1);
      dfWaveFile->clear();
    } else if (m_editAlert) {
      const int index = m_editAlert->SoundIndex;
      const std::string &wave = m_editAlert->WaveFile;
      dfWaveFile->setText(Q(wave));
      if (!wave.empty())
        rbCustom->setChecked(true);
      else
        rbSystem->setChecked(true);
      cmbAlertStandard->setCurrentIndex(index >= 0 && index < cmbAlertStandard->count() ? index
                                                                                        : 0);
    }
    ApplySoundEnabling();
  });
  ControlChanged("cbAudioClick");
}

void TOPanAlerts::rbSystemClick() {
  RunLoggingErrors("rbSystemClick", [&] { ApplySoundEnabling(); });
  ControlChanged("rbSystemClick");
}

void TOPanAlerts::rbCustomClick() {
  RunLoggingErrors("rbCustomClick", [&] { ApplySoundEnabling(); });
  ControlChanged("rbCustomClick");
}

void TOPanAlerts::pbWaveFileClick() {
  RunLoggingErrors("pbWaveFileClick", [&] {
    // Made on first use: a file dialog watches the file system on a thread of
    // its own, and closing the page would wait for that thread.
    if (!dlgGetFile)
      dlgGetFile = NewWaveFileDialog(this);
    const QString current = dfWaveFile->text();
    if (!current.isEmpty())
      dlgGetFile->setDirectory(QFileInfo(current).absolutePath());
    if (dlgGetFile->exec() != QDialog::Accepted || dlgGetFile->selectedFiles().isEmpty())
      return;
    dfWaveFile->setText(dlgGetFile->selectedFiles().first());
  });
  ControlChanged("pbWaveFileClick");
}

void TOPanAlerts::pbAlertDescMouseDown() {
  RunLoggingErrors("AlertDescMouseDown", [&] {
    if (!m_editAlert)
      return;
    mDesc->setPlainText(Q(m_editAlert->FullDescription(true)));
    mDesc->show();
    mDesc->raise();
  });
}

void TOPanAlerts::pbAlertDescMouseUp() { mDesc->hide(); }

void TOPanAlerts::panHighClick() {
  RunLoggingErrors("PanHighClick", [&] {
    ColorPopupColor = PanelColor(panHigh);
    m_colourPanel = panHigh;
    TdlgColor &popup = dlgColor();
    popup.move(panHigh->mapToGlobal(QPoint(0, panHigh->height())));
    popup.show();
    popup.raise();
  });
}

void TOPanAlerts::spHighClick() { panHighClick(); }

void TOPanAlerts::dfSymbolEnter() {
  m_symbolAtEntry = CleanAlertSymbol(dfSymbol->text().toStdString());
}

void TOPanAlerts::dfSymbolExit() {
  RunLoggingErrors("dfSymbolExit", [&] {
    // Only a new alert's symbol can be typed; a stored alert keeps its own.
    if (!m_editAlert || !m_newMode)
      return;
    const std::string symbol = CleanAlertSymbol(dfSymbol->text().toStdString());
    m_editAlert->Symbol = symbol;
    if (symbol != m_symbolAtEntry) {
      m_symbolAtEntry = symbol;
      cmbTypeClick();
    }
  });
}

// ---- Parameter fields

void TOPanAlerts::cmbTypeClick() {
  RunLoggingErrors("CmbTypeClick", [&] {
    if (!m_editAlert)
      return;
    TAlertParamFields::ChangeType(*m_editAlert, cmbType->currentIndex(),
                                  GetLastPrice(m_editAlert->Symbol));
    m_lastShown->Symbol = RedrawMarker;
    ShowAlert(m_editAlert);
    if (!m_showing)
      SaveAR(false);
    if (m_editAlert && m_editAlert->AlertType == AlertTypeColumn)
      ColChangeClick();
    UpdateButtons();
  });
}

void TOPanAlerts::ColChangeClick() {
  try {
    if (!m_showing)
      SaveAR(false);
    DoEnableDisable();
    const std::string symbol = m_editAlert ? m_editAlert->Symbol : std::string();
    m_params.ColumnChanged(*m_paramControls, ReadColumnQuote(symbol));
    if (!m_showing)
      SaveAR(false);
    UpdateButtons();
  } catch (const std::exception &e) {
    WriteLog(std::string("ColChangeClick Exception: ") + e.what());
  }
}

void TOPanAlerts::UDHighLowChange(int upDownTag, int newValue, bool &allowChange) {
  allowChange = false; // the up-down keeps its position; the edit moves
  RunLoggingErrors("UDHighLowChange", [&] {
    if (m_showing)
      return;
    const TUpDown *upDown = m_paramControls->UpDown(upDownTag);
    const int steps = newValue - (upDown ? upDown->Position() : 0);
    const int editTag = upDownTag - ParamUpDownOffset;
    m_paramControls->SetField(editTag, m_params.Spin(*m_paramControls, editTag, steps));
    SaveAR(false);
    UpdateButtons();
  });
}

void TOPanAlerts::ParamEditFieldChange(int tag) {
  RunLoggingErrors("ParamEditFieldChange", [&] {
    if (m_showing)
      return;
    if (!TAlertParamFields::AcceptsTypedText(m_paramControls->GetField(tag)))
      return;
    SaveAR(false);
    UpdateButtons();
  });
}

void TOPanAlerts::ParamEditFieldExit(int) { ControlChanged("ParamEditFieldExit"); }

// ---- Requests, the colour pop-up and the buttons

void TOPanAlerts::UpdateButtons() {
  pbDelete->setEnabled(!m_newMode && ATree->currentItem());
  if (m_newMode) {
    pbCancel->setEnabled(true);
  } else if (GBAlert->isEnabled() && !pbCancel->isHidden()) {
    pbCancel->setEnabled(m_editAlert && !m_working->SameAs(*m_snapshot));
    pbSaveIt->setEnabled(pbCancel->isEnabled());
  }
}

void TOPanAlerts::Timer1Timer() {
  Timer1->stop();
  RunLoggingErrors("Alerts Timer1Timer", [&] {
    if (!AlertEditRequest().Empty())
      CarryOutRequest(AlertEditRequest().Take());
    if (ColorPopupPicked && m_colourPanel) {
      ColorPopupPicked = false;
      SetPanelColor(m_colourPanel, ColorPopupPickedColor);
      if (!m_showing)
        SaveAR(false);
    }
    UpdateButtons();
  });
  if (m_shown)
    Timer1->start();
}

void RegisterAlertsPage() { RegisterAlertsPage(PrefPageRegistry()); }

void RegisterAlertsPage(TPrefPageRegistry &registry) {
  AlertEditRequest().Clear();
  registry.Register(PrefPageAlerts, "Alerts",
                    [](QWidget *parent) { return new TOPanAlerts(parent); });
}
