#include "core/StandIns.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <mutex>

namespace {
std::mutex g_keyMutex;
std::function<void(int, Qt::KeyboardModifiers)> g_keyHandler;
} // namespace

void HandleGlobalKeys(int key, Qt::KeyboardModifiers shift) {
  std::function<void(int, Qt::KeyboardModifiers)> handler;
  {
    std::lock_guard<std::mutex> l(g_keyMutex);
    handler = g_keyHandler;
  }
  if (handler)
    handler(key, shift);
}

void SetGlobalKeyHandler(std::function<void(int key, Qt::KeyboardModifiers shift)> handler) {
  std::lock_guard<std::mutex> l(g_keyMutex);
  g_keyHandler = std::move(handler);
}

std::string GetHelpFileName() { return ""; }

TButtonForm::TButtonForm(QWidget *owner) : QDialog(owner) {}

QPoint VisibleFramePosition(const QRect &frame, const QList<QRect> &screens, const QRect &primary) {
  for (const QRect &s : screens)
    if (s.intersects(frame))
      return frame.topLeft();
  if (primary.isEmpty())
    return frame.topLeft();
  QPoint p(primary.left() + (primary.width() - frame.width()) / 2,
           primary.top() + (primary.height() - frame.height()) / 2);
  p.setX(std::max(p.x(), primary.left()));
  p.setY(std::max(p.y(), primary.top()));
  return p;
}

void EnsureFormVisible(QWidget *form) {
  if (!form)
    return;
  QWidget *window = form->window();
  QList<QRect> areas;
  for (QScreen *s : QGuiApplication::screens())
    areas.append(s->availableGeometry());
  QScreen *primary = QGuiApplication::primaryScreen();
  if (!primary)
    return;
  const QRect frame = window->frameGeometry();
  const QPoint to = VisibleFramePosition(frame, areas, primary->availableGeometry());
  if (to != frame.topLeft())
    window->move(to);
}

std::string GetIndexDisplayName(const std::string &symbol) { return symbol; }
