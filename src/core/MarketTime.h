#pragma once
#include "platform/DateTime.h"

// The current date-time in the market's time zone (America/New_York), from
// AppClock().NowUtc(), in days.
TDateTime EasternNow();
// A UTC date-time converted to the market's time zone. Uses the system's
// time-zone data; without it, the United States rules in force since 2007.
TDateTime UtcToEastern(TDateTime utc);
// The same by the built-in rules only (the fallback; tests compare both).
TDateTime UtcToEasternByRules(TDateTime utc);
