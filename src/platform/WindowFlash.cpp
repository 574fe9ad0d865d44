#include "platform/WindowFlash.h"

#include "platform/AppWindow.h"
#include "platform/WindowThread.h"

#include <QApplication>
#include <atomic>

namespace {
void AlertMainWindow() {
  if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
    return;
  if (QWidget *window = AppMainWindow())
    QApplication::alert(window, QtWindowFlash::kFlashMs);
}

QtWindowFlash g_qtFlash;
std::atomic<WindowFlash *> g_flash{&g_qtFlash};
} // namespace

void QtWindowFlash::FlashMainWindow(bool invert) {
  if (!invert)
    return;
  if (IsWindowThread())
    AlertMainWindow();
  else
    PostToWindowThread(&AlertMainWindow);
}

void FakeWindowFlash::FlashMainWindow(bool invert) {
  std::lock_guard lock(m_mutex);
  m_calls.push_back(invert);
}

std::vector<bool> FakeWindowFlash::Calls() const {
  std::lock_guard lock(m_mutex);
  return m_calls;
}

void FakeWindowFlash::Clear() {
  std::lock_guard lock(m_mutex);
  m_calls.clear();
}

WindowFlash &AppWindowFlash() { return *g_flash.load(); }

void SetAppWindowFlash(WindowFlash *flash) { g_flash.store(flash ? flash : &g_qtFlash); }
