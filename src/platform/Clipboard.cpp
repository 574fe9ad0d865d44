#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <atomic>

namespace {
QClipboard *SystemClipboard() {
  return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
             ? QGuiApplication::clipboard()
             : nullptr;
}

QtClipboard g_qtClipboard;
std::atomic<Clipboard *> g_clipboard{&g_qtClipboard};
} // namespace

void QtClipboard::SetText(const std::string &text) {
  if (QClipboard *clipboard = SystemClipboard())
    clipboard->setText(QString::fromStdString(text));
}

std::string QtClipboard::Text() const {
  QClipboard *clipboard = SystemClipboard();
  return clipboard ? clipboard->text().toStdString() : std::string();
}

void FakeClipboard::SetText(const std::string &text) {
  std::lock_guard lock(m_mutex);
  m_text = text;
}

std::string FakeClipboard::Text() const {
  std::lock_guard lock(m_mutex);
  return m_text;
}

Clipboard &AppClipboard() { return *g_clipboard.load(); }

void SetAppClipboard(Clipboard *clipboard) {
  g_clipboard.store(clipboard ? clipboard : &g_qtClipboard);
}
