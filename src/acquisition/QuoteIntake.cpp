#include "acquisition/QuoteIntake.h"

#include "acquisition/UpdatedSymbols.h"
#include "core/CommandLine.h"
#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "core/StringRoutines.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>

namespace {

std::atomic<int> g_readWaitMs{DefaultQuoteReadWaitMs};

// The sets a stored quote is marked in: grid, watch list, ticker, alerts.
constexpr int QuoteSets[] = {usMainGrid, usWatchList, usTicker, usAlerts};

bool IsIndexSymbol(const std::string &symbol) {
  const std::string padded = " " + UpperCase(IndexSymbolsText()) + " ";
  return padded.find(" " + UpperCase(symbol) + " ") != std::string::npos;
}

// Four decimals are plenty for a price; rounding keeps a long demo walk
// from collecting binary fractions.
double RoundPrice(double p) { return std::round(p * 10000.0) / 10000.0; }

QuoteFields ToFields(const QuoteCsvRow &q, TDateTime now) {
  QuoteFields f;
  f.Kind = IsIndexSymbol(q.Symbol) ? KindIndex : KindStock;
  f.Last = q.Last;
  f.Bid = q.Bid;
  f.Ask = q.Ask;
  f.Volume = q.Volume;
  f.High = q.High;
  f.Low = q.Low;
  f.PrevClose = q.PrevClose;
  f.BidSize = q.BidSize;
  f.AskSize = q.AskSize;
  f.Given = q.Given;
  switch (q.TimeKind) {
  case QuoteTimeKind::None:
    f.QuoteTime = now;
    f.DayStamp = now;
    break;
  case QuoteTimeKind::TimeOfDay:
    f.QuoteTime = q.Time;
    f.DayStamp = now;
    break;
  case QuoteTimeKind::DateTime:
    f.QuoteTime = q.Time;
    f.DayStamp = q.Time;
    break;
  }
  return f;
}

} // namespace

// ---- Demo moves ---------------------------------------------------------------------

void MoveDemoQuote(QuoteCsvRow &q, const QuoteIntake::RandomSource &random) {
  const double step = random(100) / 100.0 - 0.50;
  auto move = [step](double &price) {
    if (price != 0)
      price = std::max(DemoMinPrice, RoundPrice(price + step));
  };
  move(q.Last);
  move(q.Bid);
  move(q.Ask);
  // The day's high and low move only where the feed gives them.
  if (q.Last != 0) {
    if (q.Given & qpHigh)
      q.High = q.High != 0 ? std::max(q.High, q.Last) : q.Last;
    if (q.Given & qpLow)
      q.Low = q.Low != 0 ? std::min(q.Low, q.Last) : q.Last;
  }
  if (q.Volume > 0)
    q.Volume += 100.0 * (1 + random(10));
}

// ---- The intake -----------------------------------------------------------------------

QuoteIntake::QuoteIntake() : m_reader(std::make_unique<QuoteFileReader>()) {
  SetRandomSource(nullptr);
}

QuoteIntake::~QuoteIntake() = default;

int QuoteIntake::QuoteReadWaitMs() { return g_readWaitMs; }

void QuoteIntake::SetQuoteReadWaitMs(int ms) { g_readWaitMs = ms; }

std::string QuoteIntake::FileName() { return ProgramFolder() + QuoteFileName; }

bool QuoteIntake::Demo() const { return m_demo.value_or(CommandLine().Demo); }

void QuoteIntake::SetRandomSource(RandomSource source) {
  if (source)
    m_random = std::move(source);
  else
    m_random = [](int n) { return SafeRandom(n, true); };
}

void QuoteIntake::Reset() {
  m_reader->Reset();
  m_errors.clear();
  m_known.clear();
  m_knownIndex.clear();
}

void QuoteIntake::LogError(const std::string &text) const {
  if (LoggingOn)
    WriteLog("QuoteIntake Error: " + text, 0);
}

void QuoteIntake::LogErrors(const std::vector<QuoteCsvError> &errors) const {
  if (!LoggingOn)
    return;
  // A broken feed may hold a bad line for every quote: the first few say
  // what is wrong, the count says how much.
  const std::size_t listed = std::min(errors.size(), MaxLoggedQuoteErrors);
  for (std::size_t i = 0; i < listed; ++i)
    LogError(std::string(QuoteFileName) + " " + errors[i].Text());
  if (errors.size() > listed)
    LogError(std::string(QuoteFileName) + ": " + std::to_string(errors.size() - listed) +
             " more errors not listed");
}

