#pragma once
#include "core/CriticalSection.h"

#include <string>
#include <vector>

class TMyIniFile;

// Program-wide display values. The live record is read by any thread as a
// snapshot (CurrentDisplaySettings) and replaced as a whole; the preferences
// dialog edits a pending copy and applies it.
struct TDisplaySettings {
  // Price that values a portfolio ("Calculate Portfolio Total Based On:").
  enum { PriceLast = 0, PriceBid = 1, PriceAsk = 2 };
  int ValuationPrice = PriceLast;

  // [Misc] switches of the grid painter ("YES"/"NO").
  bool Stripes = true;
  bool HighBidAsk = true; // "Dynamic Bid/Ask Highlight"
  bool Highs = true;
  bool Lows = true;
  bool SolidHL = true;
  bool HiWhole = true;
  bool NoSign = false;
  bool Fractions = false; // prices shown as fractions

  // News settings (section "News"; rules in section "ExNews").
  std::string NewsSource; // .NWS file name, up to 255 characters
  int HighRefresh = 15;   // minutes, high-priority symbols
  int LowRefresh = 60;    // minutes, other symbols
  int MaxItems = 50;      // items kept per symbol
  bool FilterTitles = true;
  bool SingleClick = true; // a single click on a news bulb opens the news window
  bool NewsOn = true;
  bool TwoPanes = false;
  std::string HighPriority;              // upper-case symbols separated by blanks
  std::vector<std::string> ExcludeRules; // "S:", "T:" or "U:" + expression

  // Added to quote and news times before they are shown (days; the current
  // site's GMTOFFSET). Not stored in the settings file.
  double DisplayTimeOffset = 0.0;
};

// Snapshot of the live record; safe from any thread.
TDisplaySettings CurrentDisplaySettings();
// Replaces the live record.
void SetDisplaySettings(const TDisplaySettings &settings);
// The fraction display flag of the live record, without copying the record.
bool FractionDisplay();
void SetFractionDisplay(bool on);

// The preferences dialog's copy (window thread only). Begin copies the live
// record into it; Apply makes it the live record. The copy owns its own rule
// list, so edits reach the live record only through Apply.
TDisplaySettings &PendingDisplaySettings();
void BeginPendingDisplaySettings();
void ApplyPendingDisplaySettings();

// Settings file form: [Misc] Stripes, HighBidAsk, Highs, Lows, SolidHL,
// HiWhole, NoSign, Fractions ("YES"/"NO", true exactly for "YES"), [Misc]
// PortTotalPrice (0..2); [News] Source, Refresh, LowRefresh, MaxItems,
// HighPriority, FilterTitles, SingleClick, On, TwoPane; [ExNews] Count and
// Rule1..RuleN.
TDisplaySettings ReadDisplaySettings(const TMyIniFile &ini);
bool WriteDisplaySettings(TMyIniFile &ini, const TDisplaySettings &settings);
// Reads the live record from SettingsFile() (keeps DisplayTimeOffset).
void LoadDisplaySettings();

// The updated-portfolios text: portfolio keys, each as " " + key + " ",
// appended by the grid fill and taken by the main window's heartbeat timer,
// under the lock "SPORT".
MyCriticalSection &UpdatedPortfoliosLock();
// Appends " " + key + " " (lock tag given by the caller). False when the lock
// was not taken.
bool AppendUpdatedPortfolio(const std::string &key, const std::string &tag = "PU");
// The keys in the text, in order, and empties it. Empty when the lock was not taken.
std::vector<std::string> TakeUpdatedPortfolios(const std::string &tag = "SPRT");
// The raw text (tests and diagnostics).
std::string UpdatedPortfoliosText();

// The market index symbols separated by blanks.
std::string IndexSymbolsText();
void SetIndexSymbolsText(const std::string &text);
