#include "platform/TextLayoutCache.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <algorithm>

namespace {

int DpiOf(const QPaintDevice *device) { return device ? device->logicalDpiY() : 0; }

// Lines the painter adds to the glyphs, which glyph runs do not draw.
bool Decorated(const QFont &font) {
  return font.underline() || font.strikeOut() || font.overline();
}

// Texts the glyph runs draw exactly as the painter does: one line, no
// decorations the painter would add, no controls that change the layout.
bool PlainText(const QString &s, const QFont &font) {
  if (Decorated(font))
    return false;
  return std::none_of(s.begin(), s.end(), [](QChar c) {
    return c.unicode() < 0x20 || c.category() == QChar::Separator_Line ||
           c.category() == QChar::Separator_Paragraph || c.direction() == QChar::DirR ||
           c.direction() == QChar::DirAL;
  });
}

} // namespace

void TTextLayoutCache::SetFont(const QFont &font, const QPaintDevice *device) {
  const int dpi = DpiOf(device);
  m_device = device;
  if (m_of && m_of->Dpi == dpi && m_of->Font == font)
    return;
  m_last = nullptr;
  const auto same = std::find_if(m_fonts.begin(), m_fonts.end(), [&](const FontTexts &f) {
    return f.Dpi == dpi && f.Font == font;
  });
  if (same != m_fonts.end()) {
    m_of = &*same;
    return;
  }
  if (m_fonts.size() < kFonts) {
    m_fonts.reserve(kFonts);
    m_fonts.emplace_back();
  } else
    std::rotate(m_fonts.begin(), m_fonts.begin() + 1, m_fonts.end());
  m_of = &m_fonts.back();
  m_of->Font = font;
  m_of->Dpi = dpi;
  const QFontMetrics fm(font);
  m_of->Ascent = fm.ascent();
  m_of->Height = fm.height();
  m_of->Now.Clear();
  m_of->Before.Clear();
  m_of->Composed.reset();
}

TTextLayoutCache::Generation::Slot *TTextLayoutCache::Generation::SlotOf(std::string_view text,
                                                                         std::size_t hash) {
  if (m_slots.empty())
    return nullptr;
  const auto tag = std::uint32_t(hash >> 32);
  for (std::size_t at = hash & (kSlots - 1);; at = (at + 1) & (kSlots - 1)) {
    Slot &slot = m_slots[at];
    if (slot.Index == 0)
      return &slot;
    if (slot.Tag == tag && slot.Index != kGone && m_items[slot.Index - 1].first == text)
      return &slot;
  }
}

TTextLayoutCache::Entry *TTextLayoutCache::Generation::Find(std::string_view text,
                                                            std::size_t hash) {
  const Slot *slot = SlotOf(text, hash);
  return slot && slot->Index != 0 ? &m_items[slot->Index - 1].second : nullptr;
}

TTextLayoutCache::Entry &TTextLayoutCache::Generation::Add(std::string_view text, std::size_t hash,
                                                           Entry &&entry) {
  if (m_slots.empty()) {
    m_slots.resize(kSlots);
    m_items.reserve(kTextsPerGeneration);
  }
  Slot *slot = SlotOf(text, hash);
  m_items.emplace_back(std::string(text), std::move(entry));
  slot->Tag = std::uint32_t(hash >> 32);
  slot->Index = std::uint32_t(m_items.size());
  return m_items.back().second;
}

bool TTextLayoutCache::Generation::Take(std::string_view text, std::size_t hash, Entry &taken) {
  Slot *slot = SlotOf(text, hash);
  if (!slot || slot->Index == 0)
    return false;
  taken = std::move(m_items[slot->Index - 1].second);
  // The slot stays occupied, so that the texts placed after it are still found.
  slot->Index = kGone;
  return true;
}

void TTextLayoutCache::Generation::Clear() {
  m_items.clear();
  std::fill(m_slots.begin(), m_slots.end(), Slot{});
}

TTextLayoutCache::Entry &TTextLayoutCache::Find(const std::string &text) {
  if (m_last && m_lastText == text)
    return *m_last;
  const std::size_t hash = std::hash<std::string_view>{}(text);
  Entry *entry = m_of->Now.Find(text, hash);
  if (!entry) {
    // The newer generation is full: it becomes the older one, and the texts
    // of the older one not drawn since go.
    if (m_of->Now.Full()) {
      std::swap(m_of->Before, m_of->Now);
      m_of->Now.Clear();
    }
    Entry kept;
    m_of->Before.Take(text, hash, kept);
    entry = &m_of->Now.Add(text, hash, std::move(kept));
  }
  m_lastText = text;
  m_last = entry;
  return *entry;
}

const TTextLayoutCache::Entry &TTextLayoutCache::LaidOut(const std::string &text) {
  Entry &entry = Find(text);
  if (!entry.LaidOut)
    LayOut(entry, text);
  return entry;
}

int TTextLayoutCache::Width(const std::string &text) {
  Entry &entry = Find(text);
  if (entry.Width < 0 && !Composed().Width(text, entry.Width)) {
    const QFontMetrics fm(m_of->Font);
    entry.Width = fm.horizontalAdvance(QString::fromStdString(text));
  }
  return entry.Width;
}

const TComposedGlyphs &TTextLayoutCache::Composed() {
  if (!m_of->Composed)
    m_of->Composed =
        std::make_unique<TComposedGlyphs>(m_of->Font, const_cast<QPaintDevice *>(m_device));
  return *m_of->Composed;
}

void TTextLayoutCache::LayOut(Entry &entry, const std::string &text) {
  entry.LaidOut = true;
  const QFont &font = m_of->Font;
  QGlyphRun composed;
  QRectF ink;
  int width = 0;
  if (!Decorated(font) && Composed().Compose(text, composed, ink, width)) {
    entry.Runs = {composed};
    entry.Ink = ink;
    entry.Width = width;
    entry.Drawable = true;
    return;
  }
  if (!PlainText(QString::fromStdString(text), font) ||
      !TComposedGlyphs::Shape(font, const_cast<QPaintDevice *>(m_device), text, entry.Runs))
    return;
  for (const QGlyphRun &run : entry.Runs) {
    const QRawFont raw = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i)
      ink |= raw.boundingRect(glyphs[i]).translated(positions[i]);
  }
  entry.Ink = ink.adjusted(-1, -1, 1, 1);
  entry.Drawable = true;
}

void TTextLayoutCache::Draw(QPainter &painter, const QPointF &baseline, const std::string &text) {
  const Entry &entry = LaidOut(text);
  if (!entry.Drawable || painter.layoutDirection() == Qt::RightToLeft) {
    const QFont kept = painter.font();
    painter.setFont(m_of->Font);
    painter.drawText(baseline, QString::fromStdString(text));
    painter.setFont(kept);
    return;
  }
  for (const QGlyphRun &run : entry.Runs)
    painter.drawGlyphRun(baseline, run);
}
