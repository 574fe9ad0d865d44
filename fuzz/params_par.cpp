// params.par: any bytes are read without harm; every NAME=value item is
// found by its name as the first item of that name gives it, and the items
// written back as NAME=value lines read the same. The program never writes
// this file, so the writer is here.
#include "FuzzSupport.h"

#include "core/ParFile.h"
#include "platform/StringList.h"
#include "platform/StringUtils.h"

#include <map>

namespace {

// The first value of every name, as the look-up defines it.
std::map<std::string, std::string> Params(const TStringList &list) {
  std::map<std::string, std::string> out;
  for (int i = 0; i < list.Count(); ++i) {
    const std::string &item = list[i];
    const std::size_t eq = item.find('=');
    if (eq != std::string::npos)
      out.emplace(UpperCase(Trim(item.substr(0, eq))), Trim(item.substr(eq + 1)));
  }
  return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const std::string path = ScratchPath("params.par");
  const std::string where = "input: " + Shown(input);
  WriteScratchFile(path, input);
  TStringList list;
  ReadParFile(path, list);
  for (int i = 0; i < list.Count(); ++i)
    FUZZ_CHECK(list[i].find('\n') == std::string::npos, where);

  const std::map<std::string, std::string> first = Params(list);
  std::string written;
  for (const auto &[name, value] : first) {
    FUZZ_CHECK(GetProgParam(list, name, "\x01") == value, where + "\nname " + Shown(name));
    // A name with "=" or a line break in it cannot be written as a line.
    if (name.find_first_of("=\r\n") == std::string::npos && !name.empty())
      written += name + "=" + value + "\n";
  }
  WriteScratchFile(path, written);
  TStringList again;
  ReadParFile(path, again);
  for (const auto &[name, value] : Params(again))
    FUZZ_CHECK(first.count(name) && first.at(name) == value, where + "\nname " + Shown(name));
  return 0;
}
