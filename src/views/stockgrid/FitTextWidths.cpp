#include "views/stockgrid/FitTextWidths.h"

#include <QFontMetricsF>

#include <cmath>
#include <cstring>

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
} // namespace

TFitTextWidths::TFitTextWidths(const TFont &font) : m_font(ToQFont(font)), m_metrics(m_font) {
  m_index.fill(-1);
  const QFontMetricsF exact(m_font);
  const std::size_t n = std::strlen(kSummedCharacters);
  for (std::size_t i = 0; i < n; ++i) {
    m_index[std::size_t(kSummedCharacters[i])] = static_cast<signed char>(i);
    m_advance.push_back(exact.horizontalAdvance(QString(QLatin1Char(kSummedCharacters[i]))));
  }
  m_kerning.resize(n * n);
  for (std::size_t a = 0; a < n; ++a)
    for (std::size_t b = 0; b < n; ++b) {
      const char pair[] = {kSummedCharacters[a], kSummedCharacters[b], '\0'};
      m_kerning[a * n + b] =
          exact.horizontalAdvance(QString::fromLatin1(pair)) - m_advance[a] - m_advance[b];
    }
  m_sums = true;
  for (const std::string &text : CheckTexts()) {
    int sum = 0;
    if (!SumCharacters(text, sum) || sum != Measure(text)) {
      m_sums = false;
      break;
    }
  }
}

int TFitTextWidths::Width(const std::string &text) const {
  int width = 0;
  return Sum(text, width) ? width : Measure(text);
}

bool TFitTextWidths::Sum(const std::string &text, int &width) const {
  return m_sums && SumCharacters(text, width);
}

int TFitTextWidths::Measure(const std::string &text) const {
  return m_metrics.horizontalAdvance(QString::fromStdString(text));
}

bool TFitTextWidths::SumCharacters(const std::string &text, int &width) const {
  const std::size_t n = m_advance.size();
  double total = 0;
  int previous = -1;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    const int place = u < 128 ? m_index[u] : -1;
    if (place < 0)
      return false;
    total += m_advance[std::size_t(place)];
    if (previous >= 0)
      total += m_kerning[std::size_t(previous) * n + std::size_t(place)];
    previous = place;
  }
  // Advances are whole 64ths of a pixel, so the sum is exact; rounded as
  // the font's own measuring rounds it.
  width = int(std::floor(total + 0.5));
  return true;
}
