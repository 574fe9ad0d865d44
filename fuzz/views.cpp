// Views: a spec text and a [Views] section of BOURSE.INI are read without
// harm; the view read, written and read again is the same, and the stored
// views saved and loaded again keep their names and specs.
#include "FuzzSupport.h"

#include "core/IniFile.h"
#include "views/ViewStore.h"

namespace {

std::string Describe(const ViewRecord &v) {
  std::string out = Shown(v.FontName) + " " + std::to_string(v.FontSize) + (v.Bold ? " B" : "") +
                    (v.Italic ? " I" : "") + " cols";
  for (int c : v.FieldCol)
    out += " " + std::to_string(c);
  out += " styles";
  for (int s : v.FieldStyle)
    out += " " + std::to_string(s);
  return out;
}

std::vector<std::string> Items(const TStringList &list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(list[i]);
  return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const std::string where = "input: " + Shown(input);

  // The spec alone.
  ViewRecord first;
  std::string error;
  if (ParseViewSpec(input, first, error)) {
    const std::string text = ViewSpecText(first);
    ViewRecord second;
    FUZZ_CHECK(ParseViewSpec(text, second, error), where + "\nspec " + Shown(text));
    FUZZ_CHECK(second == first, where + "\nspec " + Shown(text) + "\nfirst:  " + Describe(first) +
                                    "\nsecond: " + Describe(second));
    FUZZ_CHECK(ViewSpecText(second) == text, where);
  }

  // The store, from a settings file.
  ClearScratchFolder();
  const std::string path = ScratchPath("BOURSE.INI");
  WriteScratchFile(path, input);
  ResetViewStore();
  {
    TMyIniFile ini(path);
    LoadColumnViews(ini);
  }
  const std::vector<std::string> names = Items(ViewNameList), specs = Items(ViewSpecList);
  FUZZ_CHECK(!names.empty() && names.size() == specs.size(), where);
  for (int i = 0; i < int(names.size()); ++i)
    FUZZ_CHECK(SelectView(i), where + "\nview " + std::to_string(i));

  const std::string savedPath = ScratchPath("saved.ini");
  {
    TMyIniFile saved(savedPath);
    FUZZ_CHECK(SaveColumnViews(saved), where);
  }
  ResetViewStore();
  {
    TMyIniFile saved(savedPath);
    LoadColumnViews(saved);
  }
  FUZZ_CHECK(Items(ViewNameList) == names, where + "\nsaved: " + Shown(ReadScratchFile(savedPath)));
  FUZZ_CHECK(Items(ViewSpecList) == specs, where + "\nsaved: " + Shown(ReadScratchFile(savedPath)));
  ResetViewStore();
  return 0;
}
