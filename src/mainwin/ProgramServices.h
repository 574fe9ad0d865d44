#pragma once
// The background services the main window runs for its lifetime: the alert
// evaluation thread, the mail sender thread, the news intake thread, the
// alert pop-ups, and the heartbeat's share of alert work (edit and portfolio
// requests, activation).
#include "alerts/AlertProcessThread.h"
#include "alerts/SenderThread.h"

#include <functional>
#include <memory>

class TNewsIntakeThread;

// The waits of the services' threads; tests shorten them.
struct TProgramServiceTimings {
  AlertProcessTimings Alerts;
  TSenderTimings Sender;
};
void SetProgramServiceTimings(const TProgramServiceTimings &timings);

class TProgramServices {
public:
  // What the heartbeat asks of the main window.
  struct Hooks {
    std::function<void()> OpenPreferences;       // an edit request is waiting
    std::function<void(int)> ShowPortfolioIndex; // a pop-up asked for a portfolio
  };

  explicit TProgramServices(Hooks hooks);
  ~TProgramServices();
  TProgramServices(const TProgramServices &) = delete;
  TProgramServices &operator=(const TProgramServices &) = delete;

  // Installs the alert pop-ups and starts both threads (once).
  void Start();
  // Stops both threads, waiting at most 1 s for the evaluation thread, and
  // removes the pop-ups. A second call returns at once.
  void Stop();
  bool Running() const { return m_started && !m_stopped; }

  // Called on every heartbeat (500 ms) on the window thread.
  void Heartbeat();

private:
  Hooks m_hooks;
  std::unique_ptr<TAlertProcessThread> m_alertThread;
  std::unique_ptr<TSenderThread> m_senderThread;
  std::unique_ptr<TNewsIntakeThread> m_newsThread;
  bool m_started = false;
  bool m_stopped = false;
};
