#pragma once
#include <QCoreApplication>
#include <chrono>
#include <thread>

// Waits for a condition with a deadline. The window-thread variant keeps processing
// events meanwhile; the other only polls (for tests where the window thread must
// stay busy).
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
