#include "core/PortfolioFile.h"

#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/PriceText.h"
#include "core/ProgramFolder.h"
#include "core/SaveFailureReport.h"
#include "core/StaleSaveFiles.h"
#include "core/StockInfo.h"
#include "platform/SaveFileWhole.h"
#include "platform/StringUtils.h"

#include <QFile>
#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr const char *kHeader = "TVPORT";
constexpr int kVersion = 1;
// A damaged field is quoted in the report with at most this many characters.
constexpr std::size_t kQuotedMax = 40;

std::string Quoted(const std::string &field) { return "\"" + CutTo(field, kQuotedMax) + "\""; }

// Tabs and line breaks would break the record; they become blanks.
std::string Clean(const std::string &s, std::size_t maxLength) {
  std::string out = CutTo(s, maxLength);
  for (char &c : out)
    if (c == '\t' || c == '\n' || c == '\r')
      c = ' ';
  return out;
}

template <typename T> std::string Number(T value) {
  if (value == 0 || !std::isfinite(value))
    return "0";
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, end) : "0";
}

std::vector<std::string> SplitTabs(const std::string &line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(
        line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos)
      return fields;
    start = tab + 1;
  }
}

// An empty field is 0; otherwise the whole trimmed field must be a number.
bool ParseNumber(const std::string &field, double &value) {
  const std::string t = Trim(field);
  value = 0;
  if (t.empty())
    return true;
  const char *first = t.data();
  const char *last = t.data() + t.size();
  if (*first == '+')
    ++first;
  auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end == last && std::isfinite(value);
}

} // namespace

std::string PortfolioFileText(const std::vector<PortfolioFileEntry> &portfolios) {
  std::string text = std::string(kHeader) + "\t" + std::to_string(kVersion) + "\n";
  for (const PortfolioFileEntry &p : portfolios) {
    text += "PORTFOLIO\t" + Clean(p.Name, PortTextMaxLength) + "\t" +
            Clean(p.Key, PortKeyMaxLength) + "\n";
    for (const PortPosition &pos : p.Positions) {
      text += "POS\t" + Clean(pos.Symbol, SymbolMaxLength);
      if (!pos.IsSeparator())
        text += "\t" + Number(pos.Quantity) + "\t" + Clean(pos.PaidText, PortTextMaxLength) + "\t" +
                Number(pos.Commission) + "\t" + Clean(pos.Note, PortTextMaxLength) + "\t" +
                Number(pos.LowLimit) + "\t" + Number(pos.HighLimit);
      text += "\n";
    }
  }
  return text;
}

PortfolioFileContent ParsePortfolioFileText(const std::string &text) {
  PortfolioFileContent content;
  int lineNo = 0;
  std::size_t start = 0;
  auto problem = [&](const std::string &what) {
    content.Problems.push_back(std::string(PortfolioFileBaseName) + " line " +
                               std::to_string(lineNo) + ": " + what);
  };
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (Trim(line).empty() || line[0] == '#')
      continue;

    const std::vector<std::string> f = SplitTabs(line);
    const std::string kind = f[0];
    if (kind == kHeader) {
      double version = 0;
      if (f.size() < 2 || !ParseNumber(f[1], version) || version < 1)
        problem("bad header");
      else if (version > kVersion)
        problem("written by a newer version (" + CutTo(Trim(f[1]), kQuotedMax) +
                "); read as far as understood");
      continue;
    }
    if (kind == "PORTFOLIO") {
      PortfolioFileEntry entry;
      entry.Name = f.size() > 1 ? CutTo(f[1], PortTextMaxLength) : "";
      // Trimmed again after the cut, as the next reading would trim it.
      entry.Key = f.size() > 2 ? Trim(CutTo(Trim(f[2]), PortKeyMaxLength)) : "";
      if (Trim(entry.Name).empty())
        problem("portfolio without a name");
      for (const PortfolioFileEntry &other : content.Portfolios)
        if (!entry.Key.empty() && SameText(other.Key, entry.Key)) {
          problem("key " + Quoted(entry.Key) + " is used twice; a new key is given");
          entry.Key.clear();
          break;
        }
      content.Portfolios.push_back(entry);
      continue;
    }
    if (kind != "POS") {
      problem("unknown record " + Quoted(kind));
      continue;
    }
    if (content.Portfolios.empty()) {
      problem("position before the first portfolio");
      continue;
    }
    PortPosition pos;
    pos.Symbol = f.size() > 1 ? Trim(f[1]) : "";
    if (pos.Symbol.empty()) {
      problem("position without a symbol");
      continue;
    }
    if (pos.Symbol.size() > SymbolMaxLength) {
      problem("symbol " + Quoted(pos.Symbol) + " is longer than 15 characters");
      continue;
    }
    if (!pos.IsSeparator()) {
      double quantity = 0, commission = 0, low = 0, high = 0;
      const std::string empty;
      auto field = [&f, &empty](std::size_t i) -> const std::string & {
        return i < f.size() ? f[i] : empty;
      };
      if (!ParseNumber(field(2), quantity)) {
        problem("quantity " + Quoted(field(2)) + " is not a number");
        continue;
      }
      if (!ParseNumber(field(4), commission)) {
        problem("commission " + Quoted(field(4)) + " is not a number");
        continue;
      }
      if (!ParseNumber(field(6), low) || !ParseNumber(field(7), high)) {
        problem("price limit is not a number");
        continue;
      }
      // The price paid, commission and limits are kept as floats: a value
      // beyond their range would turn into infinity.
      const auto fits = [](double v) { return std::fabs(v) <= std::numeric_limits<float>::max(); };
      if (!fits(StrToPrice(CutTo(field(3), PortTextMaxLength))) || !fits(commission) ||
          !fits(low) || !fits(high)) {
        problem("a price or commission is too large");
        continue;
      }
      pos.Quantity = quantity;
      pos.PaidText = CutTo(field(3), PortTextMaxLength);
      pos.PricePaid = float(StrToPrice(pos.PaidText));
      pos.Commission = float(commission);
      pos.Note = CutTo(field(5), PortTextMaxLength);
      pos.LowLimit = float(low);
      pos.HighLimit = float(high);
    }
    content.Portfolios.back().Positions.push_back(pos);
  }
  return content;
}

