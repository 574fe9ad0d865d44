#pragma once
// The news intake thread: reads news.csv (NewsIntake) at the news refresh of
// the settings and at once when a window asks for a fetch (the force list);
// with DEMO adds a made-up item every 30 to 60 seconds. It never waits for the
// window thread: messages for the status line are posted.
#include "platform/WorkerThread.h"

#include <atomic>

class NewsIntake;
struct TDisplaySettings;

// The waits of the thread; tests shorten them.
struct NewsIntakeTimings {
  int MinuteMs = 60000; // one minute of the HighRefresh and LowRefresh settings
  int MinPeriodMs = 0;  // shortest time between two reads; 0: the quote refresh interval
  int PollMs = 250;     // how soon a force request is served
  int DemoMinMs = 30000;
  int DemoMaxMs = 60000;
};
NewsIntakeTimings GetNewsIntakeTimings();
void SetNewsIntakeTimings(const NewsIntakeTimings &timings);

// Milliseconds between two reads: the shorter of HighRefresh and LowRefresh
// minutes (a value below 1 counts as 1, above a day as a day), never less
// than minPeriodMs.
int NewsReadPeriodMs(const TDisplaySettings &settings, const NewsIntakeTimings &timings,
                     int minPeriodMs);

class TNewsIntakeThread final : public TWorkerThread {
public:
  // quoteRefreshMs: the quote refresh interval, the least period unless the
  // timings name one.
  TNewsIntakeThread(NewsIntake &intake, bool demo, int quoteRefreshMs,
                    NewsIntakeTimings timings = GetNewsIntakeTimings());
  ~TNewsIntakeThread() override;

  // Reads of the file done so far (forced or due).
  int ReadCount() const { return m_reads.load(); }

protected:
  void Execute() override;

private:
  int DemoDelayMs();

  NewsIntake &m_intake;
  const bool m_demo;
  const int m_minPeriodMs;
  const NewsIntakeTimings m_timings;
  std::atomic<int> m_reads{0};
};
