#pragma once
// The file dialog that picks an alert's wave file. Wave files are often named
// without an extension on Linux, so the dialog adds none to a chosen name and
// lists any file besides those ending in .wav.
class QFileDialog;
class QWidget;

QFileDialog *NewWaveFileDialog(QWidget *parent);
