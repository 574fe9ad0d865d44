#include "views/stockgrid/ShowStocksThread.h"

#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/Portfolio.h"
#include "core/PortfolioCalc.h"
#include "core/StockStore.h"
#include "platform/GridCellStore.h"
#include "platform/StopSignal.h"
#include "platform/WindowThread.h"
#include "views/stockgrid/RowInputs.h"

#include <chrono>
#include <exception>
#include <utility>

namespace {
std::atomic<int> g_started{0};
std::atomic<int> g_running{0};
} // namespace

// ---- TFillLink --------------------------------------------------------------------

TFillLink::TFillLink() : m_stop(std::make_shared<TStopSignal>()) {}

void TFillLink::RequestStop() {
  StopFill.store(true, std::memory_order_release);
  std::shared_ptr<TStopSignal> stop;
  {
    std::lock_guard lock(m_mutex);
    stop = m_stop;
  }
  if (stop)
    stop->Stop();
}

void TFillLink::SetStop(const std::shared_ptr<TStopSignal> &stop) {
  bool stopNow = false;
  {
    std::lock_guard lock(m_mutex);
    m_stop = stop;
    stopNow = StopFill.load(std::memory_order_acquire);
  }
  if (stopNow && stop)
    stop->Stop();
}

void TFillLink::SetEndNotifier(std::function<void()> notifier) {
  std::lock_guard lock(m_mutex);
  m_endNotifier = std::move(notifier);
}

void TFillLink::FillEnded(std::uint64_t fillId) {
  {
    std::lock_guard lock(m_mutex);
    FillRunning.store(false, std::memory_order_release);
    if (m_endNotifier) {
      m_endedFills.push_back(fillId);
      m_endNotifier();
    }
  }
  m_idle.notify_all();
}

std::vector<std::uint64_t> TFillLink::TakeEndedFills() {
  std::lock_guard lock(m_mutex);
  return std::exchange(m_endedFills, {});
}

bool TFillLink::WaitIdle(int ms) {
  std::unique_lock lock(m_mutex);
  return m_idle.wait_for(lock, std::chrono::milliseconds(ms),
                         [this] { return !FillRunning.load(std::memory_order_acquire); });
}

// ---- TStoreFillSink -------------------------------------------------------------

TStoreFillSink::TStoreFillSink(std::shared_ptr<TGridCellStore> store,
                               std::shared_ptr<TFillLink> link)
    : m_store(std::move(store)), m_link(std::move(link)) {}

int TStoreFillSink::ColCount() const { return m_store->ColCount(); }
int TStoreFillSink::RowCount() const { return m_store->RowCount(); }
void TStoreFillSink::SetRowCount(int rows) { m_store->SetRowCount(rows); }
std::string TStoreFillSink::Cell(int col, int row) const { return m_store->Cell(col, row); }
void TStoreFillSink::SetCell(int col, int row, const std::string &text) {
  m_store->SetCell(col, row, text);
}
std::intptr_t TStoreFillSink::Object(int col, int row) const { return m_store->Object(col, row); }
void TStoreFillSink::SetObject(int col, int row, std::intptr_t object) {
  m_store->SetObject(col, row, object);
}
std::uint64_t TStoreFillSink::RowVersion(int row) const { return m_store->RowVersion(row); }
void TStoreFillSink::RepaintRow(int row) { m_store->RequestRepaintRow(row); }
bool TStoreFillSink::SyncPoint() {
  return RunOnWindowThread([] {}, m_link->Stop());
}
void TStoreFillSink::BeginBatch() { m_store->BeginBatch(); }
void TStoreFillSink::EndBatch() { m_store->EndBatch(); }

// ---- The thread body --------------------------------------------------------------

TFillOutcome ExecuteFill(const TFillRequest &request, TGridFillSink &sink, TFillLink &link) {
  TFillOutcome out;
  std::string previous;
  std::string label = "Mark 1";
  const auto step = [&](const char *next) {
    previous = label;
    label = next;
  };
  try {
    MyLockGuard port(PortListLock, "SRES", true);
    if (port.Owns() && !link.StopFill.load(std::memory_order_acquire)) {
      step("Mark 2");
      PortfolioSnapshot snapshot;
      bool havePortfolio = false;
      try {
        const bool portfolioGrid = !request.WatchMode && request.PortfolioIndex != -1;
        if (portfolioGrid && request.Filter.empty() && RecalcPortfolio(request.PortfolioIndex)) {
          step("Mark 2.5");
          const PortType &p = PortfolioList[request.PortfolioIndex];
          AddSnap(p.Key, KindPortfolio, "-", p.Value[0], p.ValueChange[0], p.ValueChangePct[0],
                  p.RecalcTime, -1);
        }
        if (portfolioGrid)
          havePortfolio = SnapshotPortfolio(request.PortfolioIndex, snapshot);
      } catch (...) {
        havePortfolio = false;
      }
      step("Mark 3");
      port.Unlock();

      step("Mark 4");
      try {
        out = ShowResults(request, havePortfolio ? &snapshot : nullptr, sink, &link.StopFill,
                          &link.Memo);
      } catch (const std::exception &e) {
        if (LoggingOn)
          WriteLog(std::string("EXSHOWRESULTS ERROR ") + e.what(), 0);
      }
    }
    step("Mark 15.3");
  } catch (const std::exception &e) {
    ShowErrorReport(previous + " " + label + " " + e.what(), "ShowExecute");
  } catch (...) {
    ShowErrorReport(previous + " " + label + " unknown error", "ShowExecute");
  }
  link.FillEnded(request.FillId);
  return out;
}

// ---- ShowStocksThread --------------------------------------------------------------

ShowStocksThread::ShowStocksThread(TFillRequest request, std::unique_ptr<TGridFillSink> sink,
                                   std::shared_ptr<TFillLink> link)
    : m_request(std::move(request)), m_sink(std::move(sink)), m_link(std::move(link)) {}

void ShowStocksThread::Launch(TFillRequest request, std::unique_ptr<TGridFillSink> sink,
                              std::shared_ptr<TFillLink> link) {
  const std::uint64_t fillId = request.FillId;
  auto *thread = new ShowStocksThread(std::move(request), std::move(sink), link);
  link->SetStop(thread->StopSignal());
  thread->SetFreeOnTerminate(true);
  g_started.fetch_add(1);
  g_running.fetch_add(1);
  try {
    thread->Start();
  } catch (...) {
    g_running.fetch_sub(1);
    link->FillEnded(fillId);
    delete thread;
    throw;
  }
}

void ShowStocksThread::Execute() {
  ExecuteFill(m_request, *m_sink, *m_link);
  g_running.fetch_sub(1);
}

int ShowStocksThread::StartedCount() { return g_started.load(); }
int ShowStocksThread::RunningCount() { return g_running.load(); }
