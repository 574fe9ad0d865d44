// TOPanAlerts: trying the alert's sound.
#include "alerts/pages/AlertsPage.h"

#include "core/Log.h"
#include "platform/Prompt.h"
#include "platform/Sound.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <exception>

void TOPanAlerts::pbTestClick() {
  try {
    if (!cbAudio->isChecked())
      return;
    if (rbSystem->isChecked()) {
      AppSound().PlayStandard(cmbAlertStandard->currentIndex());
    } else if (!AppSound().PlayWave(dfWaveFile->text().toStdString())) {
      MessageDlg("sndPlaySound failed", "Audio Test", mtError, mbOK);
    }
  } catch (const std::exception &e) {
    WriteLog(std::string("pbTestClick Exception: ") + e.what());
  }
}
