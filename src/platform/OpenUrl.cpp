#include "platform/OpenUrl.h"

#include <QDesktopServices>
#include <QString>
#include <QRegularExpression>
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

namespace {
bool IsWebScheme(const QString &scheme) {
  return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// "host.name/..." or "host.name:port/...": a letter or digit first, and a dot in
// the host part.
bool StartsWithHostName(const QString &text) {
  if (text.isEmpty() || !text.at(0).isLetterOrNumber())
    return false;
  static const QRegularExpression hostEnd(QStringLiteral("[/:?#]"));
  static const QRegularExpression notHostChar(QStringLiteral("[^A-Za-z0-9.\\-]"));
  const qsizetype end = text.indexOf(hostEnd);
  const QString host = text.left(end < 0 ? text.size() : end);
  return host.contains(QLatin1Char('.')) &&
         !host.contains(notHostChar);
}
} // namespace

std::string WebLinkUrl(const std::string &link) {
  const QString text = QString::fromStdString(link).trimmed();
  static const QRegularExpression control(QStringLiteral("[\\x00-\\x1f\\x7f]"));
  if (text.isEmpty() || text.contains(control))
    return {};
  static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.\\-]*):"));
  QString candidate = text;
  const QRegularExpressionMatch m = scheme.match(text);
  // "example.com:8080/a" has a port, not a scheme.
  const bool hasScheme = m.hasMatch() && !StartsWithHostName(text);
  if (hasScheme) {
    if (!IsWebScheme(m.captured(1).toLower()))
      return {};
  } else if (StartsWithHostName(text)) {
    candidate = QStringLiteral("http://") + text;
  } else {
    return {};
  }
  const QUrl url(candidate, QUrl::TolerantMode);
  if (!url.isValid() || !IsWebScheme(url.scheme()) || url.host().isEmpty())
    return {};
  return candidate.toStdString();
}

bool OpenWebLink(const std::string &link) {
  const std::string url = WebLinkUrl(link);
  return !url.empty() && OpenURL(url);
}
