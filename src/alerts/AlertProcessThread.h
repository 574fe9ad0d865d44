#pragma once
#include "platform/WorkerThread.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

class AlertSystemClass;
class TPendingAlertQueue;

// The waits of the evaluation thread; tests shorten them.
struct AlertProcessTimings {
  int StartDelayMs = 20000; // after start, before the first pass
  int PassPeriodMs = 1000;  // between two passes
};

// Decides when alerts trigger. After the start delay it runs one evaluation
// pass (TAlertPass) per period over the symbols of updated-symbol set 5, puts
// the IDs of triggered alerts into the pending queue for the main window's
// heartbeat (ActivatePendingAlerts) and blinks the main window while an
// evaluated alert has its flash action in effect. It never waits for the
// window thread: the flash step is posted.
//
// The main window creates and starts it at start-up; Terminate() and
// WaitFor() stop it (the destructor does both).
class TAlertProcessThread final : public TWorkerThread {
public:
  explicit TAlertProcessThread(AlertProcessTimings timings = {});
  // A thread on another store and queue (tests).
  TAlertProcessThread(AlertSystemClass &store, TPendingAlertQueue &queue,
                      AlertProcessTimings timings);
  ~TAlertProcessThread() override;

  // Passes run so far.
  int PassCount() const { return m_passes.load(); }
  // Waits until at least count passes have run; false on time-out.
  bool WaitForPasses(int count, int timeoutMs);

protected:
  void Execute() override;

private:
  void RunPass();

  AlertSystemClass &m_store;
  TPendingAlertQueue &m_queue;
  const AlertProcessTimings m_timings;
  std::atomic<int> m_passes{0};
  std::mutex m_passMutex;
  std::condition_variable m_passCv;
};

// The flash step of one pass, on the window thread: while flash is on the
// main window blinks once a second (flashed and put back in turns), otherwise
// it is put back.
void AlertFlashStep(bool flash);
// Puts the blink back to its first phase (tests).
void ResetAlertFlashToggle();
