#include "chartengine/engine/ChartWalks.h"

namespace {
thread_local unsigned long long changes = 0;
// Handlers running on this thread, one inside the other.
thread_local int handlerDepth = 0;
// The handler depth at which the innermost owning walk runs; -1 for none.
thread_local int walkDepth = -1;
} // namespace

void TChartChanges::Note() { ++changes; }

unsigned long long TChartChanges::Count() { return changes; }

namespace chart_walks {

THandlerDepth::THandlerDepth() { ++handlerDepth; }
THandlerDepth::~THandlerDepth() { --handlerDepth; }

bool WalkRunsHere() { return walkDepth == handlerDepth; }

void RestartIfChanged(unsigned long long before) {
  if (changes != before && WalkRunsHere())
    throw TChartWalkRestart{};
}

TWalkOwner::TWalkOwner() : m_saved(walkDepth) { walkDepth = handlerDepth; }
TWalkOwner::~TWalkOwner() { walkDepth = m_saved; }

} // namespace chart_walks
