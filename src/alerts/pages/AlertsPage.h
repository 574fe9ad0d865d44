#pragma once
// TOPanAlerts: the "Alerts" page of the preferences dialog. A tree lists
// every alert of the store by symbol; the group box on the right edits one
// alert (symbol, type, the type's parameter fields, actions, enabled flag).
// Edits go to a working copy and reach the store when saved; the page also
// creates alerts, deletes one alert, a symbol's alerts, all alerts or the
// orphaned ones, and carries out AlertEditRequest(). Closing the page writes
// ALERTS.DAT.
#include "alerts/pages/AlertParamFields.h"
#include "platform/Color.h"
#include "prefs/OptionPage.h"

#include <map>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;
class QTreeWidgetItem;
class TAlertParamControls;
class TAlertRecord;
class TAlertTree;
class TPrefPageRegistry;

class TOPanAlerts : public TOptionPage {
  Q_OBJECT

public:
  static constexpr int TimerIntervalMs = 500; // requests and the colour pop-up are polled
  static constexpr int FormWidth = 601;
  static constexpr int FormHeight = 453;
  // The last-shown record holds this symbol when the next ShowAlert must redraw.
  static constexpr const char *RedrawMarker = "VELKAR";
  static constexpr const char *PlaceholderText = "NEW ALERT";
  static constexpr TColor NewSymbolColor = 65535;        // yellow
  static constexpr TColor DisabledFieldColor = 12632256; // silver
  static constexpr TColor PreviewColor = 8454143;

  explicit TOPanAlerts(QWidget *parent = nullptr);
  ~TOPanAlerts() override;

  // ---- Controls (object names as the member names)
  TAlertTree *ATree = nullptr;
  QPushButton *pbExpand = nullptr;
  QPushButton *pbCollapse = nullptr;
  QPushButton *pbExpand1 = nullptr;
  QPushButton *pbNewAlert = nullptr;
  QPushButton *pbDelAll = nullptr;
  QPushButton *pbDelOrph = nullptr;
  QPushButton *pbDelete = nullptr;
  QGroupBox *GBAlert = nullptr;
  QCheckBox *cbEnabled = nullptr;
  QLineEdit *dfSymbol = nullptr;
  QComboBox *cmbType = nullptr;
  QFrame *ParamPan = nullptr;
  QLabel *lbParams = nullptr;
  QPushButton *pbAlertDesc = nullptr;
  QPlainTextEdit *mDesc = nullptr;
  QCheckBox *cbHigh = nullptr;
  QFrame *panHigh = nullptr;
  QToolButton *spHigh = nullptr;
  QCheckBox *cbPop = nullptr;
  QCheckBox *cbFlash = nullptr;
  QCheckBox *cbAudio = nullptr;
  QRadioButton *rbSystem = nullptr;
  QComboBox *cmbAlertStandard = nullptr;
  QPushButton *pbTest = nullptr;
  QRadioButton *rbCustom = nullptr;
  QLineEdit *dfWaveFile = nullptr;
  QPushButton *pbWaveFile = nullptr;
  QComboBox *cmbEmail = nullptr;
  QPushButton *pbCancel = nullptr;
  QPushButton *pbSaveIt = nullptr;
  QTimer *Timer1 = nullptr;
  QFileDialog *dlgGetFile = nullptr; // made when first needed

  // ---- State a caller may look at
  TAlertRecord *EditAlert() const { return m_editAlert; }
  bool NewAlertMode() const { return m_newMode; }
  TAlertParamControls *ParamFields() const { return m_paramControls; }
  QTreeWidgetItem *PlaceholderNode() const { return m_placeholder; }

  // ---- The option page
  void FormShow() override;
  bool FormCloseQuery() override;
  void FormClose() override;
  // Rebuilds the tree from the store (after Delete All and Delete Orphans).
  void BuildTree();

