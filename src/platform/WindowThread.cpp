#include "platform/WindowThread.h"

#include "platform/StopSignal.h"
#include "platform/UncaughtError.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <deque>
#include <exception>
#include <mutex>

namespace {

struct PostedCall {
  std::function<void()> fn;
  QPointer<QObject> context;
  bool guarded = false; // drop when context is gone
};

// The calls waiting for the window thread. Kept in our own guarded queue (rather than
// in Qt's event queue alone) so that the hand-over between threads is ordered by a
// mutex that the thread checker sees, and so that order holds across nested loops.
struct CallQueue {
  std::mutex mutex;
  std::deque<PostedCall> calls;
  // The application that has a drain event pending for us; null when none is.
  QCoreApplication *pendingIn = nullptr;
  // The object that receives the drain events, and the application it was made for.
  QObject *dispatcher = nullptr;
  QCoreApplication *dispatcherApp = nullptr;
};

CallQueue &Queue() {
  static CallQueue *queue = new CallQueue; // never freed: workers may post during exit
  return *queue;
}

void DrainOne();

// Receives the drain events. A queued call by name is used (rather than a functor)
// so that nothing allocated by the posting thread is read by the window thread
// outside our own lock.
class WindowCallDispatcher : public QObject {
  Q_OBJECT
public:
  Q_INVOKABLE void Drain() { DrainOne(); }
};

// Posts the drain event; the caller holds q.mutex. Posting under our lock orders
// everything the posting thread did (including the event Qt allocates) before the
// window thread's handling of that event, as the thread checker sees it.
void MakeDispatcherLocked(CallQueue &q, QCoreApplication *app) {
  if (q.dispatcherApp != app) {
    // One per application object; an old one is left behind with its application.
    auto *dispatcher = new WindowCallDispatcher;
    if (dispatcher->thread() != app->thread())
      dispatcher->moveToThread(app->thread());
    q.dispatcher = dispatcher;
    q.dispatcherApp = app;
  }
}

void PostDrainLocked(CallQueue &q, QCoreApplication *app) {
  MakeDispatcherLocked(q, app);
  q.pendingIn = app;
  QMetaObject::invokeMethod(q.dispatcher, "Drain", Qt::QueuedConnection);
}

void RunReporting(const std::function<void()> &fn) {
  try {
    fn();
  } catch (const std::exception &e) {
    ReportUncaughtError(std::string("Exception in a call on the window thread: ") + e.what());
  } catch (...) {
    ReportUncaughtError("Exception in a call on the window thread: unknown exception");
  }
}

// Runs one call. While more remain, one drain event stays posted, so that a call that
// opens a nested event loop does not hold up the calls behind it.
void DrainOne() {
  CallQueue &q = Queue();
  PostedCall call;
  {
    std::lock_guard lock(q.mutex);
    q.pendingIn = nullptr;
    if (q.calls.empty())
      return;
    call = std::move(q.calls.front());
    q.calls.pop_front();
    if (!q.calls.empty())
      if (QCoreApplication *app = QCoreApplication::instance())
        PostDrainLocked(q, app);
  }
  if (call.guarded && call.context.isNull())
    return;
  RunReporting(call.fn);
}

bool Post(PostedCall call) {
  QCoreApplication *app = QCoreApplication::instance();
  if (!app || !call.fn)
    return false;
  CallQueue &q = Queue();
  std::lock_guard lock(q.mutex);
  q.calls.push_back(std::move(call));
  // A drain event pending in an application that has since been replaced is lost.
  if (q.pendingIn != app)
    PostDrainLocked(q, app);
  return true;
}

// The dispatcher is made on the window thread as the application starts, so a
// worker that posts first never creates a window-thread object itself.
void MakeDispatcherAtStart() {
  if (QCoreApplication *app = QCoreApplication::instance()) {
    CallQueue &q = Queue();
    std::lock_guard lock(q.mutex);
    MakeDispatcherLocked(q, app);
  }
}
Q_COREAPP_STARTUP_FUNCTION(MakeDispatcherAtStart)

enum class CallState { Waiting, Running, Done, Abandoned };

struct BlockingCall {
  std::function<void()> fn;
  std::exception_ptr error;
  CallState state = CallState::Waiting; // guarded by the stop signal's mutex
};

} // namespace

bool IsWindowThread() {
  QCoreApplication *app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

bool PostToWindowThread(std::function<void()> fn) {
  PostedCall call;
  call.fn = std::move(fn);
  return Post(std::move(call));
}

bool PostToWindowThread(QObject *context, std::function<void()> fn) {
  PostedCall call;
  call.fn = std::move(fn);
  call.context = context;
  call.guarded = true;
  return Post(std::move(call));
}

bool RunOnWindowThread(std::function<void()> fn, const std::shared_ptr<TStopSignal> &stop) {
  if (!fn)
    return true;
  if (IsWindowThread()) {
    fn();
    return true;
  }
  const std::shared_ptr<TStopSignal> signal = stop ? stop : std::make_shared<TStopSignal>();
  if (signal->Stopped())
    return false;

  auto call = std::make_shared<BlockingCall>();
  call->fn = std::move(fn);
  // The posted call keeps the signal and the call record alive, so it is safe to run
  // (it then does nothing) after the caller gave up and went away.
  const bool posted = PostToWindowThread([signal, call] {
    {
      std::lock_guard lock(signal->Mutex());
      if (call->state == CallState::Abandoned)
        return;
      call->state = CallState::Running;
    }
    try {
      call->fn();
    } catch (...) {
      call->error = std::current_exception();
    }
    {
      std::lock_guard lock(signal->Mutex());
      call->state = CallState::Done;
    }
    signal->Condition().notify_all();
  });
  if (!posted)
    return false;

  std::function<void()> spent; // the caller's function is destroyed on the caller's thread
  std::exception_ptr error;
  bool done = false;
  {
    std::unique_lock lock(signal->Mutex());
    signal->Condition().wait(lock, [&] {
      return call->state == CallState::Done ||
             (call->state == CallState::Waiting && signal->Stopped());
    });
    done = call->state == CallState::Done;
    if (!done)
      call->state = CallState::Abandoned;
    spent = std::move(call->fn);
    // Taken over here so that the exception is released on this thread.
    error = std::move(call->error);
  }
  if (done && error)
    std::rethrow_exception(error);
  return done;
}

#include "WindowThread.moc"
