// BOURSE.INI: any bytes are read without harm; a key written is read back,
// every other section and key reads as before the write, and writing the same
// value again leaves the file's bytes as they are.
#include "FuzzSupport.h"

#include "core/IniFile.h"
#include "platform/StringUtils.h"

#include <vector>

namespace {

using Snapshot = std::vector<std::pair<std::string, std::vector<std::string>>>;

Snapshot Read(const TMyIniFile &ini) {
  Snapshot out;
  for (const std::string &section : ini.ReadSections())
    out.emplace_back(section, ini.ReadSectionValues(section));
  return out;
}

std::string Describe(const Snapshot &s) {
  std::string out;
  for (const auto &[section, values] : s) {
    out += "[" + Shown(section) + "]";
    for (const std::string &v : values)
      out += " " + Shown(v);
    out += "\n";
  }
  return out;
}

// What a reader should see after WriteString(section, key, value) on a file
// that read as before: the first section of that name gets the key replaced
// (its first spelling kept) or appended; without one, a new section comes last.
Snapshot Expected(Snapshot before, const std::string &section, const std::string &key,
                  const std::string &value) {
  bool found = false;
  for (auto &[name, values] : before) {
    if (!SameText(name, section))
      continue;
    if (!found) {
      bool replaced = false;
      for (std::string &v : values) {
        const std::string k = v.substr(0, v.find('='));
        if (SameText(k, key)) {
          v = k + "=" + value;
          replaced = true;
          break;
        }
      }
      if (!replaced)
        values.push_back(key + "=" + value);
    }
    found = true;
  }
  // A repeated section name reads as its first section everywhere.
  std::vector<std::string> first;
  for (auto &[name, values] : before)
    if (SameText(name, section)) {
      if (first.empty())
        first = values;
      values = first;
    }
  if (!found)
    before.emplace_back(section, std::vector<std::string>{key + "=" + value});
  return before;
}

void WriteAndCheck(const std::string &path, const std::string &section, const std::string &key,
                   const std::string &value, const std::string &where) {
  Snapshot before;
  {
    TMyIniFile ini(path);
    before = Read(ini);
    if (!ini.WriteString(section, key, value))
      return; // a name the file cannot hold
  }
  TMyIniFile again(path);
  const Snapshot after = Read(again);
  const Snapshot expected = Expected(before, section, key, value);
  FUZZ_CHECK(after == expected, where + "\nwrote [" + Shown(section) + "] " + Shown(key) + "=" +
                                    Shown(value) + "\nexpected:\n" + Describe(expected) +
                                    "read:\n" + Describe(after));
  FUZZ_CHECK(again.ReadString(section, key, "<none>") == value, where);
  const std::string bytes = ReadScratchFile(path);
  FUZZ_CHECK(again.WriteString(section, key, value), where);
  FUZZ_CHECK(ReadScratchFile(path) == bytes, where + "\nsecond write changed the file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  ClearScratchFolder();
  const std::string input(reinterpret_cast<const char *>(data), size);
  const std::string path = ScratchPath("BOURSE.INI");
  WriteScratchFile(path, input);
  const std::string where = "input: " + Shown(input);

  {
    TMyIniFile ini(path);
    for (const std::string &section : ini.ReadSections())
      for (const std::string &key : ini.ReadSection(section)) {
        ini.ReadInteger(section, key, 0);
        ini.ReadBool(section, key, false);
      }
  }
  // A key of the file's own (its number written back), then a new key.
  std::string section, key;
  {
    TMyIniFile ini(path);
    const std::vector<std::string> sections = ini.ReadSections();
    for (const std::string &s : sections) {
      const std::vector<std::string> keys = ini.ReadSection(s);
      if (!keys.empty()) {
        section = s;
        key = keys.front();
        break;
      }
    }
    if (!key.empty()) {
      const int number = ini.ReadInteger(section, key, 0);
      if (ini.WriteInteger(section, key, number)) {
        TMyIniFile again(path);
        FUZZ_CHECK(again.ReadInteger(section, key, number + 1) == number, where);
      }
    }
  }
  WriteAndCheck(path, "Fuzz Check", "Written", "a value = with blanks", where);
  if (!key.empty())
    WriteAndCheck(path, section, key, "changed", where);
  return 0;
}