  // ---- Operations
  void ShowAlert(TAlertRecord *alert);
  void SaveAR(bool apply);
  bool AskNewAlert(bool allowCancel, bool quiet);
  // A node for a stored alert under its symbol node, with its short
  // description (the caller has it already) and image.
  QTreeWidgetItem *AddAlertNode(QTreeWidgetItem *symbolNode, const TAlertRecord &alert,
                                const QString &description);
  // Shows an alert node's stored alert again (text, place, image, actions).
  void PopNode(QTreeWidgetItem *node);
  void ClickOnNode(QTreeWidgetItem *node);
  void AbleAlert(bool enable);
  void ShowParamFields(TAlertRecord *alert);
  void RemoveParamFields();
  void DoEnableDisable();
  // The colour of a colour panel.
  static TColor PanelColor(const QFrame *panel);
  static void SetPanelColor(QFrame *panel, TColor colour);

  // ---- Handlers
  bool ATreeChanging(QTreeWidgetItem *node);
  void ATreeChange(QTreeWidgetItem *node);
  void ATreeExpanding(QTreeWidgetItem *node);
  void ATreeCollapsing(QTreeWidgetItem *node);
  void pbExpandClick();
  void pbCollapseClick();
  void pbExpand1Click();
  void pbNewAlertClick();
  void pbDelAllClick();
  void pbDelOrphClick();
  void pbDeleteClick();
  void cbEnabledClick();
  void dfSymbolEnter();
  void dfSymbolExit();
  void cmbTypeClick();
  void pbAlertDescMouseDown();
  void pbAlertDescMouseUp();
  void cbHighClick();
  void panHighClick();
  void spHighClick();
  void cbPopClick();
  void cbFlashClick();
  void cbAudioClick();
  void rbSystemClick();
  void rbCustomClick();
  void cmbAlertStandardClick();
  void pbTestClick();
  void dfWaveFileExit();
  void pbWaveFileClick();
  void cmbEmailClick();
  void pbCancelClick();
  void pbSaveItClick();
  void Timer1Timer();
  // The parameter fields.
  void UDHighLowChange(int upDownTag, int newValue, bool &allowChange);
  void ParamEditFieldChange(int tag);
  void ParamEditFieldExit(int tag);
  void ColChangeClick();

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void BuildControls();
  // A control handler: copies the controls into the edited alert unless the
  // editor is being filled.
  void ControlChanged(const char *label);
  void UpdateButtons();
  void CarryOutRequest(const std::string &request);
  void ApplySoundEnabling();
  QTreeWidgetItem *SymbolNode(const std::string &symbol, bool create);
  QTreeWidgetItem *FindAlertNode(const std::string &id) const;
  void DeletePlaceholder();
  void SelectNodeAndShow(QTreeWidgetItem *node);
  void SetFilling(bool on);
  bool StoredCopy(const std::string &id, TAlertRecord &copy) const;

  TAlertParamFields m_params;
  TAlertParamControls *m_paramControls = nullptr;

  std::unique_ptr<TAlertRecord> m_working;   // the working copy of a stored alert
  std::unique_ptr<TAlertRecord> m_snapshot;  // the stored alert as selected or saved
  std::unique_ptr<TAlertRecord> m_lastShown; // what ShowAlert put on the screen
  std::unique_ptr<TAlertRecord> m_newAlert;  // the alert of new-alert mode
  TAlertRecord *m_editAlert = nullptr;
  std::string m_storedID; // the stored alert being edited

  std::map<std::string, QTreeWidgetItem *> m_symbolMap;
  QTreeWidgetItem *m_placeholder = nullptr;
  QFrame *m_colourPanel = nullptr; // the panel the colour pop-up was opened for
  std::string m_symbolAtEntry;
  bool m_newMode = false;
  bool m_saving = false;
  bool m_justCreated = false;
  bool m_showing = false;
  bool m_filling = false;
  bool m_shown = false; // FormShow ran
};

// Registers the page as tab "Alerts" (PrefPageAlerts) and clears a request
// left from before. Called once at start-up.
void RegisterAlertsPage();
void RegisterAlertsPage(TPrefPageRegistry &registry);
