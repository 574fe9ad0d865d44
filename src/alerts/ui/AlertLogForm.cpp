#include "alerts/ui/AlertLogForm.h"

#include "alerts/AlertLog.h"
#include "alerts/ui/AlertLogLayout.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

namespace {

QPointer<TfrmAlertLog> g_window;

void AddLines(QListWidget *listBox, const std::vector<std::string> &lines) {
  QStringList items;
  items.reserve(int(lines.size()));
  for (const std::string &line : lines)
    items.append(QString::fromStdString(line));
  listBox->addItems(items);
}

} // namespace

void FillAlertLog(QListWidget *listBox) {
  listBox->clear();
  AddLines(listBox, AlertLogLines());
}

void AppendAlertLog(QListWidget *listBox) {
  const auto shown = std::size_t(std::max(0, listBox->count()));
  AddLines(listBox, AlertLogLinesFrom(shown));
}

TfrmAlertLog::TfrmAlertLog(QWidget *owner) : QDialog(owner) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
  setWindowTitle(QStringLiteral("Session Alerts Log"));
  setObjectName(QStringLiteral("frmAlertLog"));

  lbAlerts = new QListWidget(this);
  lbAlerts->setObjectName(QStringLiteral("lbAlerts"));
  lbAlerts->setUniformItemSizes(true);
  pbClose = new QPushButton(QStringLiteral("&Close"), this);
  pbClose->setObjectName(QStringLiteral("pbClose"));
  pbClose->setAutoDefault(false);
  pbClear = new QPushButton(QStringLiteral("Clear Log"), this);
  pbClear->setObjectName(QStringLiteral("pbClear"));
  pbClear->setAutoDefault(false);
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(RefreshIntervalMs);

  for (QPushButton *button : {pbClose, pbClear})
    button->resize(button->sizeHint());

  connect(pbClose, &QPushButton::clicked, this, &TfrmAlertLog::pbCloseClick);
  connect(pbClear, &QPushButton::clicked, this, &TfrmAlertLog::pbClearClick);
  connect(Timer1, &QTimer::timeout, this, &TfrmAlertLog::Timer1Timer);

  resize(DefaultWidth, DefaultHeight);
  // Centred on the desktop.
  if (QScreen *screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  Timer1->start();
}

void TfrmAlertLog::FormShow() { FillAlertLog(lbAlerts); }

void TfrmAlertLog::FormResize() {
  const AlertLogLayout place = LayoutAlertLog(size(), pbClose->size(), pbClear->size());
  pbClose->setGeometry(place.close);
  pbClear->setGeometry(place.clear);
  lbAlerts->setGeometry(place.list);
}

void TfrmAlertLog::Timer1Timer() { AppendAlertLog(lbAlerts); }

void TfrmAlertLog::pbClearClick() {
  ClearAlertLog();
  FillAlertLog(lbAlerts);
}

void TfrmAlertLog::pbCloseClick() { close(); }

void TfrmAlertLog::reject() { pbCloseClick(); }

void TfrmAlertLog::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous())
    FormShow();
}

void TfrmAlertLog::closeEvent(QCloseEvent *event) {
  Timer1->stop();
  event->accept(); // freed on close
}

void TfrmAlertLog::resizeEvent(QResizeEvent *event) {
  QDialog::resizeEvent(event);
  FormResize();
}

TfrmAlertLog *ShowAlertLogWindow() {
  if (!g_window)
    g_window = new TfrmAlertLog(nullptr);
  g_window->show();
  g_window->raise();
  g_window->activateWindow();
  return g_window;
}

TfrmAlertLog *OpenAlertLogWindow() { return g_window; }
