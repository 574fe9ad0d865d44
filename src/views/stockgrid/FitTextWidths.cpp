#include "views/stockgrid/FitTextWidths.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

TFitTextWidths::TFitTextWidths(const TFont &font)
    : m_font(ToQFont(font)), m_metrics(m_font), m_sums(m_font, nullptr) {}

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
