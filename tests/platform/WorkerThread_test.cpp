#include "platform/UncaughtError.h"
#include "platform/WindowThread.h"
#include "platform/WorkerThread.h"

#include "support/EventWait.h"

#include <QObject>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kLong = 600000; // a sleep no test may ever wait out

// A worker whose body is a function; collects the exceptions that leave it.
class LambdaWorker : public TWorkerThread {
public:
  explicit LambdaWorker(std::function<void(LambdaWorker &)> body) : m_body(std::move(body)) {}
  ~LambdaWorker() override {
    Terminate();
    WaitFor();
  }
  std::vector<std::string> Errors() const {
    std::lock_guard lock(m_mutex);
    return m_errors;
  }

protected:
  void Execute() override { m_body(*this); }
  void HandleException(const std::string &message) override {
    std::lock_guard lock(m_mutex);
    m_errors.push_back(message);
  }

private:
  std::function<void(LambdaWorker &)> m_body;
  mutable std::mutex m_mutex;
  std::vector<std::string> m_errors;
};

TEST(WorkerThread, TerminateWakesAnInterruptibleSleepAtOnce) {
  std::atomic<bool> started{false};
  std::atomic<int> slept{-1};
  LambdaWorker worker([&](LambdaWorker &w) {
    started = true;
    slept = w.SleepFor(kLong) ? 1 : 0;
  });
  worker.Start();
  ASSERT_TRUE(PollUntil([&] { return started.load(); }));
  EXPECT_FALSE(worker.Terminated());
  worker.Terminate();
  EXPECT_TRUE(worker.Terminated());
  EXPECT_TRUE(worker.WaitFor(10000));
  EXPECT_EQ(slept.load(), 0);
  EXPECT_TRUE(worker.Finished());
  EXPECT_FALSE(worker.Running());
}

TEST(WorkerThread, SleepReturnsTrueWhenItRunsOutAndFalseOnceTerminated) {
  LambdaWorker worker([](LambdaWorker &) {});
  EXPECT_TRUE(worker.SleepFor(1));
  EXPECT_TRUE(worker.SleepFor(0));
  worker.Terminate();
  EXPECT_FALSE(worker.SleepFor(kLong));
  EXPECT_FALSE(worker.SleepFor(0));
}

TEST(WorkerThread, WakeEndsASleepWithoutStopping) {
  std::atomic<bool> started{false};
  std::atomic<int> slept{-1};
  LambdaWorker worker([&](LambdaWorker &w) {
    started = true;
    slept = w.SleepFor(kLong) ? 1 : 0;
  });
  worker.Start();
  ASSERT_TRUE(PollUntil([&] { return started.load(); }));
  worker.Wake();
  EXPECT_TRUE(worker.WaitFor(10000));
  EXPECT_EQ(slept.load(), 1);
  EXPECT_FALSE(worker.Terminated());
}

TEST(WorkerThread, WaitForTimesOutWhileTheWorkerRuns) {
  LambdaWorker worker([](LambdaWorker &w) { w.SleepFor(TWorkerThread::kForever); });
  EXPECT_TRUE(worker.WaitFor(0)) << "a worker never started counts as done";
  worker.Start();
  EXPECT_FALSE(worker.WaitFor(0));
  EXPECT_FALSE(worker.WaitFor(5));
  EXPECT_TRUE(worker.Running());
  worker.Terminate();
  EXPECT_TRUE(worker.WaitFor());
  EXPECT_TRUE(worker.WaitFor(0)) << "waiting again after the join";
}

TEST(WorkerThread, RunsOnlyOnce) {
  std::atomic<int> runs{0};
  LambdaWorker worker([&](LambdaWorker &) { ++runs; });
  worker.Start();
  worker.Start();
  EXPECT_TRUE(worker.WaitFor(10000));
  EXPECT_EQ(runs.load(), 1);
}

TEST(WorkerThread, SynchronizeRunsOnTheWindowThreadAndReturnsTrue) {
  std::atomic<int> result{-1};
  bool onWindowThread = false;
  bool workerOnWindowThread = true;
  LambdaWorker worker([&](LambdaWorker &w) {
    workerOnWindowThread = IsWindowThread();
    result = w.Synchronize([&] { onWindowThread = IsWindowThread(); }) ? 1 : 0;
  });
  worker.Start();
  ASSERT_TRUE(ProcessEventsUntil([&] { return worker.Finished(); }));
  EXPECT_TRUE(worker.WaitFor(10000));
  EXPECT_EQ(result.load(), 1);
  EXPECT_TRUE(onWindowThread);
  EXPECT_FALSE(workerOnWindowThread);
}

TEST(WorkerThread, SynchronizeRethrowsOnTheWorker) {
  std::string caught;
  LambdaWorker worker([&](LambdaWorker &w) {
    try {
      w.Synchronize([] { throw std::runtime_error("no such symbol"); });
    } catch (const std::runtime_error &e) {
      caught = e.what();
    }
  });
  worker.Start();
  ASSERT_TRUE(ProcessEventsUntil([&] { return worker.Finished(); }));
  worker.WaitFor();
  EXPECT_EQ(caught, "no such symbol");
  EXPECT_TRUE(worker.Errors().empty());
}

