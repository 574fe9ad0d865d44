#include "acquisition/NewsIntake.h"

#include "acquisition/NewsThreadState.h"
#include "acquisition/UpdatedSymbols.h"
#include "core/DisplaySettings.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "core/NewsStore.h"
#include "core/Portfolio.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "core/StringRoutines.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

// The sets a symbol with new news is marked in: grid, watch list, news
// window, ticker, alerts.
constexpr int NewsSets[] = {usMainGrid, usWatchList, usNewsWindow, usTicker, usAlerts};

void LogError(const std::string &text) {
  if (LoggingOn)
    WriteLog("NewsIntake Error: " + text, 0);
}

// What tells two items apart: times come in whole minutes and links may be
// empty, so two headlines of one symbol and minute differ only by their titles.
std::string TakenKey(const NewsCsvRow &row) {
  // Times in whole seconds: the file gives no finer ones. The fields hold no
  // line feeds, so the separator keeps them apart.
  return row.Symbol + '\n' + std::to_string(std::llround(row.Time * 86400.0)) + '\n' + row.Link +
         '\n' + row.Title;
}

constexpr const char *DemoTitles[] = {
    "%s shares move on heavy volume",
    "Analysts revisit their targets for %s",
    "%s announces a conference call with investors",
    "Options traders turn to %s ahead of earnings",
    "%s named in an industry outlook report",
    "What the latest filing says about %s",
};

} // namespace

NewsIntake::NewsIntake() { SetRandomSource(nullptr); }

NewsIntake::~NewsIntake() = default;

std::string NewsIntake::FileName() { return ProgramFolder() + NewsFileName; }

void NewsIntake::SetRandomSource(RandomSource source) {
  if (source)
    m_random = std::move(source);
  else
    m_random = [](int n) { return SafeRandom(n, true); };
}

std::vector<QuoteCsvError> NewsIntake::Errors() const {
  std::lock_guard lock(m_errorMutex);
  return m_errors;
}

void NewsIntake::SetErrors(std::vector<QuoteCsvError> errors) {
  std::lock_guard lock(m_errorMutex);
  m_errors = std::move(errors);
}

void NewsIntake::Reset() {
  m_file.reset();
  m_taken.clear();
  m_demoCount = 0;
  m_reportedMissing = false;
  m_readCount = 0;
  m_lookCount = 0;
  SetErrors({});
}

bool NewsIntake::Add(const std::string &symbol, const IncomingNews &item,
                     const TDisplaySettings &settings) {
  NewsAddOutcome outcome{};
  AddNews(symbol, item, settings.ExcludeRules, settings.MaxItems, &outcome);
  return outcome == NewsAddOutcome::Added;
}

