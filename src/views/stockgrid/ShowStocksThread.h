#pragma once
// The one-shot fill thread of a quote grid. It recalculates the shown
// portfolio's totals under the "PORT" lock, stores them as a quote of the
// portfolio itself, then runs one fill pass (GridFill.h) and frees itself.
//
// The thread never touches the grid object: it writes the grid's cell store
// (shared, thread-safe, outliving the grid) and shares a TFillLink with the
// grid. The grid's destructor sets the link's stop flags and lets go of it;
// a pass still running then stops at its next check and its writes reach
// nobody.
#include "platform/WorkerThread.h"
#include "views/stockgrid/FillMemo.h"
#include "views/stockgrid/GridFill.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class TGridCellStore;
class TStopSignal;

// What a grid and its fill share.
class TFillLink {
public:
  TFillLink();

  // Set by the grid's destructor: the pass stops at its next check and the
  // call into the window thread gives up.
  std::atomic<bool> StopFill{false};
  // A fill works on the grid.
  std::atomic<bool> FillRunning{false};
  // What the grid's passes wrote; only the running fill touches it.
  TFillMemo Memo;

  void RequestStop();
  // The fill's stop signal (its window-thread call waits on it).
  const std::shared_ptr<TStopSignal> &Stop() const { return m_stop; }
  void SetStop(const std::shared_ptr<TStopSignal> &stop);

  // Called by FillEnded under the link's mutex, from the fill's thread: it
  // may only post. Cleared by the grid's destructor; once SetEndNotifier
  // returns, the old notifier is not called any more.
  void SetEndNotifier(std::function<void()> notifier);

  // Clears FillRunning, notes fillId (the request's FillId) as ended when a
  // notifier is set, tells the notifier and wakes WaitIdle.
  void FillEnded(std::uint64_t fillId);
  // The FillIds of the fills that ended since the last call, oldest first
  // (the window thread takes them when the notifier's post arrives).
  std::vector<std::uint64_t> TakeEndedFills();
  // Waits up to ms milliseconds (no event processing) for FillRunning to
  // clear; true when it did.
  bool WaitIdle(int ms);

private:
  std::shared_ptr<TStopSignal> m_stop;
  std::function<void()> m_endNotifier;
  std::vector<std::uint64_t> m_endedFills;
  std::mutex m_mutex;
  std::condition_variable m_idle;
};

// The sink of a real grid: its cell store, repaints through the store's
// queued damage, and the window-thread call given up on the link's stop.
class TStoreFillSink final : public TGridFillSink {
public:
  TStoreFillSink(std::shared_ptr<TGridCellStore> store, std::shared_ptr<TFillLink> link);

  int ColCount() const override;
  int RowCount() const override;
  void SetRowCount(int rows) override;
  std::string Cell(int col, int row) const override;
  void SetCell(int col, int row, const std::string &text) override;
  std::intptr_t Object(int col, int row) const override;
  void SetObject(int col, int row, std::intptr_t object) override;
  std::uint64_t RowVersion(int row) const override;
  void RepaintRow(int row) override;
  bool SyncPoint() override;
  void BeginBatch() override;
  void EndBatch() override;

private:
  std::shared_ptr<TGridCellStore> m_store;
  std::shared_ptr<TFillLink> m_link;
};

// The thread body on the calling thread: "PORT" (tag "SRES", may give up;
// released exactly once), the portfolio's recalculation and AddSnap of its
// totals as kind 'P' (full passes of portfolio grids only), a snapshot of the
// portfolio, the pass, and FillEnded whatever happened.
TFillOutcome ExecuteFill(const TFillRequest &request, TGridFillSink &sink, TFillLink &link);

class ShowStocksThread final : public TWorkerThread {
public:
  // Starts a thread that frees itself. The link's FillRunning must already
  // be set by the caller.
  static void Launch(TFillRequest request, std::unique_ptr<TGridFillSink> sink,
                     std::shared_ptr<TFillLink> link);

  // Fill threads started and still running in this process (tests and
  // diagnostics).
  static int StartedCount();
  static int RunningCount();

protected:
  void Execute() override;

private:
  ShowStocksThread(TFillRequest request, std::unique_ptr<TGridFillSink> sink,
                   std::shared_ptr<TFillLink> link);

  TFillRequest m_request;
  std::unique_ptr<TGridFillSink> m_sink;
  std::shared_ptr<TFillLink> m_link;
};
