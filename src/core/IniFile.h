#pragma once
#include "core/CriticalSection.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A settings file in INI form. Section and key names are matched without
// regard to letter case; the file's order, comments, unknown sections and the
// spelling of existing names are kept. Every read and write takes the file's
// own lock; every write saves the whole file (temporary file, then rename). A
// missing file reads as empty. The file is read again when it changed on disk.
class TMyIniFile {
public:
  explicit TMyIniFile(const std::string &fileName);
  TMyIniFile(const TMyIniFile &) = delete;
  TMyIniFile &operator=(const TMyIniFile &) = delete;

  std::string FileName() const;
  // Binds the object to another file (read at the next access).
  void SetFileName(const std::string &fileName);

  std::string ReadString(const std::string &section, const std::string &key,
                         const std::string &defaultValue) const;
  // Decimal (or "0x"/"$" hexadecimal) integer; the default when absent or not a number.
  int ReadInteger(const std::string &section, const std::string &key, int defaultValue) const;
  // "1"/"YES"/"Y"/"TRUE" and "0"/"NO"/"N"/"FALSE"; other texts give the default.
  bool ReadBool(const std::string &section, const std::string &key, bool defaultValue) const;

  // Writes one key and saves the file. False when the file could not be saved
  // (the old file and the values read stay as they were; the failure is logged
  // and LastError() tells why) or the names are not valid INI names. Line
  // breaks in a value are written as blanks.
  bool WriteString(const std::string &section, const std::string &key, const std::string &value);
  bool WriteInteger(const std::string &section, const std::string &key, int value);
  // Writes "1" or "0".
  bool WriteBool(const std::string &section, const std::string &key, bool value);

  bool SectionExists(const std::string &section) const;
  bool ValueExists(const std::string &section, const std::string &key) const;
  // The key names of a section, in file order.
  std::vector<std::string> ReadSection(const std::string &section) const;
  // "key=value" for each key of a section, in file order.
  std::vector<std::string> ReadSectionValues(const std::string &section) const;
  // The names of all sections, in file order.
  std::vector<std::string> ReadSections() const;
  bool EraseSection(const std::string &section);
  bool DeleteKey(const std::string &section, const std::string &key);

  // Why the last write failed ("" after a successful one).
  std::string LastError() const;

  // Several writes and section erasures in one go, in order, with one save;
  // no save when they leave every line as it was. False as for WriteString.
  struct TIniChange {
    std::string Section;
    std::string Key;
    std::string Value;
    bool Erase = false; // erase the section instead
  };
  bool WriteValues(const std::vector<TIniChange> &changes);

private:
  struct Line {
    enum Kind { Other, Section, Key } kind = Other;
    std::string text;  // the line as read or as written (without line end)
    std::string name;  // section or key name
    std::string value; // key value
  };

  bool LockFile(const char *tag) const;
  void LoadIfChanged() const;
  bool Save(const std::vector<Line> &lines);
  static std::string CleanValue(const std::string &value);
  // Under the lock: edit changes m_lines, which are then saved (with
  // saveUnchanged, or when a line changed); they stay as read when the save fails.
  bool EditAndSave(const std::function<void()> &edit, bool saveUnchanged);
  // Edit m_lines in place; the caller holds the lock.
  void SetKeyLocked(const std::string &section, const std::string &key, const std::string &clean);
  bool EraseSectionLocked(const std::string &section); // false when there was no such section
  int FindSection(const std::string &section) const;   // index of its header line or -1
  int SectionEnd(int header) const;                    // index after the section's last line
  int FindKey(int header, const std::string &key) const;
  // The key lines of a section in file order: names, or "key=value" with withValues.
  std::vector<std::string> SectionEntries(const std::string &section, bool withValues) const;

  mutable MyCriticalSection m_lock;
  std::string m_fileName;
  mutable std::vector<Line> m_lines;
  mutable bool m_loaded = false;
  mutable std::int64_t m_stampMs = -1;
  mutable std::int64_t m_stampSize = -1;
  mutable bool m_crlf = false;
  std::string m_lastError;
};

// The program's settings file, ProgramFolder() + "BOURSE.INI".
TMyIniFile &SettingsFile();
// Binds SettingsFile() to the current ProgramFolder(); temporary files that a
// killed save left beside BOURSE.INI or BOURSE.IN_ are removed, and when
// BOURSE.INI is missing it is first restored from its copy BOURSE.IN_. Call at start-up
// after SetProgramFolder.
void OpenSettingsFile();
// Copies BOURSE.INI to BOURSE.IN_ (whole or not at all); false on failure.
bool BackupSettingsFile();
