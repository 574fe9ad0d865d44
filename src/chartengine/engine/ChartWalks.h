#pragma once
#include <memory>
#include <type_traits>
#include <utility>

// Walks over a chart (the drawing, the measuring of axes, marks and legend)
// hold series, axes and point indexes while they call out to event handlers
// (label, mark and legend texts, bar and pointer styles, drawing events).
// A handler may free, remove or empty a series, clear the chart or free an
// axis. The engine notes every such change; a handler that made one, called
// out to from inside a walk, makes the walk start over (on what is left)
// instead of going on with what it held. Walks are GUI-thread work: the
// state is per thread.

// Changes that can leave a walk holding a freed series or axis, or an index
// past the end of a list: a series freed, listed or unlisted, points
// removed, an axis listed or unlisted.
class TChartChanges {
public:
  static void Note();
  static unsigned long long Count();
};

// Whether an object that a handler may free still lives. The object holds
// a TLife; what must not touch it once freed (a guard restoring its state
// while a restart unwinds) keeps its token and asks it first.
class TLife {
public:
  TLife() : m_alive(std::make_shared<bool>(true)) {}
  ~TLife() { *m_alive = false; }
  // A copy belongs to another object: it gets its own token.
  TLife(const TLife &) : TLife() {}
  TLife &operator=(const TLife &) { return *this; }
  std::shared_ptr<const bool> Token() const { return m_alive; }

private:
  std::shared_ptr<bool> m_alive;
};

// Thrown by CallOut to start the innermost walk over; caught by RunWalk.
// Deliberately no std::exception, so that no routine in between takes it.
struct TChartWalkRestart {};

namespace chart_walks {
// A handler is running: its nesting depth is raised meanwhile.
class THandlerDepth {
public:
  THandlerDepth();
  ~THandlerDepth();
  THandlerDepth(const THandlerDepth &) = delete;
  THandlerDepth &operator=(const THandlerDepth &) = delete;
};
// Throws TChartWalkRestart when the chart changed since `before` and a walk
// runs at the current handler depth (not one entered inside the handler).
void RestartIfChanged(unsigned long long before);
bool WalkRunsHere();

class TWalkOwner {
public:
  TWalkOwner();
  ~TWalkOwner();
  TWalkOwner(const TWalkOwner &) = delete;
  TWalkOwner &operator=(const TWalkOwner &) = delete;

private:
  int m_saved;
};
} // namespace chart_walks

// Calls a handler from inside a walk; returns what the handler returns.
template <class Fn> decltype(auto) CallOut(Fn &&fn) {
  const unsigned long long before = TChartChanges::Count();
  if constexpr (std::is_void_v<std::invoke_result_t<Fn>>) {
    {
      chart_walks::THandlerDepth depth;
      std::forward<Fn>(fn)();
    }
    chart_walks::RestartIfChanged(before);
  } else {
    std::invoke_result_t<Fn> result = [&]() -> std::invoke_result_t<Fn> {
      chart_walks::THandlerDepth depth;
      return std::forward<Fn>(fn)();
    }();
    chart_walks::RestartIfChanged(before);
    return result;
  }
}

// Calls a handler between the steps of a walk, where the walk holds nothing
// a change could spoil (it rereads what it needs afterwards).
template <class Fn> void CallOutBetweenSteps(Fn &&fn) {
  chart_walks::THandlerDepth depth;
  std::forward<Fn>(fn)();
}

// The most runs of one walk: handlers that change the chart every time they
// are called end it after this many.
constexpr int MostWalkRuns = 4;

// Runs a walk. Inside an enclosing walk at the same handler depth it is part
// of that walk and just runs (a restart starts the enclosing one over).
// Otherwise it owns the restarts: before each further run, `again` sets up a
// fresh start. False when the walk did not get to its end.
template <class Body, class Again> bool RunWalk(Body &&body, Again &&again) {
  if (chart_walks::WalkRunsHere()) {
    body();
    return true;
  }
  chart_walks::TWalkOwner owner;
  for (int run = 0; run < MostWalkRuns; ++run) {
    try {
      if (run > 0)
        again();
      body();
      return true;
    } catch (const TChartWalkRestart &) {
    }
  }
  return false;
}
template <class Body> bool RunWalk(Body &&body) {
  return RunWalk(std::forward<Body>(body), [] {});
}
