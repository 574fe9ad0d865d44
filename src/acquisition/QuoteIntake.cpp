#include "acquisition/QuoteIntake.h"

#include "acquisition/UpdatedSymbols.h"
#include "core/CommandLine.h"
#include "core/DisplaySettings.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "core/StringRoutines.h"
#include "platform/StringUtils.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>
#include <system_error>

namespace {

// A larger file is not a quote list; reading it would only stall the window.
constexpr std::uintmax_t MaxQuoteFileBytes = 16u * 1024u * 1024u;

// A file's size and modification time identify its content only once the
// time is older than the coarsest time-stamp granularity of file systems.
constexpr std::chrono::seconds SettledStampAge{2};

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
  if (q.Last != 0) {
    q.High = q.High != 0 ? std::max(q.High, q.Last) : q.Last;
    q.Low = q.Low != 0 ? std::min(q.Low, q.Last) : q.Last;
  }
  if (q.Volume > 0)
    q.Volume += 100.0 * (1 + random(10));
}

// ---- The intake -----------------------------------------------------------------------

QuoteIntake::QuoteIntake() { SetRandomSource(nullptr); }

std::string QuoteIntake::FileName() { return ProgramFolder() + QuoteFileName; }

bool QuoteIntake::Demo() const { return m_demo.value_or(CommandLine().Demo); }

void QuoteIntake::SetRandomSource(RandomSource source) {
  if (source)
    m_random = std::move(source);
  else
    m_random = [](int n) { return SafeRandom(n, true); };
}

void QuoteIntake::Reset() {
  m_stamp.reset();
  m_stampSettled = false;
  m_hash = 0;
  m_haveHash = false;
  m_reportedMissing = false;
  m_errors.clear();
  m_known.clear();
  m_knownIndex.clear();
}

void QuoteIntake::LogError(const std::string &text) const {
  if (LoggingOn)
    WriteLog("QuoteIntake Error: " + text, 0);
}

bool QuoteIntake::ReadIfChanged(std::vector<QuoteCsvRow> &rows) {
  namespace fs = std::filesystem;
  const std::string name = FileName();
  const fs::path path(name);

  // The stamp is taken before reading: a write during the read changes it
  // again, and the next refresh reads the file once more.
  FileStamp stamp;
  std::error_code ec;
  stamp.exists = fs::is_regular_file(path, ec);
  if (stamp.exists) {
    stamp.size = fs::file_size(path, ec);
    if (ec)
      stamp.size = 0;
    const auto mtime = fs::last_write_time(path, ec);
    if (!ec)
      stamp.mtimeNs =
          std::chrono::duration_cast<std::chrono::nanoseconds>(mtime.time_since_epoch()).count();
  }
  // A file modified within the file system's time-stamp granularity may be
  // rewritten with the same size and time; such a stamp is trusted only once
  // it is old enough, until then the content decides.
  if (m_stamp && *m_stamp == stamp && m_stampSettled)
    return false;
  m_stamp = stamp;
  m_stampSettled = stamp.exists && fs::file_time_type::clock::now().time_since_epoch() -
                                           std::chrono::nanoseconds(stamp.mtimeNs) >
                                       SettledStampAge;

  if (!stamp.exists) {
    // No feed is a normal state; say so once until the file appears.
    if (!m_reportedMissing && LoggingOn)
      WriteLog("QuoteIntake: no " + std::string(QuoteFileName) + " in " + ProgramFolder(), 1);
    m_reportedMissing = true;
    m_haveHash = false;
    return false;
  }
  m_reportedMissing = false;

  if (stamp.size > MaxQuoteFileBytes) {
    m_errors = {QuoteCsvError{0, std::string(QuoteFileName) + " is larger than " +
                                     std::to_string(MaxQuoteFileBytes / (1024 * 1024)) +
                                     " MB; not read"}};
    LogError(m_errors.front().Text());
    m_haveHash = false;
    return false;
  }

  QFile file(QString::fromStdString(name));
  if (!file.open(QIODevice::ReadOnly)) {
    m_errors = {QuoteCsvError{0, "cannot read " + std::string(QuoteFileName) + ": " +
                                     file.errorString().toStdString()}};
    LogError(m_errors.front().Text());
    m_stamp.reset(); // try again at the next refresh
    return false;
  }
  // What the file holds, not a buffer of the size cap: a file that grew past
  // the cap since its stamp was taken is refused below.
  const QByteArray bytes = file.readAll();
  if (std::uintmax_t(bytes.size()) > MaxQuoteFileBytes) {
    m_errors = {QuoteCsvError{0, std::string(QuoteFileName) + " is larger than " +
                                     std::to_string(MaxQuoteFileBytes / (1024 * 1024)) +
                                     " MB; not read"}};
    LogError(m_errors.front().Text());
    m_stamp.reset(); // look again at the next refresh
    m_haveHash = false;
    return false;
  }
  const std::string text(bytes.constData(), std::size_t(bytes.size()));
  const std::size_t hash = std::hash<std::string>{}(text);
  if (m_haveHash && hash == m_hash)
    return false; // touched, not changed
  m_hash = hash;
  m_haveHash = true;

  ++m_readCount;
  QuoteCsvResult parsed = ParseQuoteCsv(text);
  m_errors = std::move(parsed.Errors);
  for (const QuoteCsvError &e : m_errors)
    LogError(std::string(QuoteFileName) + " " + e.Text());
  if (LoggingOn)
    WriteLog("QuoteIntake: read " + std::string(QuoteFileName) + ", " +
                 std::to_string(parsed.Rows.size()) + " quotes, " +
                 std::to_string(m_errors.size()) + " errors",
             1);
  rows = std::move(parsed.Rows);
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
      if (StoreQuote(q.Symbol, ToFields(q, now)) < 0)
        continue; // logged by the store; the next move starts from the stored quote
      if (q.HasFund)
        StoreFundamentals(q.Symbol, q.Fund);
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
