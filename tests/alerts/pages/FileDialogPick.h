#pragma once
// Answers the file dialog that opens modally next: chooses path and presses
// Open. A refusal ("File not found") is dismissed and the dialog cancelled,
// so that a test fails instead of waiting.
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

inline void PickInNextFileDialog(const QString &path) {
  QTimer::singleShot(0, [path] {
    auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
    if (!dialog)
      return;
    dialog->selectFile(path);
    QTimer::singleShot(0, [] {
      if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
        box->reject();
    });
    static_cast<QDialog *>(dialog)->accept();
    if (dialog->isVisible())
      dialog->reject();
  });
}