bool QuoteIntake::ReadIfChanged(std::vector<QuoteCsvRow> &rows) {
  m_reader->Request(FileName());
  std::optional<QuoteFileLook> look = m_reader->Take(QuoteReadWaitMs());
  if (!look)
    return false; // still reading: the next refresh takes it
  switch (look->What) {
  case QuoteFileLook::Kind::Unchanged:
    return false;
  case QuoteFileLook::Kind::Missing:
    if (look->FirstMissing && LoggingOn)
      WriteLog("QuoteIntake: no " + std::string(QuoteFileName) + " in " + ProgramFolder(), 1);
    return false;
  case QuoteFileLook::Kind::Refused:
    m_errors = std::move(look->Errors);
    for (const QuoteCsvError &e : m_errors)
      LogError(e.Text()); // it names the file itself
    return false;
  case QuoteFileLook::Kind::Parsed:
    break;
  }
  ++m_readCount;
  m_errors = std::move(look->Errors);
  LogErrors(m_errors);
  if (look->Rows.size() >= MaxQuoteSymbols)
    for (const QuoteCsvError &e : m_errors)
      if (e.LineNumber == 0)
        ShowStatusMsg(std::string(QuoteFileName) + ": " + e.Message);
  if (LoggingOn)
    WriteLog("QuoteIntake: read " + std::string(QuoteFileName) + ", " +
                 std::to_string(look->Rows.size()) + " quotes, " + std::to_string(m_errors.size()) +
                 " errors",
             1);
  rows = std::move(look->Rows);
  return true;
}

std::vector<std::string> QuoteIntake::Refresh() {
  std::vector<std::string> stored;
  try {
    const bool demo = Demo();
    std::vector<QuoteCsvRow> fresh;
    ReadIfChanged(fresh);

    // The quotes of this refresh: the new ones, or with DEMO every known one.
    std::vector<std::size_t> due;
    for (QuoteCsvRow &row : fresh) {
      const auto [it, added] = m_knownIndex.emplace(row.Symbol, m_known.size());
      if (added)
        m_known.push_back(std::move(row));
      else
        m_known[it->second] = std::move(row);
      if (!demo)
        due.push_back(it->second);
    }
    if (demo) {
      for (std::size_t i = 0; i < m_known.size(); ++i)
        due.push_back(i);
    }
    if (due.empty())
      return stored;
    if (!demo) {
      // File order (a symbol known before keeps its old place in m_known).
      std::sort(due.begin(), due.end(), [this](std::size_t a, std::size_t b) {
        return m_known[a].LineNumber < m_known[b].LineNumber;
      });
    }

    const TDateTime now = EasternNow();
    for (std::size_t i : due) {
      QuoteCsvRow q = m_known[i];
      if (demo)
        MoveDemoQuote(q, m_random);
      // A line that gives no quote column (fundamentals only) is no quote.
      if (q.Given != 0 && StoreQuote(q.Symbol, ToFields(q, now)) < 0)
        continue; // logged by the store; the next move starts from the stored quote
      if (q.HasFund && StoreFundamentals(q.Symbol, q.Fund, q.FundGiven) < 0 && q.Given == 0)
        continue;
      // The file's quote time holds once; a repeat is a quote of now.
      q.TimeKind = QuoteTimeKind::None;
      m_known[i] = q;
      for (int set : QuoteSets)
        MarkSymbolUpdated(set, q.Symbol);
      stored.push_back(q.Symbol);
    }
  } catch (const std::exception &e) {
    LogError(std::string("Refresh ") + e.what());
  } catch (...) {
    LogError("Refresh unknown exception");
  }
  return stored;
}

// ---- Refresh interval ---------------------------------------------------------------

int RefreshIntervalMs(const TMyIniFile &settings) {
  const int secs = settings.ReadInteger(RefreshSection, RefreshKey, DefaultRefreshSecs);
  return std::clamp(secs, MinRefreshSecs, MaxRefreshSecs) * 1000;
}

int RefreshIntervalMs() { return RefreshIntervalMs(SettingsFile()); }

QuoteIntake &AppQuoteIntake() {
  static QuoteIntake intake;
  return intake;
}
