#include "core/DisplaySettings.h"

#include "core/IniFile.h"
#include "core/StringRoutines.h"

#include <atomic>
#include <mutex>

namespace {

std::mutex g_mutex; // guards g_live and g_indexSymbols
TDisplaySettings g_live;
std::atomic<bool> g_fractions{false};
TDisplaySettings g_pending;
std::string g_indexSymbols;

std::string g_updatedPortfolios; // under UpdatedPortfoliosLock()

bool ReadYes(const TMyIniFile &ini, const char *section, const char *key, bool def) {
  return ini.ReadString(section, key, YesNo(def)) == "YES";
}

} // namespace

TDisplaySettings CurrentDisplaySettings() {
  std::lock_guard<std::mutex> l(g_mutex);
  return g_live;
}

void SetDisplaySettings(const TDisplaySettings &settings) {
  TDisplaySettings copy = settings;
  copy.NewsSource = copy.NewsSource.substr(0, 255);
  std::lock_guard<std::mutex> l(g_mutex);
  g_live = std::move(copy);
  g_fractions = g_live.Fractions;
}

bool FractionDisplay() { return g_fractions; }

void SetFractionDisplay(bool on) {
  std::lock_guard<std::mutex> l(g_mutex);
  g_live.Fractions = on;
  g_fractions = on;
}

TDisplaySettings &PendingDisplaySettings() { return g_pending; }

void BeginPendingDisplaySettings() { g_pending = CurrentDisplaySettings(); }

void ApplyPendingDisplaySettings() { SetDisplaySettings(g_pending); }

TDisplaySettings ReadDisplaySettings(const TMyIniFile &ini) {
  TDisplaySettings s;
  s.Stripes = ReadYes(ini, "Misc", "Stripes", true);
  s.HighBidAsk = ReadYes(ini, "Misc", "HighBidAsk", true);
  s.Highs = ReadYes(ini, "Misc", "Highs", true);
  s.Lows = ReadYes(ini, "Misc", "Lows", true);
  s.SolidHL = ReadYes(ini, "Misc", "SolidHL", true);
  s.HiWhole = ReadYes(ini, "Misc", "HiWhole", true);
  s.NoSign = ReadYes(ini, "Misc", "NoSign", false);
  s.Fractions = ReadYes(ini, "Misc", "Fractions", false);
  const int price = ini.ReadInteger("Misc", "PortTotalPrice", TDisplaySettings::PriceLast);
  s.ValuationPrice = price >= 0 && price <= 2 ? price : TDisplaySettings::PriceLast;

  s.NewsSource = ini.ReadString("News", "Source", "").substr(0, 255);
  s.HighRefresh = ini.ReadInteger("News", "Refresh", s.HighRefresh);
  s.LowRefresh = ini.ReadInteger("News", "LowRefresh", s.LowRefresh);
  s.MaxItems = ini.ReadInteger("News", "MaxItems", s.MaxItems);
  s.HighPriority = ini.ReadString("News", "HighPriority", "");
  s.FilterTitles = ReadYes(ini, "News", "FilterTitles", s.FilterTitles);
  s.SingleClick = ReadYes(ini, "News", "SingleClick", s.SingleClick);
  s.NewsOn = ReadYes(ini, "News", "On", s.NewsOn);
  s.TwoPanes = ReadYes(ini, "News", "TwoPane", s.TwoPanes);
  const int count = ini.ReadInteger("ExNews", "Count", 0);
  for (int i = 1; i <= count && i <= 10000; ++i) {
    const std::string rule = ini.ReadString("ExNews", "Rule" + std::to_string(i), "");
    if (!rule.empty())
      s.ExcludeRules.push_back(rule);
  }
  return s;
}

bool WriteDisplaySettings(TMyIniFile &ini, const TDisplaySettings &s) {
  // One save for all of them (none when nothing changed).
  std::vector<TMyIniFile::TIniChange> changes;
  auto put = [&](const char *section, const std::string &key, const std::string &value) {
    changes.push_back({section, key, value});
  };
  auto yes = [&](const char *section, const char *key, bool v) { put(section, key, YesNo(v)); };
  auto number = [&](const char *section, const char *key, int v) {
    put(section, key, std::to_string(v));
  };
  yes("Misc", "Stripes", s.Stripes);
  yes("Misc", "HighBidAsk", s.HighBidAsk);
  yes("Misc", "Highs", s.Highs);
  yes("Misc", "Lows", s.Lows);
  yes("Misc", "SolidHL", s.SolidHL);
  yes("Misc", "HiWhole", s.HiWhole);
  yes("Misc", "NoSign", s.NoSign);
  yes("Misc", "Fractions", s.Fractions);
  number("Misc", "PortTotalPrice", s.ValuationPrice);
  put("News", "Source", s.NewsSource.substr(0, 255));
  number("News", "Refresh", s.HighRefresh);
  number("News", "LowRefresh", s.LowRefresh);
  number("News", "MaxItems", s.MaxItems);
  put("News", "HighPriority", s.HighPriority);
  yes("News", "FilterTitles", s.FilterTitles);
  yes("News", "SingleClick", s.SingleClick);
  yes("News", "On", s.NewsOn);
  yes("News", "TwoPane", s.TwoPanes);
  changes.push_back({"ExNews", "", "", true});
  number("ExNews", "Count", int(s.ExcludeRules.size()));
  for (std::size_t i = 0; i < s.ExcludeRules.size(); ++i)
    put("ExNews", "Rule" + std::to_string(i + 1), s.ExcludeRules[i]);
  return ini.WriteValues(changes);
}

void LoadDisplaySettings() {
  TDisplaySettings s = ReadDisplaySettings(SettingsFile());
  s.DisplayTimeOffset = CurrentDisplaySettings().DisplayTimeOffset;
  SetDisplaySettings(s);
}

MyCriticalSection &UpdatedPortfoliosLock() {
  static MyCriticalSection lock("SPORT");
  return lock;
}

bool AppendUpdatedPortfolio(const std::string &key, const std::string &tag) {
  MyLockGuard guard(UpdatedPortfoliosLock(), tag);
  if (!guard.Owns())
    return false;
  g_updatedPortfolios += " " + key + " ";
  return true;
}

std::vector<std::string> TakeUpdatedPortfolios(const std::string &tag) {
  std::string text;
  {
    MyLockGuard guard(UpdatedPortfoliosLock(), tag);
    if (!guard.Owns())
      return {};
    text.swap(g_updatedPortfolios);
  }
  std::vector<std::string> keys;
  std::string word;
  for (char c : text + " ") {
    if (c == ' ') {
      if (!word.empty())
        keys.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  return keys;
}

std::string UpdatedPortfoliosText() {
  MyLockGuard guard(UpdatedPortfoliosLock(), "SPRT");
  return guard.Owns() ? g_updatedPortfolios : std::string();
}

std::string IndexSymbolsText() {
  std::lock_guard<std::mutex> l(g_mutex);
  return g_indexSymbols;
}

void SetIndexSymbolsText(const std::string &text) {
  std::lock_guard<std::mutex> l(g_mutex);
  g_indexSymbols = text;
}
