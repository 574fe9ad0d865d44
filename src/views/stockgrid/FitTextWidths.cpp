#include "views/stockgrid/FitTextWidths.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {
// The characters of the grid's numbers, prices, times and percentages.
constexpr char kSummedCharacters[] = "0123456789 ,.+-%<>/:$()";

// Texts the sums must give exactly as the font measures them.
std::vector<std::string> CheckTexts() {
  std::vector<std::string> texts{"0",         "1,234,567", "11",     "  85.25", "- 1.25",
                                 "+12.34%",   "-0.5",      "10:45:30", "1/64",   "$1,000",
                                 "(3.5)",     "<12.5",     ">130.1",  "-- --",   "+2.5% -100"};
  // A fixed sequence of every pair and mixed runs.
  const std::size_t n = std::strlen(kSummedCharacters);
  std::string run;
  for (std::size_t i = 0; i < n * 7; ++i) {
    run += kSummedCharacters[(i * 5 + i / n) % n];
    if (run.size() == 12) {
      texts.push_back(run);
      run.clear();
    }
  }
  texts.push_back(run);
  return texts;
}

// A distance in whole 64ths of a pixel (what the font's metrics hold); false
// when it is not one.
bool In64ths(double pixels, std::int32_t &units) {
  const double scaled = pixels * 64;
  if (!std::isfinite(scaled) || std::fabs(scaled) > 1e9 || scaled != std::round(scaled))
    return false;
  units = std::int32_t(scaled);
  return true;
}
} // namespace

TFitTextWidths::TFitTextWidths(const TFont &font) : m_font(ToQFont(font)), m_metrics(m_font) {
  m_index.fill(kNone);
  const QFontMetricsF exact(m_font);
  const std::size_t n = std::strlen(kSummedCharacters);
  static_assert(sizeof kSummedCharacters - 1 < kStart);
  bool whole = true;
  std::vector<double> advance(n);
  for (std::size_t i = 0; i < n; ++i) {
    m_index[static_cast<unsigned char>(kSummedCharacters[i])] = std::uint8_t(i);
    advance[i] = exact.horizontalAdvance(QString(QLatin1Char(kSummedCharacters[i])));
    whole = whole && In64ths(advance[i], m_step[kStart * kStride + i]);
  }
  for (std::size_t a = 0; a < n && whole; ++a)
    for (std::size_t b = 0; b < n && whole; ++b) {
      const char pair[] = {kSummedCharacters[a], kSummedCharacters[b], '\0'};
      // The pair's width less the first character's advance.
      whole = In64ths(exact.horizontalAdvance(QString::fromLatin1(pair)) - advance[a],
                      m_step[a * kStride + b]);
    }
  m_sums = whole;
  for (const std::string &text : CheckTexts()) {
    int sum = 0;
    if (!m_sums || !SumCharacters(text, sum) || sum != Measure(text)) {
      m_sums = false;
      break;
    }
  }
}

int TFitTextWidths::Known(std::string_view text) const {
  if (const auto it = m_known.find(text); it != m_known.end())
    return it->second;
  if (m_known.size() >= kMaxKnown)
    m_known.clear();
  const int width = Measure(text);
  m_known.emplace(text, width);
  return width;
}

namespace {
// The widths of the fonts a thread used lately, the last used at the back.
using TFontWidths = std::vector<std::pair<QFont, std::shared_ptr<TFitTextWidths>>>;
constexpr std::size_t kMaxFonts = 16;
thread_local TFontWidths fontWidths;
// Fonts must not outlive the application object: the post routine drops
// the window thread's (the thread that destroys the application object).
thread_local bool cleanupAdded = false;
void DropFontWidths() {
  fontWidths.clear();
  cleanupAdded = false;
}
} // namespace

std::shared_ptr<TFitTextWidths> TFitTextWidths::Of(const TFont &font) {
  const QFont wanted = ToQFont(font);
  const auto known = std::find_if(fontWidths.begin(), fontWidths.end(),
                                  [&](const auto &entry) { return entry.first == wanted; });
  if (known != fontWidths.end()) {
    std::rotate(known, known + 1, fontWidths.end());
    return fontWidths.back().second;
  }
  if (!cleanupAdded && QCoreApplication::instance() &&
      QCoreApplication::instance()->thread() == QThread::currentThread()) {
    qAddPostRoutine(DropFontWidths);
    cleanupAdded = true;
  }
  if (fontWidths.size() >= kMaxFonts)
    fontWidths.erase(fontWidths.begin());
  fontWidths.emplace_back(wanted, std::make_shared<TFitTextWidths>(font));
  return fontWidths.back().second;
}

int TFitTextWidths::Measure(std::string_view text) const {
  return m_metrics.horizontalAdvance(QString::fromUtf8(text.data(), qsizetype(text.size())));
}
