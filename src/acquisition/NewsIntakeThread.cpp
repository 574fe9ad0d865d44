#include "acquisition/NewsIntakeThread.h"

#include "acquisition/NewsIntake.h"
#include "acquisition/NewsThreadState.h"
#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/StringRoutines.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <exception>
#include <mutex>

namespace {

std::mutex g_timingsMutex;
NewsIntakeTimings g_timings;

using Clock = std::chrono::steady_clock;

constexpr int MinutesPerDay = 24 * 60;

} // namespace

NewsIntakeTimings GetNewsIntakeTimings() {
  std::lock_guard lock(g_timingsMutex);
  return g_timings;
}

void SetNewsIntakeTimings(const NewsIntakeTimings &timings) {
  std::lock_guard lock(g_timingsMutex);
  g_timings = timings;
}

int NewsReadPeriodMs(const TDisplaySettings &settings, const NewsIntakeTimings &timings,
                     int minPeriodMs) {
  const int minutes =
      std::clamp(std::min(settings.HighRefresh, settings.LowRefresh), 1, MinutesPerDay);
  const std::int64_t ms = std::int64_t(minutes) * std::max(1, timings.MinuteMs);
  return int(std::clamp<std::int64_t>(ms, std::max(1, minPeriodMs), INT32_MAX));
}

TNewsIntakeThread::TNewsIntakeThread(NewsIntake &intake, bool demo, int quoteRefreshMs,
                                     NewsIntakeTimings timings)
    : m_intake(intake), m_demo(demo),
      m_minPeriodMs(timings.MinPeriodMs > 0 ? timings.MinPeriodMs : quoteRefreshMs),
      m_timings(timings) {}

TNewsIntakeThread::~TNewsIntakeThread() {
  // Execute uses this object's members: stop and join before they go.
  Terminate();
  WaitFor();
}

int TNewsIntakeThread::DemoDelayMs() {
  const int span = std::max(0, m_timings.DemoMaxMs - m_timings.DemoMinMs);
  return m_timings.DemoMinMs + (span > 0 ? SafeRandom(span + 1, true) : 0);
}

void TNewsIntakeThread::Execute() {
  // Bad lines go to the status line; posted, since the window may be busy.
  const auto report = [this](const std::string &text) { Queue([text] { ShowStatusMsg(text); }); };
  const auto after = [](int ms) { return Clock::now() + std::chrono::milliseconds(ms); };
  Clock::time_point nextRead = Clock::now(); // the first read at once
  Clock::time_point nextDemo = after(DemoDelayMs());
  while (!Terminated()) {
    try {
      const TDisplaySettings settings = CurrentDisplaySettings();
      // A window's Force or Force All: the next read is now.
      const bool forced = !ForceListText("NWSF").empty();
      if (forced)
        TakeForceList("NWST");
      if (forced || (settings.NewsOn && Clock::now() >= nextRead)) {
        m_intake.Read(forced, report);
        ++m_reads;
        // The settings as they are after the read: a change made meanwhile counts.
        nextRead = after(NewsReadPeriodMs(CurrentDisplaySettings(), m_timings, m_minPeriodMs));
      }
      if (m_demo && settings.NewsOn && Clock::now() >= nextDemo) {
        m_intake.AddDemoItem();
        nextDemo = after(DemoDelayMs());
      }
    } catch (const std::exception &e) {
      WriteLog(std::string("NewsIntakeThread Error: ") + e.what(), 0);
    }
    if (!SleepFor(std::max(1, m_timings.PollMs)))
      break;
  }
}
