#include "alerts/pages/WaveFileDialog.h"

#include <QFileDialog>

QFileDialog *NewWaveFileDialog(QWidget *parent) {
  auto *dialog = new QFileDialog(parent);
  dialog->setObjectName(QStringLiteral("dlgGetFile"));
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setNameFilters({QStringLiteral("Wave Audio (*.wav *.WAV)"),
                          QStringLiteral("Any File (*.*)"), QStringLiteral("Any File (*)")});
  // No default suffix: it would turn a chosen "alarm" into "alarm.wav".
  dialog->setDefaultSuffix(QString());
  return dialog;
}
