#pragma once
#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

// Runs the event loop until done() holds; false when ms pass first.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms)
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}
