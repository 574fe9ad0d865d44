#include "views/ViewStore.h"

#include "core/IniFile.h"
#include "core/Log.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <charconv>
#include <map>

ViewRecord CurrentView = DefaultViews().front();
TStringList ViewNameList;
TStringList ViewSpecList;

namespace {

constexpr const char *kViewsSection = "Views";
constexpr const char *kViewKeyPrefix = "View";
constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 200;

std::vector<std::string> Split(const std::string &text, char delimiter) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : text) {
    if (c == delimiter) {
      parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  parts.push_back(part);
  return parts;
}

bool ToInt(const std::string &text, int &value) {
  const std::string t = Trim(text);
  if (t.empty())
    return false;
  const char *end = t.data() + t.size();
  auto [p, ec] = std::from_chars(t.data(), end, value);
  return ec == std::errc() && p == end;
}

// Separators of the spec must not appear inside the font name, nor line
// breaks, which the settings file would not keep.
std::string CleanFontName(const std::string &name) {
  std::string out = name;
  for (char &c : out)
    if (c == ';' || c == '|' || c == '=' || c == ',' || c == '\r' || c == '\n')
      c = ' ';
  return Trim(out);
}

// A name as the settings file gives it back: no line breaks (written as
// blanks) and no blanks at the ends (trimmed when read), also after the cut.
std::string CleanViewName(const std::string &name) {
  std::string out = StringReplaceAll(name, "|", "/");
  for (char &c : out)
    if (c == '\r' || c == '\n')
      c = ' ';
  return Trim(CutTo(out, ViewNameMaxLength));
}

ViewRecord MakeView(const std::string &name, int fontSize, const std::vector<int> &fields) {
  ViewRecord v;
  v.Name = name;
  v.FontSize = fontSize;
  for (std::size_t i = 0; i < fields.size(); ++i)
    v.FieldCol[fields[i]] = int(i);
  return v;
}

void AddView(const ViewRecord &view) {
  ViewNameList.Add(CleanViewName(view.Name));
  ViewSpecList.Add(ViewSpecText(view));
}

} // namespace

// ---- Spec text -----------------------------------------------------------------

std::string ViewSpecText(const ViewRecord &view) {
  std::string style;
  if (view.Bold)
    style += 'B';
  if (view.Italic)
    style += 'I';

  // Shown fields in column order.
  std::vector<std::pair<int, int>> shown; // column, field
  for (int f = 0; f < GridFieldCount; ++f)
    if (view.FieldCol[f] >= 0)
      shown.emplace_back(view.FieldCol[f], f);
  std::stable_sort(shown.begin(), shown.end());
  std::string cols;
  for (const auto &[col, field] : shown) {
    if (!cols.empty())
      cols += ',';
    cols += FieldViewKey(field);
  }

  std::string styles;
  for (int f = 0; f < GridFieldCount; ++f) {
    if (view.FieldStyle[f] == 0)
      continue;
    if (!styles.empty())
      styles += ',';
    styles += FieldViewKey(f) + ":" + std::to_string(int(view.FieldStyle[f]));
  }

  std::string spec = "font=" + CleanFontName(view.FontName) +
                     ";size=" + std::to_string(view.FontSize) + ";style=" + style + ";cols=" + cols;
  if (!styles.empty())
    spec += ";styles=" + styles;
  return spec;
}

bool ParseViewSpec(const std::string &spec, ViewRecord &view, std::string &error) {
  ViewRecord out = view;
  out.FieldCol.fill(-1);
  out.FieldStyle.fill(0);
  bool haveCols = false;

  for (const std::string &item : Split(spec, ';')) {
    const std::size_t eq = item.find('=');
    if (eq == std::string::npos)
      continue;
    const std::string name = UpperCase(Trim(item.substr(0, eq)));
    const std::string value = Trim(item.substr(eq + 1));
    if (name == "FONT") {
      // Read as the spec writes it, so a view saved and read again keeps its font.
      const std::string font = CleanFontName(value);
      if (!font.empty())
        out.FontName = font;
    } else if (name == "SIZE") {
      int size = 0;
      if (ToInt(value, size))
        out.FontSize = std::clamp(size, kMinFontSize, kMaxFontSize);
    } else if (name == "STYLE") {
      const std::string s = UpperCase(value);
      out.Bold = s.find('B') != std::string::npos;
      out.Italic = s.find('I') != std::string::npos;
    } else if (name == "COLS") {
      // The symbol field comes first whatever the text says; unknown and
      // repeated keys are skipped.
      // A later "cols" item replaces an earlier one rather than adding to it,
      // which would put two fields in one column.
      out.FieldCol.fill(-1);
      std::vector<int> fields{gfSymbol};
      for (const std::string &key : Split(value, ',')) {
        const int f = FieldByViewKey(Trim(key));
        if (f < 0 || std::find(fields.begin(), fields.end(), f) != fields.end())
          continue;
        fields.push_back(f);
      }
      for (std::size_t i = 0; i < fields.size(); ++i)
        out.FieldCol[fields[i]] = int(i);
      haveCols = true;
    } else if (name == "STYLES") {
      for (const std::string &entry : Split(value, ',')) {
        const std::size_t colon = entry.find(':');
        if (colon == std::string::npos)
          continue;
        const int f = FieldByViewKey(Trim(entry.substr(0, colon)));
        int bits = 0;
        if (f >= 0 && ToInt(entry.substr(colon + 1), bits))
          out.FieldStyle[f] = std::uint8_t(bits & (fsFieldBold | fsFieldItalic | fsFieldKeepFont));
      }
    }
  }
  if (!haveCols) {
    error = "the view names no columns";
    return false;
  }
  view = out;
  error.clear();
  return true;
}

