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

namespace {
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

TComposedGlyphs::TComposedGlyphs(const QFont &font, QPaintDevice *device) {
  m_place.fill(kNone);
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
  static_assert(sizeof kComposed - 1 < kStart);
  for (std::size_t i = 0; i < n; ++i)
    m_place[static_cast<unsigned char>(kComposed[i])] = std::uint8_t(i);
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const std::size_t a = m_place[static_cast<unsigned char>(pairs[i])];
    m_glyph[a] = glyphs[qsizetype(i)];
    if (i + 1 < pairs.size()) {
      const std::size_t b = m_place[static_cast<unsigned char>(pairs[i + 1])];
      if (!In64ths(positions[qsizetype(i) + 1].x() - positions[qsizetype(i)].x(),
                   m_step[a * kStride + b]))
        return;
    }
  }
  const QFontMetricsF exact(font);
  for (std::size_t i = 0; i < n; ++i) {
    if (!In64ths(exact.horizontalAdvance(QLatin1Char(kComposed[i])), m_last[i]))
      return;
    m_ink[i] = m_raw.boundingRect(m_glyph[i]);
  }
  m_usable = true;
  m_usable = Check(font, device);
}

bool TComposedGlyphs::Compose(const std::string &text, QGlyphRun &run, QRectF &ink,
                              int &width) const {
  if (!Width(text, width))
    return false;
  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(qsizetype(text.size()));
  positions.reserve(qsizetype(text.size()));
  QRectF box;
  std::int64_t x = 0;
  std::size_t previous = kStart;
  for (const char c : text) {
    const std::size_t place = m_place[static_cast<unsigned char>(c)];
    x += m_step[previous * kStride + place];
    previous = place;
    const qreal at = qreal(x) / 64;
    glyphs.push_back(m_glyph[place]);
    positions.push_back(QPointF(at, 0));
    box |= m_ink[place].translated(at, 0);
  }
  run = QGlyphRun();
  run.setRawFont(m_raw);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  ink = box.adjusted(-1, -1, 1, 1);
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
