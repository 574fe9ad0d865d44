#pragma once
// Where the news window was and how it was split, kept in section "News" of
// the settings file: "NWINX", "NWINY", "NWINW", "NWINH" (integers), "NSPLIT"
// (the headline area's share in per cent, as text) and "NSTATE" ("MX" when
// maximised, else "NO").
#include <QRect>
#include <QSize>

class TMyIniFile;

struct TNewsWindowPlace {
  QRect Frame;
  double Split = 50.0;
  bool Maximized = false;
};

// Reads the place; a missing key takes the designed size centred on the
// screen, a split that is no number or lies outside 15 .. 90 is held to it
// (50 when no number).
TNewsWindowPlace ReadNewsWindowPlace(const TMyIniFile &ini, QSize designed, QSize screen);
// Writes the place; "NSPLIT" only outside two-pane mode. False when the file
// could not be written.
bool WriteNewsWindowPlace(TMyIniFile &ini, const TNewsWindowPlace &place, bool twoPane);
// The split as "NSPLIT" holds it.
std::string NewsSplitText(double split);
