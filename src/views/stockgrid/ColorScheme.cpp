#include "views/stockgrid/ColorScheme.h"

#include "core/IniFile.h"
#include "core/Log.h"
#include "core/ParFile.h"
#include "core/ProgramFolder.h"
#include "core/SmallGraph.h"
#include "platform/StringList.h"
#include "platform/StringUtils.h"

#include <exception>
#include <unordered_map>

namespace {

using SlotMember = TColor ColorScheme::*;

// Slot order of the record.
constexpr std::array<SlotMember, SchemeColorCount> SlotMembers = {
    &ColorScheme::NoStripeRow,   &ColorScheme::NoStripeText,
    &ColorScheme::StripeRow,     &ColorScheme::StripeText,
    &ColorScheme::TotalRow,      &ColorScheme::TotalText,
    &ColorScheme::HighRow,       &ColorScheme::HighText,
    &ColorScheme::RedHigh,       &ColorScheme::RedText,
    &ColorScheme::RedRect,       &ColorScheme::GreenHigh,
    &ColorScheme::GreenText,     &ColorScheme::GreenRect,
    &ColorScheme::Sep,           &ColorScheme::SepText,
    &ColorScheme::RedDynoRect,   &ColorScheme::GreenDynoRect,
    &ColorScheme::Title,         &ColorScheme::TitleText,
    &ColorScheme::Sym,           &ColorScheme::SymText,
    &ColorScheme::SortArrow,     &ColorScheme::Pos,
    &ColorScheme::Neg,           &ColorScheme::PosHigh,
    &ColorScheme::NegHigh,       &ColorScheme::UpTickPen,
    &ColorScheme::UpTickBrush,   &ColorScheme::DnTickPen,
    &ColorScheme::DnTickBrush,   &ColorScheme::SmallGraphBack,
    &ColorScheme::SmallGraphPen, &ColorScheme::SmallGraphFill,
    &ColorScheme::Insert,        &ColorScheme::InterLine,
    &ColorScheme::BulbOutline,   &ColorScheme::HighSymb,
    &ColorScheme::HighSymbText,
};

constexpr std::array<const char *, SchemeColorCount> SlotKeys = {
    "NoStripeRow",   "NoStripeText",   "StripeRow",    "StripeText",
    "TotalRow",      "TotalText",      "HighRow",      "HighText",
    "RedHigh",       "RedText",        "RedRect",      "GreenHigh",
    "GreenText",     "GreenRect",      "Sep",          "SepText",
    "RedDynoRect",   "GreenDynoRect",  "Title",        "TitleText",
    "Sym",           "SymText",        "SortArrow",    "Pos",
    "Neg",           "PosHigh",        "NegHigh",      "UpTickPen",
    "UpTickBrush",   "DnTickPen",      "DnTickBrush",  "SmallGraphBack",
    "SmallGraphPen", "SmallGraphFill", "Insert",       "InterLine",
    "BulbOutline",   "HighSymb",       "HighSymbText",
};

// The file lists RedRect before RedText, GreenRect before GreenText, the
// dyno frames before Sep and SepText, and the tick colours down first.
constexpr std::array<int, SchemeColorCount> FileKeyOrder = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  10, 9,  11, 13, 12, 16, 17, 14, 15, 18, 19,
    20, 21, 22, 23, 24, 25, 26, 30, 29, 28, 27, 31, 32, 33, 34, 35, 36, 37, 38,
};

