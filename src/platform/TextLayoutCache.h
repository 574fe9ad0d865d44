#pragma once
// Texts laid out once per font and drawn again from their glyphs: shaping a
// text costs as much as drawing it, and a grid draws the same thousands of
// texts at every paint. Kept in two generations, so that the texts of the
// last paints stay while texts not drawn lately go.
#include "platform/ComposedGlyphs.h"

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QPaintDevice;
class QPainter;

class TTextLayoutCache {
public:
  // What is known of a text in one font.
  struct Entry {
    int Width = -1; // the advance of the text, -1 until measured
    bool LaidOut = false;
    // The glyphs with positions relative to the left end of the baseline;
    // empty with Drawable false when the painter must shape the text itself.
    QList<QGlyphRun> Runs;
    bool Drawable = false;
    // Where the glyphs' pixels may lie, relative to the left end of the
    // baseline (a pixel wider all round); set when Drawable.
    QRectF Ink;
  };

  // Selects the font the next texts are in (as resolved for the device).
  void SetFont(const QFont &font, const QPaintDevice *device);
  // The selected font's metrics (as QFontMetrics(font) gives them).
  int Ascent() const { return m_of->Ascent; }
  int Height() const { return m_of->Height; }
  // The text's entry in the selected font, made when new.
  Entry &Find(const std::string &text);
  // The same, laid out.
  const Entry &LaidOut(const std::string &text);
  // The text's advance in the selected font (metrics of the font alone, as
  // QFontMetrics(font) gives them).
  int Width(const std::string &text);
  // Draws the text with its baseline's left end at the point in the
  // painter's pen and the selected font, as QPainter::drawText would.
  void Draw(QPainter &painter, const QPointF &baseline, const std::string &text);

  static constexpr std::size_t kFonts = 4;
  static constexpr std::size_t kTextsPerGeneration = 4096;

private:
  // The texts of one generation in the order they came, with an index of
  // their hashes kept in one block (open addressing, at most half full):
  // a text not drawn lately is looked up without walking scattered nodes.
  class Generation {
  public:
    Entry *Find(std::string_view text, std::size_t hash);
    // Adds a text that is not there yet; the generation must not be full.
    Entry &Add(std::string_view text, std::size_t hash, Entry &&entry);
    // Takes a text's entry out, so that it can move to the newer generation.
    bool Take(std::string_view text, std::size_t hash, Entry &taken);
    bool Full() const { return m_items.size() >= kTextsPerGeneration; }
    void Clear();

  private:
    struct Slot {
      std::uint32_t Tag = 0;   // the hash's high half
      std::uint32_t Index = 0; // the item's index + 1; 0 empty, kGone taken out
    };
    static constexpr std::uint32_t kGone = 0xFFFFFFFFu;
    static constexpr std::size_t kSlots = 2 * kTextsPerGeneration; // a power of two
    Slot *SlotOf(std::string_view text, std::size_t hash);

    std::vector<std::pair<std::string, Entry>> m_items;
    std::vector<Slot> m_slots;
  };

  struct FontTexts {
    QFont Font;
    int Dpi = 0;
    int Ascent = 0, Height = 0;
    Generation Now, Before;
    // Number texts put together from their characters (made at the first
    // layout in the font).
    std::unique_ptr<TComposedGlyphs> Composed;
  };
  const TComposedGlyphs &Composed();
  void LayOut(Entry &entry, const std::string &text);

  std::vector<FontTexts> m_fonts;
  FontTexts *m_of = nullptr;
  // The entry found last: a text is asked for several times in a row (its
  // width, then its glyphs).
  std::string m_lastText;
  Entry *m_last = nullptr;
  const QPaintDevice *m_device = nullptr;
};
