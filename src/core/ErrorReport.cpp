#include "core/ErrorReport.h"

#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "platform/VisibleText.h"
#include "platform/WindowThread.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_hookMutex;
ErrorReportSink g_sink;
StatusMsgHook g_statusHook;

// Most recent report window; reused while open. Window thread only.
QPointer<QMessageBox> g_reportBox;
int g_reportCount = 0;

QString ReportText(const std::string &message, const std::string &place) {
  return QString::fromStdString(message) + QStringLiteral("\n\nPlace: ") +
         QString::fromStdString(place) + QStringLiteral("\nVersion: ") +
         QString::fromStdString(VersionToStr(ProgramVersion()));
}

void ShowReportWindow(const QString &text) {
  if (g_reportBox) {
    ++g_reportCount;
    g_reportBox->setText(text);
    g_reportBox->setInformativeText(
        QStringLiteral("%1 reports; the latest is shown.").arg(g_reportCount));
    g_reportBox->raise();
    return;
  }
  auto *box = new QMessageBox(QMessageBox::Critical, QString::fromLatin1(ErrorReportTitle), text,
                              QMessageBox::Ok);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->setObjectName(QStringLiteral("ErrorReport"));
  g_reportBox = box;
  g_reportCount = 1;
  box->show();
}

} // namespace

void ShowErrorReport(const std::string &rawMessage, const std::string &place) {
  try {
    // A message may quote a file or a server: its line breaks stay, nothing else unseen.
    const std::string message = VisibleLines(rawMessage);
    WriteLog("ERROR REPORT " + place + ": " + message, 0);
    {
      std::lock_guard<std::mutex> l(g_hookMutex);
      if (g_sink) {
        g_sink(message, place);
        return;
      }
    }
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || !qobject_cast<QApplication *>(app)) {
      std::fprintf(stderr, "%s: %s\n", place.c_str(), message.c_str());
      return;
    }
    const QString text = ReportText(message, place);
    // Through the window-thread call queue: its lock orders the text made here
    // before the window thread reads it, from whichever thread reports.
    PostToWindowThread([text] {
      try {
        ShowReportWindow(text);
      } catch (...) {
      }
    });
  } catch (...) {
    // The report of an error must not raise another.
  }
}

void SetErrorReportSink(ErrorReportSink sink) {
  std::lock_guard<std::mutex> l(g_hookMutex);
  g_sink = std::move(sink);
}

void ShowStatusMsg(const std::string &rawMessage) {
  // The status line is one line; quoted outside text shows its control bytes.
  const std::string message = VisibleText(rawMessage);
  try {
    std::lock_guard<std::mutex> l(g_hookMutex);
    if (g_statusHook) {
      g_statusHook(message);
      return;
    }
  } catch (...) {
    return;
  }
  WriteLog("STATUS " + message, 0);
}

void SetStatusMsgHook(StatusMsgHook hook) {
  std::lock_guard<std::mutex> l(g_hookMutex);
  g_statusHook = std::move(hook);
}