ColorScheme MakeBuiltInScheme() {
  ColorScheme s;
  s.Name = "Sunny";
  const std::array<TColor, SchemeColorCount> colors = {
      0xFFFFFF, 0x000000, 0xBFFFFF, 0x000000, 0x00FFFF, 0x000000,   0x00FFFF,   0x000000,
      0x0000FF, 0xFFFFFF, 0x0000FF, 0x00FF00, 0x000000, 0x00FF00,   0xC0C0C0,   0x000000,
      0x0000FF, 0x00D200, 0xC0C0C0, 0x000000, 0xC0C0C0, 0x000000,   0xFF0000,   0x008000,
      0x0000FF, 0x008000, 0x0000FF, 0x005500, 0x33FF33, 0x000055,   0x3333FF,   0x000000,
      0x00FFFF, 0x477777, 0x0000FF, 0xC0C0C0, 0x000000, 0x8000000D, 0x8000000E,
  };
  for (int i = 0; i < SchemeColorCount; ++i)
    s.SetSlot(i, colors[std::size_t(i)]);
  return s;
}

bool IsHexText(const std::string &s) {
  for (char c : s)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
      return false;
  return true;
}

// NAME=value items by trimmed upper-case name, the first one winning, as the
// parameter look-up finds them.
std::unordered_map<std::string, std::string> ParamIndex(const TStringList &params) {
  std::unordered_map<std::string, std::string> index;
  for (int i = 0; i < params.Count(); ++i) {
    const std::string &item = params[i];
    const std::size_t eq = item.find('=');
    if (eq == std::string::npos)
      continue;
    index.emplace(UpperCase(Trim(item.substr(0, eq))), Trim(item.substr(eq + 1)));
  }
  return index;
}

bool ParseSchemeCount(const std::string &text, int &count) {
  const std::string t = Trim(text);
  if (t.empty() || t.size() > 9)
    return false;
  std::size_t i = 0;
  if (t[0] == '+' || t[0] == '-')
    ++i;
  if (i == t.size())
    return false;
  for (std::size_t j = i; j < t.size(); ++j)
    if (t[j] < '0' || t[j] > '9')
      return false;
  count = std::stoi(t);
  return true;
}

} // namespace

TColor ColorScheme::Slot(int slot) const {
  if (slot < 0 || slot >= SchemeColorCount)
    return 0;
  return this->*SlotMembers[std::size_t(slot)];
}

void ColorScheme::SetSlot(int slot, TColor color) {
  if (slot < 0 || slot >= SchemeColorCount)
    return;
  this->*SlotMembers[std::size_t(slot)] = color;
}

std::string SchemeSlotKey(int slot) {
  if (slot < 0 || slot >= SchemeColorCount)
    return "";
  return SlotKeys[std::size_t(slot)];
}

const std::array<int, SchemeColorCount> &SchemeFileKeyOrder() { return FileKeyOrder; }

const ColorScheme &BuiltInScheme() {
  static const ColorScheme scheme = MakeBuiltInScheme();
  return scheme;
}

std::vector<ColorScheme> Schemes{BuiltInScheme()};
int SchemeCount = 1;
int CurrentSchemeNumber = 1;
ColorScheme CurrentScheme = BuiltInScheme();

TColor SchemeColorValue(const std::string &value) {
  TColor c = 0;
  if (IsHexText(value)) {
    for (char ch : value)
      c = (c << 4) | TColor(ch <= '9' ? ch - '0' : ch - 'A' + 10);
  } else {
    static const std::unordered_map<std::string, TColor> words = {
        {"BLACK", 0x000000},        {"GREEN", 0x008000},
        {"NAVY", 0x800000},         {"GRAY", 0x808080},
        {"SILVER", 0xC0C0C0},       {"RED", 0x0000FF},
        {"LIME", 0x00FF00},         {"YELLOW", 0x00FFFF},
        {"BLUE", 0xFF0000},         {"AQUA", 0xFFFF00},
        {"LTGRAY", 0xC0C0C0},       {"WHITE", 0xFFFFFF},
        {"HIGHLIGHT", clHighlight}, {"HIGHLIGHTTEXT", clHighlightText},
    };
    const auto it = words.find(value);
    c = it == words.end() ? 0 : it->second;
  }
  // Only system colours may use the top byte; other bits there would make a
  // colour the painters cannot resolve.
  if (c > 0x00FFFFFF && !IsSystemColor(c))
    c &= 0x00FFFFFF;
  return c;
}

