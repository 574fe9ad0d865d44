#include "platform/ComposedGlyphs.h"

#include <QFontMetrics>
#include <QTextLayout>

#include <cmath>
#include <cstring>

namespace {

// The characters of the grid's numbers, prices, times, percentages and
// market values.
constexpr char kComposed[] = "0123456789 ,.+-%<>/:$()BKM";

// Every pair of the characters once, as adjacent characters of one text (a
// de Bruijn sequence of order 2), so that one shaping gives every step.
std::string EveryPair() {
  const int n = int(std::strlen(kComposed));
  std::vector<int> a(std::size_t(2 * n + 1), 0);
  std::string sequence;
  // The usual recursion over Lyndon words.
  const auto build = [&](auto &&self, int t, int p) -> void {
    if (t > 2) {
      if (2 % p == 0)
        for (int j = 1; j <= p; ++j)
          sequence += kComposed[a[std::size_t(j)]];
      return;
    }
    a[std::size_t(t)] = a[std::size_t(t - p)];
    self(self, t + 1, p);
    for (int j = a[std::size_t(t - p)] + 1; j < n; ++j) {
      a[std::size_t(t)] = j;
      self(self, t + 1, t);
    }
  };
  build(build, 1, 1);
  // Cyclic: the first character again closes the last pair.
  return sequence + sequence.front();
}

// Texts whose shaping and measuring the composition must give exactly.
std::vector<std::string> CheckTexts() {
  std::vector<std::string> texts{"0",        "1,234,567", "11",      "  85.25", "- 1.25",
                                 "+12.34%",  "-0.5",      "10:45:30", "1/64",   "$1,000",
                                 "(3.5)",    "<12.5",     ">130.1",  "-- --",   "+2.5% -100",
                                 "1.2B",     "350.5M",    "12K",     " ",       "  7"};
  const std::size_t n = std::strlen(kComposed);
  std::string run;
  for (std::size_t i = 0; i < n * 7; ++i) {
    run += kComposed[(i * 5 + i / n) % n];
    if (run.size() == 12) {
      texts.push_back(run);
      run.clear();
    }
  }
  texts.push_back(run);
  return texts;
}

} // namespace

bool TComposedGlyphs::Shape(const QFont &font, QPaintDevice *device, const std::string &text,
                            QList<QGlyphRun> &runs) {
  QTextLayout layout(QString::fromStdString(text), font, device);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (!line.isValid()) {
    layout.endLayout();
    return false;
  }
  line.setPosition(QPointF(0, 0));
  layout.endLayout();
  if (layout.lineCount() != 1)
    return false;
  const qreal ascent = line.ascent();
  runs = layout.glyphRuns();
  for (QGlyphRun &run : runs) {
    QList<QPointF> positions = run.positions();
    for (QPointF &p : positions)
      p.ry() -= ascent;
    run.setPositions(positions);
  }
  return true;
}

TComposedGlyphs::TComposedGlyphs(const QFont &font, QPaintDevice *device) {
  m_place.fill(-1);
  const std::string pairs = EveryPair();
  QList<QGlyphRun> runs;
  if (!Shape(font, device, pairs, runs) || runs.size() != 1)
    return;
  const QGlyphRun &run = runs.front();
  const QList<quint32> glyphs = run.glyphIndexes();
  const QList<QPointF> positions = run.positions();
  if (glyphs.size() != qsizetype(pairs.size()) || positions.size() != glyphs.size())
    return; // a ligature or a character the font lacks
  m_raw = run.rawFont();
  const std::size_t n = std::strlen(kComposed);
  for (std::size_t i = 0; i < n; ++i)
    m_place[std::size_t(kComposed[i])] = static_cast<signed char>(i);
  m_glyph.assign(n, 0);
  m_step.assign(n * n, 0);
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const std::size_t a = std::size_t(m_place[std::size_t(pairs[i])]);
    m_glyph[a] = glyphs[qsizetype(i)];
    if (i + 1 < pairs.size()) {
      const std::size_t b = std::size_t(m_place[std::size_t(pairs[i + 1])]);
      m_step[a * n + b] = positions[qsizetype(i) + 1].x() - positions[qsizetype(i)].x();
    }
  }
  const QFontMetricsF exact(font);
  for (std::size_t i = 0; i < n; ++i) {
    m_advance.push_back(exact.horizontalAdvance(QLatin1Char(kComposed[i])));
    m_ink.push_back(m_raw.boundingRect(m_glyph[i]));
  }
  m_usable = true;
  m_usable = Check(font, device);
}

bool TComposedGlyphs::Places(const std::string &text, std::vector<int> &places) const {
  if (!m_usable || text.empty())
    return false;
  places.clear();
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    const int place = u < 128 ? m_place[u] : -1;
    if (place < 0)
      return false;
    places.push_back(place);
  }
  return true;
}

bool TComposedGlyphs::Width(const std::string &text, int &width) const {
  thread_local std::vector<int> places;
  if (!Places(text, places))
    return false;
  const std::size_t n = m_glyph.size();
  qreal x = 0;
  for (std::size_t i = 0; i + 1 < places.size(); ++i)
    x += m_step[std::size_t(places[i]) * n + std::size_t(places[i + 1])];
  // Steps and advances are whole 64ths of a pixel: the sum is exact, and
  // rounded as the font's own measuring rounds it.
  width = int(std::floor(x + m_advance[std::size_t(places.back())] + 0.5));
  return true;
}

bool TComposedGlyphs::Compose(const std::string &text, QGlyphRun &run, QRectF &ink,
                              int &width) const {
  thread_local std::vector<int> places;
  if (!Places(text, places))
    return false;
  const std::size_t n = m_glyph.size();
  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(qsizetype(places.size()));
  positions.reserve(qsizetype(places.size()));
  QRectF box;
  qreal x = 0;
  for (std::size_t i = 0; i < places.size(); ++i) {
    const std::size_t place = std::size_t(places[i]);
    if (i > 0)
      x += m_step[std::size_t(places[i - 1]) * n + place];
    glyphs.push_back(m_glyph[place]);
    positions.push_back(QPointF(x, 0));
    box |= m_ink[place].translated(x, 0);
  }
  run = QGlyphRun();
  run.setRawFont(m_raw);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  ink = box.adjusted(-1, -1, 1, 1);
  width = int(std::floor(x + m_advance[std::size_t(places.back())] + 0.5));
  return true;
}

bool TComposedGlyphs::Check(const QFont &font, QPaintDevice *device) const {
  const QFontMetrics metrics(font);
  for (const std::string &text : CheckTexts()) {
    QGlyphRun composed;
    QRectF ink;
    int width = 0;
    QList<QGlyphRun> shaped;
    if (!Compose(text, composed, ink, width) || !Shape(font, device, text, shaped) ||
        shaped.size() != 1 || shaped.front().glyphIndexes() != composed.glyphIndexes() ||
        shaped.front().positions() != composed.positions() ||
        width != metrics.horizontalAdvance(QString::fromStdString(text)))
      return false;
  }
  return true;
}