std::vector<std::string> NewsIntake::Read(bool force,
                                          const std::function<void(const std::string &)> &report) {
  ++m_lookCount;
  std::vector<std::string> fresh;
  try {
    const std::string name = FileName();
    if (!m_file || m_file->Path() != name) {
      m_file = std::make_unique<ChangedFile>(name, MaxNewsFileBytes);
      m_taken.clear();
    }
    const ChangedFile::Outcome outcome = m_file->Read(force);
    auto fileError = [&](const std::string &message) {
      SetErrors({QuoteCsvError{0, message}});
      LogError(message);
      if (report)
        report(message);
    };
    switch (outcome) {
    case ChangedFile::Outcome::Unchanged:
      return fresh;
    case ChangedFile::Outcome::Missing:
      // No feed is a normal state; say so once until the file appears.
      if (!m_reportedMissing && LoggingOn)
        WriteLog("NewsIntake: no " + std::string(NewsFileName) + " in " + ProgramFolder(), 1);
      m_reportedMissing = true;
      return fresh;
    case ChangedFile::Outcome::TooLarge:
    case ChangedFile::Outcome::Failed:
      // Said once until the file changes (or fails for another reason); a
      // Force asks again, and hears it again.
      if (!force && !m_file->NewRefusal())
        return fresh;
      if (outcome == ChangedFile::Outcome::Failed) {
        fileError("cannot read " + std::string(NewsFileName) + ": " + m_file->Error());
        return fresh;
      }
      fileError(std::string(NewsFileName) + " is larger than " +
                std::to_string(MaxNewsFileBytes / (1024 * 1024)) + " MB; not read");
      return fresh;
    case ChangedFile::Outcome::Changed:
      break;
    }
    m_reportedMissing = false;

    ++m_readCount;
    NewsCsvResult parsed = ParseNewsCsv(m_file->TakeText());
    for (const QuoteCsvError &e : parsed.Errors)
      LogError(std::string(NewsFileName) + " " + e.Text());
    if (report && !parsed.Errors.empty()) {
      std::string text = std::string(NewsFileName) + " " + parsed.Errors.front().Text();
      if (parsed.Errors.size() > 1)
        text += " (" + std::to_string(parsed.Errors.size()) + " errors)";
      report(text);
    }
    const std::size_t errors = parsed.Errors.size();
    SetErrors(std::move(parsed.Errors));

    const TDisplaySettings settings = CurrentDisplaySettings();
    const TDateTime now = EasternNow();
    std::unordered_set<std::string> taken;
    std::unordered_set<std::string> checked;
    std::unordered_set<std::string> freshSet;
    std::string fetching;
    int busy = 0; // items a busy lock kept out
    for (const NewsCsvRow &row : parsed.Rows) {
      if (row.Symbol != fetching) {
        fetching = row.Symbol;
        SetSymbolBeingFetched(fetching);
      }
      std::string key = TakenKey(row);
      if (m_taken.count(key)) {
        taken.insert(std::move(key));
        continue;
      }
      IncomingNews item;
      item.Title = row.Title;
      item.Link = row.Link;
      item.Source = row.Source;
      item.Date = row.Time;
      NewsAddOutcome outcome{};
      AddNews(row.Symbol, item, settings.ExcludeRules, settings.MaxItems, &outcome);
      switch (outcome) {
      case NewsAddOutcome::Added:
        if (freshSet.insert(row.Symbol).second)
          fresh.push_back(row.Symbol);
        taken.insert(std::move(key));
        break;
      case NewsAddOutcome::Known:
        taken.insert(std::move(key));
        break;
      case NewsAddOutcome::Dropped: // looked at again when the file changes
        break;
      case NewsAddOutcome::Busy:
        ++busy;
        break;
      }
      checked.insert(row.Symbol);
    }
    SetSymbolBeingFetched("");
    // Items a busy lock kept out come with the next read, changed file or not.
    if (busy > 0)
      m_file->Reset();
    // Only the file's items are remembered: the set never outgrows the file.
    m_taken = std::move(taken);
    for (const std::string &symbol : checked)
      if (!freshSet.count(symbol))
        SetLastNewsCheck(symbol, now);
    AnnounceNews(fresh, now);
    if (LoggingOn)
      WriteLog("NewsIntake: read " + std::string(NewsFileName) + ", " +
                   std::to_string(parsed.Rows.size()) + " items, " + std::to_string(fresh.size()) +
                   " symbols with new items, " + std::to_string(errors) + " errors",
               1);
  } catch (const std::exception &e) {
    SetSymbolBeingFetched("");
    LogError(std::string("Read ") + e.what());
  } catch (...) {
    SetSymbolBeingFetched("");
    LogError("Read unknown exception");
  }
  return fresh;
}

std::string NewsIntake::AddDemoItem() {
  try {
    std::vector<std::string> symbols;
    {
      MyLockGuard port(PortListLock, "NDEMO", true);
      if (!port.Owns())
        return {};
      if (const PortType *portfolio = PortfolioList.At(CurrentPortfolio.load()))
        for (const PortPosition &p : portfolio->Positions)
          if (IsStockSymbol(p.Symbol))
            symbols.push_back(TMyStrList::KeyOf(p.Symbol));
    }
    if (symbols.empty())
      return {};
    const std::string symbol = symbols[std::size_t(m_random(int(symbols.size())))];
    const int titles = int(std::size(DemoTitles));
    const char *pattern = DemoTitles[std::size_t(m_random(titles))];
    const std::size_t at = std::string(pattern).find("%s");
    IncomingNews item;
    item.Title = std::string(pattern).replace(at, 2, symbol);
    item.Source = "Demo Wire";
    ++m_demoCount;
    // A reserved example domain: the link leads nowhere real.
    item.Link = "https://example.com/news/" + LowerCase(symbol) + "-" + std::to_string(m_demoCount);
    const TDateTime now = EasternNow();
    item.Date = now;
    SetSymbolBeingFetched(symbol);
    const bool added = Add(symbol, item, CurrentDisplaySettings());
    SetSymbolBeingFetched("");
    if (!added)
      return {};
    AnnounceNews({symbol}, now);
    return symbol;
  } catch (const std::exception &e) {
    SetSymbolBeingFetched("");
    LogError(std::string("AddDemoItem ") + e.what());
  }
  return {};
}

void AnnounceNews(const std::vector<std::string> &symbols, TDateTime now) {
  for (const std::string &symbol : symbols) {
    SetNewNews(symbol, true);
    SetLastNewsCheck(symbol, now);
    for (int set : NewsSets)
      MarkSymbolUpdated(set, symbol);
  }
}

NewsIntake &AppNewsIntake() {
  static NewsIntake intake;
  return intake;
}
