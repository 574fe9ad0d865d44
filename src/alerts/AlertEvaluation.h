#pragma once
#include "platform/DateTime.h"

#include <functional>
#include <string>
#include <vector>

class AlertSystemClass;
class Clock;
class TPendingAlertQueue;

// Values closer than this count as equal when prices and column values are
// compared with an alert's limit.
constexpr double AlertValueTolerance = 1e-5;

// What one evaluation pass did.
struct AlertPassOutcome {
  // Some evaluated alert has its flash action in effect: the main window
  // blinks in this pass.
  bool Flash = false;
  // Alerts whose ticks or news were looked at.
  int Evaluated = 0;
  // IDs of the alerts that triggered, in the order they did.
  std::vector<std::string> Triggered;
  // Of those, the IDs the full pending queue could not take.
  std::vector<std::string> Dropped;
  // An error ended the walk early (logged).
  bool Aborted = false;
};

// One evaluation pass over the alert store: every enabled alert of a symbol
// named in the updated-symbols text whose repeat threshold has passed is
// compared with the ticks that arrived since it was last evaluated (price and
// column alerts) or with its symbol's news (news alerts). Triggered IDs go to
// the pending queue, which never waits for the window thread.
//
// Per alert the pass holds the store lock ("EXEC") and the symbol's tick-list
// lock ("ALRT1"), both through scoped guards; the news look-up takes the news
// list's lock inside them. The alert's index is checked against the store's
// count under the lock at every step, so alerts deleted meanwhile are skipped.
class TAlertPass {
public:
  TAlertPass(AlertSystemClass &store, TPendingAlertQueue &queue, const Clock &clock);

  // updatedSymbols: a set text of "|" + symbol + "|" entries (updated-symbol
  // set 5). repeatMinutes: an alert that triggered this many minutes ago or
  // less is not evaluated (settings "Alert"/"Length").
  AlertPassOutcome Run(const std::string &updatedSymbols, int repeatMinutes);

  // Program log lines of the pass go here; by default to the program log
  // when logging is on.
  std::function<void(const std::string &line)> OnLog;
  // Called after each step, with the alert index, once its locks are released.
  std::function<void(int index)> AfterStep;

private:
  AlertSystemClass &m_store;
  TPendingAlertQueue &m_queue;
  const Clock &m_clock;
};
