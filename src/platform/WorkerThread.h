#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class QObject;
class TStopSignal;

// Base of the program's worker threads. A worker never touches a widget: it reaches
// the window thread through Synchronize (blocking) or Queue (posted).
//
// Whoever starts a worker can stop it and wait for it; the destructor does both.
// A derived class whose Execute uses the derived object's members must stop and wait
// in its own destructor (Terminate(); WaitFor();), before those members go.
class TWorkerThread {
public:
  static constexpr int kForever = -1;

  TWorkerThread();
  virtual ~TWorkerThread();
  TWorkerThread(const TWorkerThread &) = delete;
  TWorkerThread &operator=(const TWorkerThread &) = delete;

  // Starts Execute on a thread of its own. A worker runs at most once; later calls do
  // nothing.
  void Start();
  // Tells the worker to stop: sets the stop flag and wakes SleepFor and Synchronize.
  void Terminate();
  bool Terminated() const;
  // Ends the current (or the next) SleepFor early without stopping the worker.
  void Wake();
  // Started and Execute not yet returned.
  bool Running() const;
  // Execute has returned.
  bool Finished() const { return m_finished.load(std::memory_order_acquire); }
  // Waits until Execute has returned and the thread is joined; false on time-out.
  // True at once for a worker that was never started. From the worker itself: false.
  bool WaitFor(int timeoutMs = kForever);

  // Interruptible wait: false when told to stop (at once when already told), true
  // after ms milliseconds or a Wake().
  bool SleepFor(int ms);
  // Runs fn on the window thread and waits for it. Returns false without running fn
  // when the worker is told to stop first. An exception thrown by fn is rethrown here.
  bool Synchronize(std::function<void()> fn);
  // Posts fn to the window thread; returns at once. fn must not capture the worker.
  void Queue(std::function<void()> fn);
  // As above; dropped when context is destroyed before the call runs.
  void Queue(QObject *context, std::function<void()> fn);

  // A worker that frees itself: after Execute returns, the thread deletes the object
  // (created with new). Nobody may touch it after Start. For one-shot work.
  void SetFreeOnTerminate(bool value) { m_freeOnTerminate = value; }

  // The stop signal shared with helpers that wait on the worker's behalf.
  const std::shared_ptr<TStopSignal> &StopSignal() const { return m_stop; }

protected:
  // The worker's body. Check Terminated() and the results of SleepFor/Synchronize.
  virtual void Execute() = 0;
  // Called on the worker thread with the message of an exception that left Execute.
  // By default it goes to ReportUncaughtError.
  virtual void HandleException(const std::string &message);

private:
  void Run();

  std::shared_ptr<TStopSignal> m_stop;
  std::thread m_thread;
  std::mutex m_joinMutex; // serialises Start and the join
  std::atomic<bool> m_started{false};
  bool m_freeOnTerminate = false;
  std::atomic<bool> m_finished{false};
  std::mutex m_finishMutex;
  std::condition_variable m_finishCv;
};
