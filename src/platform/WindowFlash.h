#pragma once
#include <mutex>
#include <vector>

// Drawing the user's attention to the application's main window (AppMainWindow()).
// Code asks AppWindowFlash(), so that tests can install a FakeWindowFlash.
class WindowFlash {
public:
  virtual ~WindowFlash() = default;
  // invert true flashes the window once; false puts it back to its normal look.
  virtual void FlashMainWindow(bool invert) = 0;
};

// Asks the desktop to mark the main window as wanting attention for one flash period.
// The desktop ends the mark by itself, so putting the window back needs nothing.
// Calls from other threads are posted to the window thread.
class QtWindowFlash final : public WindowFlash {
public:
  static constexpr int kFlashMs = 1000;
  void FlashMainWindow(bool invert) override;
};

// Records the invert argument of every call.
class FakeWindowFlash final : public WindowFlash {
public:
  void FlashMainWindow(bool invert) override;
  std::vector<bool> Calls() const;
  void Clear();

private:
  mutable std::mutex m_mutex;
  std::vector<bool> m_calls;
};

// The service in use; QtWindowFlash unless a test installed another.
WindowFlash &AppWindowFlash();
// Installs a service (nullptr restores the real one). The caller keeps ownership.
void SetAppWindowFlash(WindowFlash *flash);
