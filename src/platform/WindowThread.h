#pragma once
#include <functional>
#include <memory>

class QObject;
class TStopSignal;

// Calls into the window (GUI) thread from any code. Posted calls run in the order
// they were posted, one per pass of the window thread's event loop, also from nested
// loops (modal dialogs, Delay). An exception thrown by a posted call is reported
// through ReportUncaughtError and goes no further.

// True on the thread that runs the application's event loop.
bool IsWindowThread();

// Posts fn to the window thread and returns at once. Returns false (fn dropped) when
// there is no application object.
bool PostToWindowThread(std::function<void()> fn);

// As above, but the call is dropped when context has been destroyed by the time it
// would run. context must be alive when this is called.
bool PostToWindowThread(QObject *context, std::function<void()> fn);

// Runs fn on the window thread and waits until it has run; on the window thread itself
// fn runs at once. Gives up when stop is signalled before the window thread has begun
// fn: returns false and fn is not run (a call already running is waited for). Without
// stop it waits as long as it takes. An exception thrown by fn is rethrown here.
bool RunOnWindowThread(std::function<void()> fn,
                       const std::shared_ptr<TStopSignal> &stop = nullptr);