// The window thread is busy (it processes no events) while the worker waits in
// Synchronize; Terminate must free the worker so that the wait for it ends.
TEST(WorkerThread, SynchronizeGivesUpWhenTerminatedWhileTheWindowThreadIsBusy) {
  std::atomic<bool> calling{false};
  std::atomic<int> result{-1};
  std::atomic<bool> ran{false};
  LambdaWorker worker([&](LambdaWorker &w) {
    calling = true;
    result = w.Synchronize([&] { ran = true; }) ? 1 : 0;
  });
  worker.Start();
  ASSERT_TRUE(PollUntil([&] { return calling.load(); }));
  worker.Terminate();
  EXPECT_TRUE(worker.WaitFor(10000));
  EXPECT_EQ(result.load(), 0);
  // The abandoned call stays abandoned when the window thread gets to it.
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran.load());
}

TEST(WorkerThread, SynchronizeAfterTerminateReturnsFalseAtOnce) {
  bool ran = false;
  std::atomic<int> result{-1};
  LambdaWorker worker([&](LambdaWorker &w) {
    w.Terminate();
    result = w.Synchronize([&] { ran = true; }) ? 1 : 0;
  });
  worker.Start();
  EXPECT_TRUE(worker.WaitFor(10000));
  QCoreApplication::processEvents();
  EXPECT_EQ(result.load(), 0);
  EXPECT_FALSE(ran);
}

TEST(WorkerThread, DestructorDoesNotDeadlockOnAPendingSynchronize) {
  std::atomic<int> attempts{0};
  int calls = 0;
  {
    LambdaWorker worker([&](LambdaWorker &w) {
      while (!w.Terminated()) {
        ++attempts;
        w.Synchronize([&] { ++calls; });
      }
    });
    worker.Start();
    ASSERT_TRUE(PollUntil([&] { return attempts.load() > 0; }));
    // Leaving the scope terminates and joins without a nested event loop.
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(calls, 0);
}

TEST(WorkerThread, QueueRunsLaterOnTheWindowThread) {
  auto context = std::make_unique<QObject>();
  int ran = 0;
  bool onWindowThread = false;
  LambdaWorker worker([&](LambdaWorker &w) {
    w.Queue(context.get(), [&] {
      ++ran;
      onWindowThread = IsWindowThread();
    });
    w.Queue([&] { ++ran; });
  });
  worker.Start();
  EXPECT_TRUE(worker.WaitFor(10000)) << "Queue does not wait for the window thread";
  EXPECT_EQ(ran, 0);
  ASSERT_TRUE(ProcessEventsUntil([&] { return ran == 2; }));
  EXPECT_TRUE(onWindowThread);
}

TEST(WorkerThread, QueueAimedAtADestroyedContextIsDropped) {
  auto context = std::make_unique<QObject>();
  bool ran = false;
  bool after = false;
  LambdaWorker worker([&](LambdaWorker &w) {
    w.Queue(context.get(), [&] { ran = true; });
    w.Queue([&] { after = true; });
  });
  worker.Start();
  ASSERT_TRUE(worker.WaitFor(10000));
  context.reset();
  ASSERT_TRUE(ProcessEventsUntil([&] { return after; }));
  EXPECT_FALSE(ran);
}

TEST(WorkerThread, AnExceptionLeavingExecuteGoesToTheHook) {
  LambdaWorker worker([](LambdaWorker &) { throw std::runtime_error("bad quote page"); });
  worker.Start();
  EXPECT_TRUE(worker.WaitFor(10000));
  EXPECT_EQ(worker.Errors(), std::vector<std::string>{"bad quote page"});
}

class PlainWorker : public TWorkerThread {
protected:
  void Execute() override { throw 42; }
};

TEST(WorkerThread, TheDefaultHookReportsTheError) {
  std::mutex mutex;
  std::vector<std::string> reported;
  SetUncaughtErrorHandler([&](const std::string &m) {
    std::lock_guard lock(mutex);
    reported.push_back(m);
  });
  {
    PlainWorker worker;
    worker.Start();
    EXPECT_TRUE(worker.WaitFor(10000));
  }
  SetUncaughtErrorHandler(nullptr);
  EXPECT_EQ(reported, std::vector<std::string>{"Exception in a worker thread: unknown exception"});
}

class SelfFreeingWorker : public TWorkerThread {
public:
  explicit SelfFreeingWorker(std::atomic<bool> &freed) : m_freed(freed) {}
  ~SelfFreeingWorker() override { m_freed = true; }

protected:
  void Execute() override { m_value = 7; }

private:
  std::atomic<bool> &m_freed;
  int m_value = 0;
};

TEST(WorkerThread, AWorkerThatFreesItselfIsDeletedWhenDone) {
  std::atomic<bool> freed{false};
  auto *worker = new SelfFreeingWorker(freed);
  worker->SetFreeOnTerminate(true);
  worker->Start();
  EXPECT_TRUE(PollUntil([&] { return freed.load(); }));
}

TEST(WorkerThread, ManyWorkersSynchronizeAtOnce) {
  constexpr int kWorkers = 4;
  constexpr int kCalls = 100;
  int counter = 0; // touched on the window thread only
  std::vector<std::unique_ptr<LambdaWorker>> workers;
  for (int i = 0; i < kWorkers; ++i) {
    workers.push_back(std::make_unique<LambdaWorker>([&](LambdaWorker &w) {
      for (int c = 0; c < kCalls; ++c)
        if (!w.Synchronize([&] { ++counter; }))
          return;
    }));
    workers.back()->Start();
  }
  ASSERT_TRUE(ProcessEventsUntil([&] {
    for (auto &w : workers)
      if (!w->Finished())
        return false;
    return true;
  }));
  EXPECT_EQ(counter, kWorkers * kCalls);
}

} // namespace
