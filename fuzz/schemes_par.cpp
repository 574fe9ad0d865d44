// schemes.par: any bytes are read without harm; the schemes read, written in
// the file's documented form (docs/color-schemes.md) and read again are the
// same. The program itself never writes this file, so the writer is here.
#include "FuzzSupport.h"

#include "platform/StringUtils.h"
#include "views/stockgrid/ColorScheme.h"

#include <cstdio>

namespace {

std::string SchemesText(const std::vector<ColorScheme> &schemes) {
  std::string text = "NumSets=" + std::to_string(schemes.size()) + "\n";
  for (std::size_t i = 0; i < schemes.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    text += "NAME" + n + "=" + schemes[i].Name + "\n";
    for (int slot : SchemeFileKeyOrder()) {
      char value[16];
      std::snprintf(value, sizeof value, "%X", unsigned(schemes[i].Slot(slot)));
      text += SchemeSlotKey(slot) + n + "=" + value + "\n";
    }
  }
  return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const std::string path = ScratchPath("schemes.par");
  const std::string where = "input: " + Shown(input);
  WriteScratchFile(path, input);
  LoadColorSchemes(path);
  const std::vector<ColorScheme> first = Schemes;
  FUZZ_CHECK(!first.empty() && int(first.size()) == SchemeCount &&
                 SchemeCount <= MaxSchemeCount,
             where);
  for (int n = -1; n <= SchemeCount + 1; ++n)
    SelectColorScheme(n);

  WriteScratchFile(path, SchemesText(first));
  LoadColorSchemes(path);
  const std::vector<ColorScheme> second = Schemes;
  FUZZ_CHECK(second.size() == first.size(), where);
  for (std::size_t i = 0; i < first.size(); ++i) {
    // A name cut to its length limit may end in blanks, which the reader trims.
    FUZZ_CHECK(second[i].Name == Trim(first[i].Name),
               where + "\nname " + Shown(first[i].Name) + " read back as " + Shown(second[i].Name));
    for (int slot = 0; slot < SchemeColorCount; ++slot)
      FUZZ_CHECK(second[i].Slot(slot) == first[i].Slot(slot),
                 where + "\nscheme " + std::to_string(i + 1) + " " + SchemeSlotKey(slot));
  }
  ResetColorSchemes();
  return 0;
}