std::vector<ColorScheme> ParseColorSchemes(const TStringList &params) {
  std::vector<ColorScheme> schemes{BuiltInScheme()};
  const auto index = ParamIndex(params);
  const auto lookUp = [&](const std::string &key, std::string &value) {
    const auto it = index.find(UpperCase(key));
    if (it == index.end())
      return false;
    value = it->second;
    return true;
  };

  std::string text = "0";
  lookUp("NumSets", text);
  int count = 0;
  if (!ParseSchemeCount(text, count) || count < 1)
    return schemes;
  // Every announced scheme starts as the built-in one, so whatever the file
  // leaves out is defined. A larger count than any file holds would only
  // allocate copies: above MaxSchemeCount the list ends with the last scheme
  // the file defines.
  const bool manyAnnounced = count > MaxSchemeCount;
  schemes.assign(std::size_t(manyAnnounced ? 1 : count), BuiltInScheme());

  for (int n = 1; n <= count; ++n) {
    const std::string number = std::to_string(n);
    std::string value;
    if (!lookUp("NOSTRIPEROW" + number, value))
      break;
    if (std::size_t(n) > schemes.size())
      schemes.push_back(BuiltInScheme());
    ColorScheme &scheme = schemes[std::size_t(n - 1)];
    std::string name = "***";
    lookUp("NAME" + number, name);
    if (name.size() > SchemeNameMaxLength)
      name.resize(SchemeNameMaxLength);
    scheme.Name = name;
    for (int slot : FileKeyOrder) {
      if (!lookUp(SlotKeys[std::size_t(slot)] + number, value))
        break;
      value = UpperCase(value);
      if (value.size() > SchemeNameMaxLength)
        value.resize(SchemeNameMaxLength);
      scheme.SetSlot(slot, SchemeColorValue(value));
    }
  }
  return schemes;
}

void LoadColorSchemes(const std::string &fileName) {
  TStringList params;
  try {
    ReadParFile(fileName, params);
  } catch (const std::exception &) {
    params.Clear(); // no file: the built-in scheme alone
  }
  try {
    Schemes = ParseColorSchemes(params);
  } catch (const std::exception &e) {
    if (LoggingOn)
      WriteLog(std::string("LoadColorSchemes Error: ") + e.what(), 0);
    Schemes.assign(1, BuiltInScheme());
  }
  SchemeCount = int(Schemes.size());
}

void LoadColorSchemes() { LoadColorSchemes(ProgramFolder() + "schemes.par"); }

int ValidSchemeNumber(int number) {
  return number < 1 || number > SchemeCount || number > int(Schemes.size()) ? 1 : number;
}

int SelectColorScheme(int number) {
  if (Schemes.empty()) {
    Schemes.assign(1, BuiltInScheme());
    SchemeCount = 1;
  }
  CurrentSchemeNumber = ValidSchemeNumber(number);
  CurrentScheme = Schemes[std::size_t(CurrentSchemeNumber - 1)];
  return CurrentSchemeNumber;
}

int SelectColorSchemeFromSettings(const TMyIniFile &ini) {
  return SelectColorScheme(ini.ReadInteger("Bourse", "Scheme", 1));
}

int ChooseColorScheme(int number, TMyIniFile &ini, bool *saved) {
  const int chosen = SelectColorScheme(number);
  const bool ok = ini.WriteInteger("Bourse", "Scheme", chosen);
  if (saved)
    *saved = ok;
  return chosen;
}

SmallGraphColors SchemeSmallGraphColors(const ColorScheme &scheme) {
  SmallGraphColors c;
  c.Back = scheme.SmallGraphBack;
  c.Pen = scheme.SmallGraphPen;
  c.Fill = scheme.SmallGraphFill;
  return c;
}

void ResetColorSchemes() {
  Schemes.assign(1, BuiltInScheme());
  SchemeCount = 1;
  CurrentSchemeNumber = 1;
  CurrentScheme = BuiltInScheme();
}