std::vector<ViewRecord> DefaultViews() {
  ViewRecord standard =
      MakeView("Standard", 9,
               {gfSymbol, gfLast, gfChange, gfBid, gfAsk, gfVolume, gfLow, gfHigh, gfQuantity,
                gfPaid, gfValue, gfValueChange, gfGain, gfPctPort, gfQuoteTime});
  standard.FieldStyle[gfSymbol] = fsFieldBold;
  ViewRecord fundamentals =
      MakeView("Fundamentals", 9,
               {gfSymbol, gfLast, gfChange, gfPrvCls, gfOpen, gfLow52, gfHigh52, gfPE, gfEarn,
                gfDividend, gfYield, gfMktCap, gfCompanyName, gfExchange});
  fundamentals.FieldStyle[gfSymbol] = fsFieldBold;
  return {standard, fundamentals};
}

// ---- Store -------------------------------------------------------------------------

void StoreColumnView(const ViewRecord &View, int Index, const std::string &Name) {
  const std::string name = CleanViewName(Name);
  const std::string spec = ViewSpecText(View);
  if (Index >= 0 && Index < ViewNameList.Count() && Index < ViewSpecList.Count()) {
    ViewNameList.SetStrings(Index, name);
    ViewSpecList.SetStrings(Index, spec);
    return;
  }
  // Keep the two lists the same length before appending.
  while (ViewSpecList.Count() < ViewNameList.Count())
    ViewSpecList.Add(ViewSpecText(DefaultViews().front()));
  while (ViewNameList.Count() < ViewSpecList.Count())
    ViewNameList.Add("View " + std::to_string(ViewNameList.Count() + 1));
  ViewNameList.Add(name);
  ViewSpecList.Add(spec);
}

bool SaveColumnViews(TMyIniFile &ini) {
  ini.EraseSection(kViewsSection);
  bool ok = true;
  const int n = std::min(ViewNameList.Count(), ViewSpecList.Count());
  for (int i = 0; i < n; ++i)
    ok = ini.WriteString(kViewsSection, kViewKeyPrefix + std::to_string(i + 1),
                         ViewNameList[i] + "|" + ViewSpecList[i]) &&
         ok;
  return ok;
}

void LoadColumnViews(const TMyIniFile &ini) {
  ViewNameList.Clear();
  ViewSpecList.Clear();

  std::map<int, std::string> entries; // by view number
  for (const std::string &line : ini.ReadSectionValues(kViewsSection)) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos)
      continue;
    const std::string key = Trim(line.substr(0, eq));
    int number = 0;
    if (!StartsText(kViewKeyPrefix, key) || !ToInt(key.substr(4), number))
      continue;
    entries[number] = line.substr(eq + 1);
  }
  for (const auto &[number, value] : entries) {
    const std::size_t bar = value.find('|');
    ViewRecord view;
    std::string error;
    if (bar == std::string::npos || !ParseViewSpec(value.substr(bar + 1), view, error)) {
      if (LoggingOn)
        WriteLog("VIEWS Error: View" + std::to_string(number) + " " +
                 (error.empty() ? "has no name" : error));
      continue;
    }
    view.Name = Trim(value.substr(0, bar));
    AddView(view);
  }
  if (ViewNameList.Count() == 0)
    for (const ViewRecord &view : DefaultViews())
      AddView(view);

  SelectView(0);
  CurrentView.BulbSingleClick = ReadBulbSingleClick(ini);
}

bool BulbSingleClickValue(const std::string &value) {
  const std::string v = UpperCase(Trim(value));
  return v == "Y" || v == "YES";
}

bool ReadBulbSingleClick(const TMyIniFile &ini) {
  return BulbSingleClickValue(ini.ReadString("News", "SingleClick", "Y"));
}

void ApplyBulbClickSetting(bool singleClick) { CurrentView.BulbSingleClick = singleClick; }

bool SelectView(int index) {
  if (index < 0 || index >= ViewNameList.Count() || index >= ViewSpecList.Count())
    return false;
  ViewRecord view = CurrentView;
  std::string error;
  if (!ParseViewSpec(ViewSpecList[index], view, error))
    return false;
  view.Name = ViewNameList[index];
  CurrentView = view;
  return true;
}

void ResetViewStore() {
  ViewNameList.Clear();
  ViewSpecList.Clear();
  CurrentView = DefaultViews().front();
}
