// The news settings and filtering rules of BOURSE.INI ([News], [ExNews]) and
// the rule texts the options page and the rules editor take: read without
// harm; what was read, written and read again is the same; tidying a rule
// list twice changes nothing the second time.
#include "FuzzSupport.h"

#include "alerts/news/NewsRules.h"
#include "core/DisplaySettings.h"
#include "core/IniFile.h"

namespace {

std::string Describe(const TDisplaySettings &s) {
  std::string out = std::to_string(s.ValuationPrice) + " " + std::to_string(s.Stripes) +
                    std::to_string(s.HighBidAsk) + std::to_string(s.Highs) +
                    std::to_string(s.Lows) + std::to_string(s.SolidHL) +
                    std::to_string(s.HiWhole) + std::to_string(s.NoSign) +
                    std::to_string(s.Fractions) + " source " + Shown(s.NewsSource) + " " +
                    std::to_string(s.HighRefresh) + " " + std::to_string(s.LowRefresh) + " " +
                    std::to_string(s.MaxItems) + " " + std::to_string(s.FilterTitles) +
                    std::to_string(s.SingleClick) + std::to_string(s.NewsOn) +
                    std::to_string(s.TwoPanes) + " high " + Shown(s.HighPriority) + " rules";
  for (const std::string &r : s.ExcludeRules)
    out += " " + Shown(r);
  return out;
}

// A settings value as the file gives it back: line breaks written as blanks,
// blanks at the ends trimmed (IniFile.h).
std::string AsStored(const std::string &value) {
  std::string out = value;
  for (char &c : out)
    if (c == '\r' || c == '\n')
      c = ' ';
  const std::size_t b = out.find_first_not_of(" \t");
  if (b == std::string::npos)
    return {};
  return out.substr(b, out.find_last_not_of(" \t") - b + 1);
}

TDisplaySettings AsStored(TDisplaySettings s) {
  s.NewsSource = AsStored(s.NewsSource);
  s.HighPriority = AsStored(s.HighPriority);
  for (std::string &rule : s.ExcludeRules)
    rule = AsStored(rule);
  return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const std::string where = "input: " + Shown(input);

  // The rule texts as typed.
  const std::vector<std::string> lines = SplitRuleLines(input);
  const std::vector<std::string> tidy = NormalizeRuleLines(lines);
  FUZZ_CHECK(NormalizeRuleLines(SplitRuleLines(JoinRuleLines(tidy))) == tidy, where);
  for (const std::string &rule : tidy)
    FUZZ_CHECK(!rule.empty() && rule.size() <= MaxRuleLength &&
                   rule.find_first_of("#$@\r\n") == std::string::npos,
               where + "\nrule " + Shown(rule));
  NormalizeHighPriority(input);
  // The rules editor trims the expression of the row it has open when OK is
  // pressed ("S:  x" gives "S:x"), so its result settles after one round.
  TRulesEditorModel editor;
  editor.LoadRules(JoinRuleLines(tidy));
  TRulesEditorModel once;
  once.LoadRules(editor.Accept());
  const std::string accepted = once.Accept();
  TRulesEditorModel again;
  again.LoadRules(accepted);
  FUZZ_CHECK(again.Accept() == accepted, where + "\naccepted " + Shown(accepted));

  // The settings file.
  ClearScratchFolder();
  const std::string path = ScratchPath("BOURSE.INI");
  WriteScratchFile(path, input);
  TDisplaySettings first;
  {
    TMyIniFile ini(path);
    first = ReadDisplaySettings(ini);
  }
  const std::string savedPath = ScratchPath("saved.ini");
  {
    TMyIniFile saved(savedPath);
    FUZZ_CHECK(WriteDisplaySettings(saved, first), where);
  }
  TMyIniFile saved(savedPath);
  const TDisplaySettings second = ReadDisplaySettings(saved);
  FUZZ_CHECK(Describe(second) == Describe(AsStored(first)),
             where + "\nfirst:  " + Describe(first) + "\nsecond: " + Describe(second));
  return 0;
}
