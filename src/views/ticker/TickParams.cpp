#include "views/ticker/TickParams.h"

#include "core/IniFile.h"
#include "core/Log.h"
#include "core/StringRoutines.h"
#include "platform/Format.h"
#include "platform/StringList.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <mutex>
#include <stdexcept>

namespace {

// Largest font size taken from the settings file for a text element.
constexpr int MaxStoredFontSize = 200;

struct TBuiltIn {
  TColor colour;
  int size;
};
constexpr std::array<TBuiltIn, TickElementCount> kBuiltIn = {{
    {clBlack, 0},   // background
    {clYellow, 10}, // symbol
    {clWhite, 7},   // time
    {clRed, 7},     // change falling
    {clLime, 7},    // change rising
    {clRed, 8},     // price falling
    {clLime, 8},    // price rising
}};

// Elements 5 and 7 share the font name and style of 4 and 6.
bool HasOwnFontName(int e) { return e != teChangeUp && e != tePriceUp; }

struct TShared {
  std::mutex mutex;
  TTickParams live;
  TTickWorkingSet working;
  TDateTime bulbReference = 0;
};

TShared &Shared() {
  static TShared *shared = [] {
    if (LoggingOn && DebugLogging)
      WriteLog("TickParams Init");
    return new TShared;
  }();
  return *shared;
}

std::string LineBreaksTo(const std::string &text, const std::string &replacement) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\r' || c == '\n')
      out += replacement;
    else
      out += c;
  }
  return out;
}

bool IsSkippedSymbol(const std::string &symbol) {
  return symbol.empty() || IsAllDashes(symbol) || symbol[0] == '$';
}

bool Contains(const std::string &text, const std::string &part) {
  return text.find(part) != std::string::npos;
}

} // namespace

// ---- TTickElements -----------------------------------------------------------

TTickElements::TTickElements() {
  for (int e = 1; e <= TickElementCount; ++e)
    m_items[std::size_t(e - 1)] = BuiltIn(e);
}

TTickElement &TTickElements::operator[](int e) {
  if (e < 1 || e > TickElementCount)
    throw std::out_of_range("ticker element " + std::to_string(e));
  return m_items[std::size_t(e - 1)];
}

const TTickElement &TTickElements::operator[](int e) const {
  return const_cast<TTickElements &>(*this)[e];
}

TTickElement TTickElements::BuiltIn(int e) {
  if (e < 1 || e > TickElementCount)
    throw std::out_of_range("ticker element " + std::to_string(e));
  TTickElement element;
  element.Colour = kBuiltIn[std::size_t(e - 1)].colour;
  element.FontSize = kBuiltIn[std::size_t(e - 1)].size;
  return element;
}

// ---- Settings ----------------------------------------------------------------

TTickParams ReadTickParams(const TMyIniFile &ini) {
  TTickParams p;
  const char *s = TickerSection;
  p.Symbols = ini.ReadString(s, "Symbols", "");
  p.ExSymbols = ini.ReadString(s, "ExSymbols", "");
  p.Speed = ini.ReadInteger(s, "Speed", DefaultTickSpeed);
  if (p.Speed < MinTickSpeed || p.Speed > MaxTickSpeed)
    p.Speed = DefaultTickSpeed;
  p.ShowTime = ini.ReadString(s, "ShowTime", "N") == "Y";
  TStringList shown;
  shown.SetCommaText(ini.ReadString(s, "PTOSHOW", ""));
  for (int i = 0; i < shown.Count(); ++i)
    p.PortfoliosToShow.push_back(shown[i]);
  p.Sep = ini.ReadInteger(s, "Sep", DefaultTickSep);
  if (p.Sep < MinTickSep || p.Sep > MaxTickSep)
    p.Sep = DefaultTickSep;

  for (int e = 1; e <= TickElementCount; ++e) {
    TTickElement &el = p.Elements[e];
    const std::string n = std::to_string(e);
    const int colour = ini.ReadInteger(s, "Col" + n, -1);
    if (colour != -1)
      el.Colour = TColor(colour);
    const int size = ini.ReadInteger(s, "FSize" + n, -1);
    if (size != -1) {
      // The background's size is never used; a text element needs a real one.
      const bool usable = e == teBackground ? size >= 0 : size >= 1 && size <= MaxStoredFontSize;
      if (usable)
        el.FontSize = size;
    }
    if (HasOwnFontName(e)) {
      std::string name = Trim(ini.ReadString(s, "FName" + n, "Arial"));
      if (name.empty())
        name = "Arial";
      el.FontName = name.substr(0, TickFontNameMaxLength);
      el.FontStyle = TickStyleFromLetters(ini.ReadString(s, "FStyle" + n, ""));
    }
  }
  p.Elements[teChangeUp].FontName = p.Elements[teChangeDown].FontName;
  p.Elements[teChangeUp].FontStyle = p.Elements[teChangeDown].FontStyle;
  p.Elements[tePriceUp].FontName = p.Elements[tePriceDown].FontName;
  p.Elements[tePriceUp].FontStyle = p.Elements[tePriceDown].FontStyle;
  return p;
}

