#include "platform/OpenUrl.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>
#include <atomic>

namespace {
bool IsBlank(const std::string &s) { return QString::fromStdString(s).trimmed().isEmpty(); }

DesktopUrlOpener g_desktopOpener;
std::atomic<UrlOpener *> g_opener{&g_desktopOpener};
} // namespace

bool DesktopUrlOpener::Open(const std::string &url) {
  if (IsBlank(url))
    return false;
  const QUrl target = QUrl::fromUserInput(QString::fromStdString(url).trimmed());
  return target.isValid() && QDesktopServices::openUrl(target);
}

bool FakeUrlOpener::Open(const std::string &url) {
  std::lock_guard lock(m_mutex);
  m_opened.push_back(url);
  return !m_fail && !IsBlank(url);
}

void FakeUrlOpener::SetFail(bool fail) {
  std::lock_guard lock(m_mutex);
  m_fail = fail;
}

std::vector<std::string> FakeUrlOpener::Opened() const {
  std::lock_guard lock(m_mutex);
  return m_opened;
}

void FakeUrlOpener::Clear() {
  std::lock_guard lock(m_mutex);
  m_opened.clear();
  m_fail = false;
}

UrlOpener &AppUrlOpener() { return *g_opener.load(); }

void SetAppUrlOpener(UrlOpener *opener) { g_opener.store(opener ? opener : &g_desktopOpener); }

bool OpenURL(const std::string &url) { return AppUrlOpener().Open(url); }