bool ReadPortfolioFile(const std::string &path, PortfolioFileContent &content, std::string &error) {
  content = PortfolioFileContent();
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    error = "cannot read " + path + ": " + file.errorString().toStdString();
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    error = "cannot read " + path + ": " + file.errorString().toStdString();
    return false;
  }
  content = ParsePortfolioFileText(bytes.toStdString());
  error.clear();
  return true;
}

bool WritePortfolioFile(const std::string &path, const std::vector<PortfolioFileEntry> &portfolios,
                        std::string &error) {
  std::string reason;
  if (!SaveFileWhole(path, PortfolioFileText(portfolios), reason)) {
    error = "cannot write " + path + ": " + reason;
    return false;
  }
  error.clear();
  return true;
}

std::string PortfolioFilePath() { return ProgramFolder() + PortfolioFileBaseName; }

bool LoadPortfolios(const std::string &path) {
  RemoveStaleSaveFiles(path);
  PortfolioFileContent content;
  std::string error;
  if (!QFileInfo::exists(QString::fromStdString(path))) {
    if (LoggingOn)
      WriteLog("LoadPortfolios: no portfolio file " + path, 0);
  } else if (!ReadPortfolioFile(path, content, error)) {
    if (LoggingOn)
      WriteLog("LoadPortfolios Error: " + error, 0);
    ShowErrorReport(error, "LoadPortfolios");
    return false;
  }
  {
    MyLockGuard guard(PortListLock, "LDPF", false);
    if (!guard.Owns()) {
      ShowErrorReport("The portfolio list is busy; portfolios not loaded.", "LoadPortfolios");
      return false;
    }
    PortfolioList.Clear();
    for (const PortfolioFileEntry &p : content.Portfolios)
      PortfolioList.Add(p.Name, p.Key, p.Positions);
  }
  if (!content.Problems.empty()) {
    std::string all;
    for (const std::string &p : content.Problems) {
      if (LoggingOn)
        WriteLog("LoadPortfolios: " + p, 0);
      all += p + "\n";
    }
    ShowErrorReport("Damaged lines were skipped:\n" + all, "LoadPortfolios");
  }
  return true;
}

bool SavePortfolios(const std::string &path) {
  std::vector<PortfolioFileEntry> entries;
  {
    MyLockGuard guard(PortListLock, "SVPF", false);
    if (!guard.Owns()) {
      ShowErrorReport("The portfolio list is busy; portfolios not saved.", "SavePortfolios");
      return false;
    }
    for (int i = 1; i <= PortfolioList.Count(); ++i) {
      const PortType &p = PortfolioList[i];
      entries.push_back(PortfolioFileEntry{p.Name, p.Key, p.Positions});
    }
  }
  // The user is told what was not saved and why (SaveFailureReport); the
  // list in memory stays, and the next save writes it.
  std::string error;
  return CheckSave(WritePortfolioFile(path, entries, error), "the portfolios", error);
}
