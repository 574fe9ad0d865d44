#include "platform/WorkerThread.h"

#include "platform/StopSignal.h"
#include "platform/UncaughtError.h"
#include "platform/WindowThread.h"

#include <QtGlobal>
#include <chrono>
#include <condition_variable>
#include <exception>

TWorkerThread::TWorkerThread() : m_stop(std::make_shared<TStopSignal>()) {}

TWorkerThread::~TWorkerThread() {
  Terminate();
  if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id()) {
    // Deleted from inside Execute, which the worker cannot survive cleanly; at least
    // do not abort the process. SetFreeOnTerminate is the way to do this.
    qWarning("TWorkerThread: a worker was deleted by its own thread");
    m_thread.detach();
    return;
  }
  WaitFor(kForever);
}

void TWorkerThread::Start() {
  std::lock_guard lock(m_joinMutex);
  if (m_started.load()) {
    qWarning("TWorkerThread::Start: the worker was already started");
    return;
  }
  m_started.store(true);
  m_thread = std::thread([this] { Run(); });
}

void TWorkerThread::Run() {
  try {
    Execute();
  } catch (const std::exception &e) {
    try {
      HandleException(e.what());
    } catch (...) {
    }
  } catch (...) {
    try {
      HandleException("unknown exception");
    } catch (...) {
    }
  }
  {
    std::lock_guard lock(m_finishMutex);
    m_finished.store(true, std::memory_order_release);
  }
  m_finishCv.notify_all();
  if (m_freeOnTerminate) {
    {
      std::lock_guard lock(m_joinMutex);
      m_thread.detach();
    }
    delete this;
  }
}

void TWorkerThread::HandleException(const std::string &message) {
  ReportUncaughtError("Exception in a worker thread: " + message);
}

void TWorkerThread::Terminate() { m_stop->Stop(); }

bool TWorkerThread::Terminated() const { return m_stop->Stopped(); }

void TWorkerThread::Wake() { m_stop->Wake(); }

bool TWorkerThread::Running() const { return m_started.load() && !Finished(); }

bool TWorkerThread::WaitFor(int timeoutMs) {
  std::thread::id id;
  {
    std::lock_guard lock(m_joinMutex);
    if (!m_started.load())
      return true;
    id = m_thread.get_id();
  }
  if (id == std::this_thread::get_id()) {
    qWarning("TWorkerThread::WaitFor: a worker cannot wait for itself");
    return false;
  }
  {
    std::unique_lock lock(m_finishMutex);
    const auto finished = [this] { return Finished(); };
    if (timeoutMs < 0)
      m_finishCv.wait(lock, finished);
    else if (!m_finishCv.wait_for(lock, std::chrono::milliseconds(timeoutMs), finished))
      return false;
  }
  std::lock_guard lock(m_joinMutex);
  if (m_thread.joinable())
    m_thread.join();
  return true;
}

bool TWorkerThread::SleepFor(int ms) { return m_stop->SleepFor(ms); }

bool TWorkerThread::Synchronize(std::function<void()> fn) {
  return RunOnWindowThread(std::move(fn), m_stop);
}

void TWorkerThread::Queue(std::function<void()> fn) { PostToWindowThread(std::move(fn)); }

void TWorkerThread::Queue(QObject *context, std::function<void()> fn) {
  PostToWindowThread(context, std::move(fn));
}
