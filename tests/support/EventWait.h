#pragma once
// Waits for a condition with a deadline, never for a set time. The
// window-thread variant keeps processing events meanwhile; PollUntil only
// polls (for tests where the window thread must stay busy, or where nothing
// runs on it).
#include <QCoreApplication>
#include <chrono>
#include <thread>

template <class Pred> bool ProcessEventsUntil(Pred done, int timeoutMs = 10000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

template <class Pred> bool PollUntil(Pred done, int timeoutMs = 10000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}
