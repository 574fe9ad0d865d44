#pragma once
// Colour schemes: the 39 colours the quote grid, the watch list and the
// time-and-sales window paint with. One scheme is built in ("Sunny"); more
// come from schemes.par (docs/color-schemes.md). The chosen scheme is copied
// into CurrentScheme, which the painters read. Window thread only.
#include "platform/Color.h"

#include <array>
#include <string>
#include <vector>

class TStringList;
class TMyIniFile;
struct SmallGraphColors;

constexpr int SchemeColorCount = 39;
// Up to this many announced schemes are kept even when the file defines
// fewer; above it only the schemes the file defines.
constexpr int MaxSchemeCount = 99;
constexpr std::size_t SchemeNameMaxLength = 255;

// One scheme: a name and 39 colour words, in slot order.
struct ColorScheme {
  std::string Name;

  TColor NoStripeRow = 0; // background of ordinary rows; the watch list's grid colour
  TColor NoStripeText = 0;
  TColor StripeRow = 0;
  TColor StripeText = 0;
  TColor TotalRow = 0;
  TColor TotalText = 0;
  TColor HighRow = 0; // the highlighted (selected) row
  TColor HighText = 0;
  TColor RedHigh = 0; // a cell marked as a new low
  TColor RedText = 0;
  TColor RedRect = 0;
  TColor GreenHigh = 0; // a cell marked as a new high
  TColor GreenText = 0;
  TColor GreenRect = 0;
  TColor Sep = 0; // separator rows and the separator column
  TColor SepText = 0;
  TColor RedDynoRect = 0;   // frame of a bid or ask that moved down
  TColor GreenDynoRect = 0; // ... up
  TColor Title = 0;
  TColor TitleText = 0;
  TColor Sym = 0; // the symbol column
  TColor SymText = 0;
  TColor SortArrow = 0;
  TColor Pos = 0;     // positive numbers
  TColor Neg = 0;     // negative numbers
  TColor PosHigh = 0; // ... on the TOTAL or highlighted row
  TColor NegHigh = 0;
  TColor UpTickPen = 0;
  TColor UpTickBrush = 0;
  TColor DnTickPen = 0;
  TColor DnTickBrush = 0;
  TColor SmallGraphBack = 0;
  TColor SmallGraphPen = 0;
  TColor SmallGraphFill = 0;
  TColor Insert = 0;    // the drop mark of a dragged column
  TColor InterLine = 0; // grid lines
  TColor BulbOutline = 0;
  TColor HighSymb = 0; // symbol cell of the highlighted row
  TColor HighSymbText = 0;

  // Colour of slot 0..38 (the member order above); out of range: 0 / ignored.
  TColor Slot(int slot) const;
  void SetSlot(int slot, TColor color);

  friend bool operator==(const ColorScheme &, const ColorScheme &) = default;
};

// The key of slot 0..38 as schemes.par names it ("NoStripeRow" ...); "" out of range.
std::string SchemeSlotKey(int slot);
// The 39 slots in the order schemes.par lists their keys.
const std::array<int, SchemeColorCount> &SchemeFileKeyOrder();

// The built-in scheme "Sunny".
const ColorScheme &BuiltInScheme();

// The scheme list (at least one scheme; scheme number n is Schemes[n-1]), the
// chosen number and the copy the painters read.
extern std::vector<ColorScheme> Schemes;
extern int SchemeCount;
extern int CurrentSchemeNumber;
extern ColorScheme CurrentScheme;

// A colour value of schemes.par (already upper-case): hexadecimal digits
// (0x00BBGGRR, "FF" is red) or a colour word (BLACK ... HIGHLIGHTTEXT); other
// texts are black. Words above 0x00FFFFFF that are not system colours are
// masked to their colour bits.
TColor SchemeColorValue(const std::string &value);

// The schemes a parameter list defines. The first is the built-in scheme
// unless the list's scheme 1 replaces it; NumSets missing, not a number or
// outside 1..99 gives the built-in scheme alone. Schemes the list leaves
// undefined, and the elements after a scheme's first missing key, keep the
// built-in values.
std::vector<ColorScheme> ParseColorSchemes(const TStringList &params);

// Reads ProgramFolder() + "schemes.par" into Schemes and SchemeCount; a
// missing or unreadable file leaves the built-in scheme. Never throws.
void LoadColorSchemes();
void LoadColorSchemes(const std::string &fileName);

// A scheme number below 1 or above SchemeCount becomes 1.
int ValidSchemeNumber(int number);
// Chooses a scheme: CurrentSchemeNumber := ValidSchemeNumber(number) and
// CurrentScheme := a copy of it. Returns the number chosen.
int SelectColorScheme(int number);
// Chooses the scheme of [Bourse] Scheme (default 1) of the settings file.
int SelectColorSchemeFromSettings(const TMyIniFile &ini);
// Chooses a scheme and stores its number under [Bourse] Scheme; *saved (when
// given) tells whether the settings file took it. The scheme is chosen either way.
int ChooseColorScheme(int number, TMyIniFile &ini, bool *saved = nullptr);

// The small-graph colours of a scheme.
SmallGraphColors SchemeSmallGraphColors(const ColorScheme &scheme);

// Back to the built-in scheme alone, chosen (tests).
void ResetColorSchemes();
