#pragma once
// TOPanAlertDefs: the "Alert Defaults" page of the preferences dialog. It
// edits the program-wide alert defaults (CurrentAlertDefaults()): the actions
// and sound a new alert gets, the default e-mail template, auto-save in the
// alert editor and the duplicate-alert threshold. FormShow fills the controls
// from the defaults; FormClose makes them the live defaults and writes
// section "Alert" of the settings file.
#include "prefs/OptionPage.h"

#include <string>

class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TOPanAlertDefs : public TOptionPage {
  Q_OBJECT

public:
  static constexpr int ThresholdMaxLength = 3;

  explicit TOPanAlertDefs(QWidget *parent = nullptr);
  ~TOPanAlertDefs() override;

  // ---- Controls (object names as the member names)
  QCheckBox *cbAlertPop = nullptr;
  QCheckBox *cbAlertFlash = nullptr;
  QCheckBox *cbHRAlert = nullptr;
  QCheckBox *cbAlertAudio = nullptr;
  QRadioButton *rbSystem = nullptr;
  QRadioButton *rbCustom = nullptr;
  QComboBox *cmbAlertStandard = nullptr;
  QLineEdit *dfWaveFile = nullptr;
  QPushButton *pbWaveFile = nullptr;
  QPushButton *pbTest = nullptr;
  QComboBox *cmbEMail = nullptr;
  QCheckBox *cbAutoSave = nullptr;
  QLineEdit *dfAlertTime = nullptr;
  QFileDialog *dlgGetFile = nullptr; // made when first needed

  // ---- TOptionPage
  void FormShow() override;
  void FormClose() override;

  // ---- Handlers
  void cbAlertAudioClick();
  void rbSystemClick();
  void rbCustomClick();
  void dfAlertTimeExit();
  void pbWaveFileClick();
  void pbTestClick();

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void BuildControls();
  void ApplyEnabling();
  // Reports a conversion error of the threshold field as the program reports
  // errors; false when the text is no integer.
  bool ReadThreshold(int &minutes);

  int m_system = 0;      // the standard sound index shown (kept when none is chosen)
  bool m_closed = false; // FormClose ran: the fields are no longer checked
};
