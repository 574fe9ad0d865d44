#pragma once
// TfrmAlertLog: "Session Alerts Log", the alert log of this run in a list
// that grows while the window is open. The main window opens it from its menu
// with ShowAlertLogWindow; its Close button frees it.
#include <QDialog>

class QListWidget;
class QPushButton;
class QTimer;

class TfrmAlertLog : public QDialog {
  Q_OBJECT

public:
  static constexpr int RefreshIntervalMs = 1000; // Timer1
  static constexpr int DefaultWidth = 560;
  static constexpr int DefaultHeight = 360;

  explicit TfrmAlertLog(QWidget *owner = nullptr);

  // ---- Controls (object names as the member names)
  QListWidget *lbAlerts = nullptr;
  QPushButton *pbClose = nullptr;
  QPushButton *pbClear = nullptr;
  QTimer *Timer1 = nullptr;

  // ---- Handlers
  void FormShow();
  void FormResize();
  void Timer1Timer();
  void pbClearClick();
  void pbCloseClick();

protected:
  void showEvent(QShowEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  void reject() override; // Escape: the Close button
};

// Empties the list box, then adds every line of the alert log in order.
void FillAlertLog(QListWidget *listBox);
// Adds the log lines the list box does not show yet (from its item count on);
// nothing when it already shows as many lines as the log or more.
void AppendAlertLog(QListWidget *listBox);

// Opens the log window, or brings the open one to the front. Window thread.
TfrmAlertLog *ShowAlertLogWindow();
// The open log window, or nullptr.
TfrmAlertLog *OpenAlertLogWindow();
