#pragma once
// The ticker's parameters: which symbols it shows, how fast it scrolls, the
// gap between boxes and a colour and font for each of its seven display
// elements. The live set is what the ticker draws with; the working set is
// the configuration dialog's copy that its preview draws with. Both are
// guarded, so boxes may be built on any thread.
#include "platform/Canvas.h"
#include "platform/Color.h"
#include "platform/DateTime.h"

#include <array>
#include <string>
#include <vector>

class TMyIniFile;

// Display elements, numbered as stored in the settings.
enum TTickElementKind : int {
  teBackground = 1,
  teSymbol = 2,
  teTime = 3,
  teChangeDown = 4,
  teChangeUp = 5,
  tePriceDown = 6,
  tePriceUp = 7,
};
constexpr int TickElementCount = 7;

constexpr int DefaultTickSpeed = -2;
constexpr int MinTickSpeed = -10;
constexpr int MaxTickSpeed = 10;
constexpr int DefaultTickSep = 7;
constexpr int MinTickSep = 0; // the up-down reaches 0; the typed field 1
constexpr int MaxTickSep = 40;
constexpr int MinTickFontSize = 5; // what the font dialog offers
constexpr int MaxTickFontSize = 40;
constexpr std::size_t TickFontNameMaxLength = 255;
constexpr const char *TickerSection = "Ticker";
// The portfolio key that stands for the market indices.
constexpr const char *IndicesKey = "INDX";

// Colour and font of one display element.
struct TTickElement {
  TColor Colour = clBlack;
  int FontSize = 0;
  std::string FontName = "Arial";
  TFontStyles FontStyle = 0; // fsBold, fsItalic
  friend bool operator==(const TTickElement &, const TTickElement &) = default;
};

// The seven elements, indexed 1..7 (TTickElementKind).
class TTickElements {
public:
  // The built-in colours and sizes, "Arial" and no style.
  TTickElements();
  // Throws std::out_of_range outside 1..7.
  TTickElement &operator[](int e);
  const TTickElement &operator[](int e) const;
  static TTickElement BuiltIn(int e);
  friend bool operator==(const TTickElements &, const TTickElements &) = default;

private:
  std::array<TTickElement, TickElementCount> m_items;
};

struct TTickParams {
  std::string Symbols;   // "|IBM|MSFT|"
  std::string ExSymbols; // extra symbols as typed, blank-separated
  int Speed = DefaultTickSpeed;
  bool ShowTime = false;
  std::vector<std::string> PortfoliosToShow; // portfolio keys, IndicesKey for the indices
  int Sep = DefaultTickSep;                  // pixels between two boxes
  TTickElements Elements;
  friend bool operator==(const TTickParams &, const TTickParams &) = default;
};

// The dialog's working copy.
struct TTickWorkingSet {
  TTickElements Elements;
  int Sep = DefaultTickSep;
};

// ---- Settings section "Ticker" ---------------------------------------------

// Reads the section; absent keys give the defaults, "Col"/"FSize" of -1 keep
// the built-in colour and size. Values outside their range (speed, gap, a
// font size of a text element) fall back to the default.
TTickParams ReadTickParams(const TMyIniFile &ini);
// Writes the section. False when a key could not be written.
bool WriteTickParams(TMyIniFile &ini, const TTickParams &params);
// The live set from / to SettingsFile().
void LoadTickParams();
bool SaveTickParams();

// ---- The shared sets -----------------------------------------------------------

TTickParams LiveTickParams();
void SetLiveTickParams(const TTickParams &params);
TTickWorkingSet WorkingTickSet();
void SetWorkingTickSet(const TTickWorkingSet &set);
// The elements a box is drawn with: the live set, or the working copy.
TTickElements TickElementSet(bool useWorkingSet);
// The moment against which a box measures the age of its news bulb.
TDateTime BulbReferenceTime();
void SetBulbReferenceTime(TDateTime time);

// ---- Rules of the dialog, as plain functions --------------------------------

// Makes the canvas font element e's name, size and style.
void UseTickElement(TCanvas &canvas, const TTickElement &element);

// The ticker's symbol list "|A|B|" from the positions of the checked
// portfolios (in order), the index symbols when the indices are checked, and
// the extra symbols typed by the user (upper-cased). Separator rows and symbols
// beginning with "$" are left out; a symbol occurs once (the index symbols are
// taken as they are); there are no empty fields.
std::string BuildTickerSymbols(const std::vector<std::vector<std::string>> &portfolioSymbols,
                               bool indicesChecked, const std::string &indexSymbolsText,
                               const std::string &extraSymbols);
// The extra-symbols text split at line breaks, blanks and "," and joined
// again, each word followed by one blank.
std::string NormalizeExtraSymbols(const std::string &text);
// A gap typed into the field: the integer cut to 1..40. False (value
// unchanged) when the text is no integer.
bool ParseTickSeparator(const std::string &text, int &value);
// "B", "I", "BI" or "" for a style; the style for letters (others ignored).
std::string TickStyleLetters(TFontStyles style);
TFontStyles TickStyleFromLetters(const std::string &letters);