bool WriteTickParams(TMyIniFile &ini, const TTickParams &p) {
  const char *s = TickerSection;
  bool ok = true;
  ok &= ini.WriteString(s, "Symbols", Trim(LineBreaksTo(p.Symbols, "|")));
  ok &= ini.WriteString(s, "ExSymbols", Trim(LineBreaksTo(p.ExSymbols, " ")));
  ok &= ini.WriteInteger(s, "Speed", p.Speed);
  ok &= ini.WriteString(s, "ShowTime", p.ShowTime ? "Y" : "N");
  TStringList shown;
  for (const std::string &key : p.PortfoliosToShow)
    shown.Add(key);
  ok &= ini.WriteString(s, "PTOSHOW", Trim(LineBreaksTo(shown.CommaText(), " ")));
  ok &= ini.WriteInteger(s, "Sep", p.Sep);
  for (int e = 1; e <= TickElementCount; ++e) {
    const TTickElement &el = p.Elements[e];
    const std::string n = std::to_string(e);
    ok &= ini.WriteInteger(s, "Col" + n, int(el.Colour));
    ok &= ini.WriteInteger(s, "FSize" + n, el.FontSize);
    if (HasOwnFontName(e)) {
      ok &= ini.WriteString(s, "FName" + n, el.FontName);
      ok &= ini.WriteString(s, "FStyle" + n, TickStyleLetters(el.FontStyle));
    }
  }
  if (!ok && LoggingOn)
    WriteLog("SaveTickParams Error: " + ini.LastError());
  return ok;
}

void LoadTickParams() { SetLiveTickParams(ReadTickParams(SettingsFile())); }

bool SaveTickParams() { return WriteTickParams(SettingsFile(), LiveTickParams()); }

// ---- Shared sets ---------------------------------------------------------------

TTickParams LiveTickParams() {
  std::lock_guard lock(Shared().mutex);
  return Shared().live;
}

void SetLiveTickParams(const TTickParams &params) {
  std::lock_guard lock(Shared().mutex);
  Shared().live = params;
}

TTickWorkingSet WorkingTickSet() {
  std::lock_guard lock(Shared().mutex);
  return Shared().working;
}

void SetWorkingTickSet(const TTickWorkingSet &set) {
  std::lock_guard lock(Shared().mutex);
  Shared().working = set;
}

TTickElements TickElementSet(bool useWorkingSet) {
  std::lock_guard lock(Shared().mutex);
  return useWorkingSet ? Shared().working.Elements : Shared().live.Elements;
}

TDateTime BulbReferenceTime() {
  std::lock_guard lock(Shared().mutex);
  return Shared().bulbReference;
}

void SetBulbReferenceTime(TDateTime time) {
  std::lock_guard lock(Shared().mutex);
  Shared().bulbReference = time;
}

// ---- Rules ---------------------------------------------------------------------

void UseTickElement(TCanvas &canvas, const TTickElement &element) {
  TFont &font = canvas.Font();
  font.Name = element.FontName;
  font.SetSize(element.FontSize);
  font.Bold = (element.FontStyle & fsBold) != 0;
  font.Italic = (element.FontStyle & fsItalic) != 0;
}

std::string BuildTickerSymbols(const std::vector<std::vector<std::string>> &portfolioSymbols,
                               bool indicesChecked, const std::string &indexSymbolsText,
                               const std::string &extraSymbols) {
  std::string text = "|";
  for (const auto &symbols : portfolioSymbols)
    for (const std::string &symbol : symbols) {
      if (IsSkippedSymbol(symbol))
        continue;
      if (!Contains(text, "|" + symbol + "|"))
        text += symbol + "|";
    }
  if (indicesChecked)
    text += "|" + StringReplaceAll(indexSymbolsText, " ", "|") + "|";
  // Typed symbols are upper-cased, as the quote store and the updated-symbol
  // sets name them.
  for (const std::string &typed : ParseStr(extraSymbols, "\r\n ,")) {
    const std::string word = UpperCase(typed);
    if (IsSkippedSymbol(word))
      continue;
    if (!Contains(text, "|" + word + "|"))
      text += "|" + word + "|";
  }
  std::string result = "|" + Trim(text) + "|";
  std::size_t at;
  while ((at = result.find("||")) != std::string::npos)
    result.erase(at, 1);
  return result;
}

std::string NormalizeExtraSymbols(const std::string &text) {
  std::string out;
  for (const std::string &word : ParseStr(text, "\r\n ,"))
    out += word + " ";
  return out;
}

bool ParseTickSeparator(const std::string &text, int &value) {
  std::int64_t v = 0;
  try {
    v = StrToInt(Trim(text));
  } catch (const std::exception &) {
    return false;
  }
  value = int(std::clamp<std::int64_t>(v, 1, MaxTickSep));
  return true;
}

std::string TickStyleLetters(TFontStyles style) {
  std::string letters;
  if (style & fsBold)
    letters += "B";
  if (style & fsItalic)
    letters += "I";
  return letters;
}

TFontStyles TickStyleFromLetters(const std::string &letters) {
  TFontStyles style = 0;
  for (char c : letters) {
    if (c == 'B')
      style |= fsBold;
    else if (c == 'I')
      style |= fsItalic;
  }
  return style;
}
