#include "core/IniFile.h"

#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "core/StaleSaveFiles.h"
#include "platform/AsciiText.h"
#include "platform/SaveFileWhole.h"

#include <QFile>
#include <QFileInfo>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>

namespace {

std::string TrimBlanks(const std::string &s) {
  const char *blanks = " \t\r\n";
  const std::size_t b = s.find_first_not_of(blanks);
  if (b == std::string::npos)
    return {};
  const std::size_t e = s.find_last_not_of(blanks);
  return s.substr(b, e - b + 1);
}

std::string Upper(const std::string &s) {
  std::string r = s;
  for (char &c : r)
    c = AsciiUpper(c);
  return r;
}

bool Same(const std::string &a, const std::string &b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!SameAsciiLetter(a[i], b[i]))
      return false;
  return true;
}

bool HasLineBreak(const std::string &s) { return s.find_first_of("\r\n") != std::string::npos; }

// Names that would not read back as the same section or key.
bool ValidSectionName(const std::string &s) {
  const std::string t = TrimBlanks(s);
  return !t.empty() && t == s && !HasLineBreak(s) && s.find(']') == std::string::npos;
}

bool ValidKeyName(const std::string &s) {
  const std::string t = TrimBlanks(s);
  return !t.empty() && t == s && !HasLineBreak(s) && s.find('=') == std::string::npos &&
         s[0] != '[' && s[0] != ';' && s[0] != '#';
}

} // namespace

TMyIniFile::TMyIniFile(const std::string &fileName) : m_lock("INIFILE"), m_fileName(fileName) {}

bool TMyIniFile::LockFile(const char *tag) const {
  if (m_lock.Lock(tag, false))
    return true;
  WriteLog(std::string("TMyIniFile Error: lock not taken ") + tag, 0);
  return false;
}

std::string TMyIniFile::FileName() const {
  MyLockGuard guard(m_lock, "ININ");
  return m_fileName;
}

void TMyIniFile::SetFileName(const std::string &fileName) {
  MyLockGuard guard(m_lock, "ININ");
  m_fileName = fileName;
  m_loaded = false;
  m_lines.clear();
}

std::string TMyIniFile::LastError() const {
  MyLockGuard guard(m_lock, "INIE");
  return m_lastError;
}

void TMyIniFile::LoadIfChanged() const {
  const QFileInfo info(QString::fromStdString(m_fileName));
  const std::int64_t stampMs = info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1;
  const std::int64_t stampSize = info.exists() ? info.size() : -1;
  if (m_loaded && stampMs == m_stampMs && stampSize == m_stampSize)
    return;
  m_lines.clear();
  m_crlf = false;
  m_loaded = true;
  m_stampMs = stampMs;
  m_stampSize = stampSize;
  QFile file(QString::fromStdString(m_fileName));
  if (!file.open(QIODevice::ReadOnly))
    return; // a missing or unreadable file reads as empty
  const QByteArray bytes = file.readAll();
  std::string all(bytes.constData(), std::size_t(bytes.size()));
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t end = all.find('\n', pos);
    std::string text = all.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? all.size() : end + 1;
    if (!text.empty() && text.back() == '\r') {
      text.pop_back();
      m_crlf = true;
    }
    Line line;
    line.text = text;
    const std::string t = TrimBlanks(text);
    if (!t.empty() && t[0] == '[' && t.find(']') != std::string::npos) {
      line.kind = Line::Section;
      line.name = TrimBlanks(t.substr(1, t.find(']') - 1));
    } else if (!t.empty() && t[0] != ';' && t[0] != '#' && t.find('=') != std::string::npos) {
      const std::size_t eq = t.find('=');
      line.kind = Line::Key;
      line.name = TrimBlanks(t.substr(0, eq));
      line.value = TrimBlanks(t.substr(eq + 1));
      if (line.name.empty())
        line.kind = Line::Other;
    }
    m_lines.push_back(std::move(line));
  }
}

int TMyIniFile::FindSection(const std::string &section) const {
  for (std::size_t i = 0; i < m_lines.size(); ++i)
    if (m_lines[i].kind == Line::Section && Same(m_lines[i].name, section))
      return int(i);
  return -1;
}

int TMyIniFile::SectionEnd(int header) const {
  std::size_t i = std::size_t(header) + 1;
  while (i < m_lines.size() && m_lines[i].kind != Line::Section)
    ++i;
  return int(i);
}

int TMyIniFile::FindKey(int header, const std::string &key) const {
  if (header < 0)
    return -1;
  const int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i)
    if (m_lines[std::size_t(i)].kind == Line::Key && Same(m_lines[std::size_t(i)].name, key))
      return i;
  return -1;
}

bool TMyIniFile::Save(const std::vector<Line> &lines) {
  const char *eol = m_crlf ? "\r\n" : "\n";
  std::string all;
  for (const Line &line : lines) {
    all += line.text;
    all += eol;
  }
  std::string error;
  if (!SaveFileWhole(m_fileName, all, error)) {
    m_lastError = error;
    WriteLog("TMyIniFile Error: " + m_fileName + ": " + m_lastError, 0);
    return false;
  }
  m_lastError.clear();
  m_lines = lines;
  // Our own write must not count as a change on disk.
  const QFileInfo info(QString::fromStdString(m_fileName));
  m_stampMs = info.lastModified().toMSecsSinceEpoch();
  m_stampSize = info.size();
  return true;
}

std::string TMyIniFile::ReadString(const std::string &section, const std::string &key,
                                   const std::string &defaultValue) const {
  if (!LockFile("INIR"))
    return defaultValue;
  std::string result = defaultValue;
  try {
    LoadIfChanged();
    const int k = FindKey(FindSection(section), key);
    if (k >= 0)
      result = m_lines[std::size_t(k)].value;
  } catch (...) {
  }
  m_lock.Unlock();
  return result;
}

int TMyIniFile::ReadInteger(const std::string &section, const std::string &key,
                            int defaultValue) const {
  const std::string text = TrimBlanks(ReadString(section, key, ""));
  if (text.empty())
    return defaultValue;
  std::string digits = text;
  bool negative = false;
  if (digits[0] == '-' || digits[0] == '+') {
    negative = digits[0] == '-';
    digits.erase(0, 1);
  }
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.erase(0, 2);
  } else if (digits.size() > 1 && digits[0] == '$') {
    base = 16;
    digits.erase(0, 1);
  }
  if (digits.empty() || !IsAsciiHexDigit(digits[0]))
    return defaultValue;
  errno = 0;
  char *end = nullptr;
  const long long v = std::strtoll(digits.c_str(), &end, base);
  if (errno != 0 || *end != '\0')
    return defaultValue;
  const long long s = negative ? -v : v;
  if (s < INT_MIN || s > INT_MAX)
    return defaultValue;
  return int(s);
}

bool TMyIniFile::ReadBool(const std::string &section, const std::string &key,
                          bool defaultValue) const {
  const std::string text = Upper(TrimBlanks(ReadString(section, key, "")));
  if (text == "1" || text == "YES" || text == "Y" || text == "TRUE")
    return true;
  if (text == "0" || text == "NO" || text == "N" || text == "FALSE")
    return false;
  return defaultValue;
}

bool TMyIniFile::WriteString(const std::string &section, const std::string &key,
                             const std::string &value) {
  if (!ValidSectionName(section) || !ValidKeyName(key)) {
    WriteLog("TMyIniFile Error: invalid name [" + section + "] " + key, 0);
    MyLockGuard guard(m_lock, "INIE");
    m_lastError = "invalid section or key name";
    return false;
  }
  const std::string clean = CleanValue(value);
  return EditAndSave([&] { SetKeyLocked(section, key, clean); }, true);
}

bool TMyIniFile::EditAndSave(const std::function<void()> &edit, bool saveUnchanged) {
  if (!LockFile("INIW"))
    return false;
  bool ok = false;
  std::vector<Line> read;
  try {
    LoadIfChanged();
    read = m_lines;
    edit();
    bool same = !saveUnchanged && m_lines.size() == read.size();
    for (std::size_t i = 0; same && i < read.size(); ++i)
      same = m_lines[i].text == read[i].text;
    std::vector<Line> lines = std::move(m_lines);
    m_lines = read; // Save takes the new lines only once they are on disk
    ok = same || Save(lines);
    if (same)
      m_lastError.clear();
  } catch (const std::exception &e) {
    m_lines = read;
    WriteLog(std::string("TMyIniFile Error: ") + e.what(), 0);
  }
  m_lock.Unlock();
  return ok;
}

std::string TMyIniFile::CleanValue(const std::string &value) {
  std::string clean = value;
  for (char &c : clean)
    if (c == '\r' || c == '\n')
      c = ' ';
  return TrimBlanks(clean); // values read back trimmed
}

void TMyIniFile::SetKeyLocked(const std::string &section, const std::string &key,
                              const std::string &clean) {
  const int header = FindSection(section);
  const int k = FindKey(header, key);
  Line keyLine;
  keyLine.kind = Line::Key;
  keyLine.value = clean;
  if (k >= 0) {
    keyLine.name = m_lines[std::size_t(k)].name; // keep the existing spelling
    keyLine.text = keyLine.name + "=" + clean;
    m_lines[std::size_t(k)] = keyLine;
  } else {
    keyLine.name = key;
    keyLine.text = key + "=" + clean;
    if (header >= 0) {
      // After the section's last non-blank line.
      int at = SectionEnd(header);
      while (at > header + 1 && TrimBlanks(m_lines[std::size_t(at - 1)].text).empty())
        --at;
      m_lines.insert(m_lines.begin() + at, keyLine);
    } else {
      if (!m_lines.empty() && !TrimBlanks(m_lines.back().text).empty())
        m_lines.push_back(Line{});
      Line head;
      head.kind = Line::Section;
      head.name = section;
      head.text = "[" + section + "]";
      m_lines.push_back(head);
      m_lines.push_back(keyLine);
    }
  }
}

bool TMyIniFile::EraseSectionLocked(const std::string &section) {
  // Every section of that name goes, with its lines.
  std::vector<Line> lines;
  bool skipping = false;
  bool found = false;
  for (const Line &line : m_lines) {
    if (line.kind == Line::Section) {
      skipping = Same(line.name, section);
      found = found || skipping;
    }
    if (!skipping)
      lines.push_back(line);
  }
  if (found)
    m_lines = std::move(lines);
  return found;
}

bool TMyIniFile::WriteValues(const std::vector<TIniChange> &changes) {
  for (const TIniChange &change : changes) {
    const bool valid = change.Erase ? ValidSectionName(change.Section)
                                    : ValidSectionName(change.Section) && ValidKeyName(change.Key);
    if (!valid) {
      WriteLog("TMyIniFile Error: invalid name [" + change.Section + "] " + change.Key, 0);
      MyLockGuard guard(m_lock, "INIE");
      m_lastError = "invalid section or key name";
      return false;
    }
  }
  // The file holds these lines already when nothing changed: no save then.
  return EditAndSave(
      [&] {
        for (const TIniChange &change : changes) {
          if (change.Erase)
            EraseSectionLocked(change.Section);
          else
            SetKeyLocked(change.Section, change.Key, CleanValue(change.Value));
        }
      },
      false);
}

bool TMyIniFile::WriteInteger(const std::string &section, const std::string &key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool TMyIniFile::WriteBool(const std::string &section, const std::string &key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

bool TMyIniFile::SectionExists(const std::string &section) const {
  if (!LockFile("INIR"))
    return false;
  bool found = false;
  try {
    LoadIfChanged();
    found = FindSection(section) >= 0;
  } catch (...) {
  }
  m_lock.Unlock();
  return found;
}

bool TMyIniFile::ValueExists(const std::string &section, const std::string &key) const {
  if (!LockFile("INIR"))
    return false;
  bool found = false;
  try {
    LoadIfChanged();
    found = FindKey(FindSection(section), key) >= 0;
  } catch (...) {
  }
  m_lock.Unlock();
  return found;
}

std::vector<std::string> TMyIniFile::ReadSection(const std::string &section) const {
  return SectionEntries(section, false);
}

std::vector<std::string> TMyIniFile::ReadSectionValues(const std::string &section) const {
  return SectionEntries(section, true);
}

std::vector<std::string> TMyIniFile::SectionEntries(const std::string &section,
                                                    bool withValues) const {
  std::vector<std::string> entries;
  if (!LockFile("INIR"))
    return entries;
  try {
    LoadIfChanged();
    const int header = FindSection(section);
    if (header >= 0) {
      const int end = SectionEnd(header);
      for (int i = header + 1; i < end; ++i) {
        const Line &line = m_lines[std::size_t(i)];
        if (line.kind == Line::Key)
          entries.push_back(withValues ? line.name + "=" + line.value : line.name);
      }
    }
  } catch (...) {
  }
  m_lock.Unlock();
  return entries;
}

std::vector<std::string> TMyIniFile::ReadSections() const {
  std::vector<std::string> names;
  if (!LockFile("INIR"))
    return names;
  try {
    LoadIfChanged();
    for (const Line &line : m_lines)
      if (line.kind == Line::Section)
        names.push_back(line.name);
  } catch (...) {
  }
  m_lock.Unlock();
  return names;
}

bool TMyIniFile::EraseSection(const std::string &section) {
  if (!LockFile("INIW"))
    return false;
  bool ok = false;
  try {
    LoadIfChanged();
    const std::vector<Line> read = m_lines;
    if (!EraseSectionLocked(section)) {
      ok = true;
    } else {
      std::vector<Line> lines = std::move(m_lines);
      m_lines = read;
      ok = Save(lines);
    }
  } catch (const std::exception &e) {
    WriteLog(std::string("TMyIniFile Error: ") + e.what(), 0);
  }
  m_lock.Unlock();
  return ok;
}

bool TMyIniFile::DeleteKey(const std::string &section, const std::string &key) {
  if (!LockFile("INIW"))
    return false;
  bool ok = false;
  try {
    LoadIfChanged();
    const int k = FindKey(FindSection(section), key);
    if (k < 0) {
      ok = true;
    } else {
      std::vector<Line> lines = m_lines;
      lines.erase(lines.begin() + k);
      ok = Save(lines);
    }
  } catch (const std::exception &e) {
    WriteLog(std::string("TMyIniFile Error: ") + e.what(), 0);
  }
  m_lock.Unlock();
  return ok;
}

TMyIniFile &SettingsFile() {
  static TMyIniFile file(ProgramFolder() + "BOURSE.INI");
  return file;
}

void OpenSettingsFile() {
  const std::string folder = ProgramFolder();
  const QString ini = QString::fromStdString(folder + "BOURSE.INI");
  const QString copy = QString::fromStdString(folder + "BOURSE.IN_");
  RemoveStaleSaveFiles(folder + "BOURSE.INI");
  RemoveStaleSaveFiles(folder + "BOURSE.IN_");
  if (!QFile::exists(ini) && QFile::exists(copy)) {
    if (QFile::copy(copy, ini))
      WriteLog("BOURSE.INI restored from BOURSE.IN_", 0);
    else
      WriteLog("OpenSettingsFile Error: cannot restore BOURSE.INI from BOURSE.IN_", 0);
  }
  SettingsFile().SetFileName(ini.toStdString());
}

bool BackupSettingsFile() {
  const std::string folder = ProgramFolder();
  QFile source(QString::fromStdString(folder + "BOURSE.INI"));
  if (!source.open(QIODevice::ReadOnly))
    return false;
  const QByteArray bytes = source.readAll();
  std::string error;
  if (!SaveFileWhole(folder + "BOURSE.IN_", std::string_view(bytes.constData(), bytes.size()),
                     error)) {
    WriteLog("BackupSettingsFile Error: cannot write BOURSE.IN_: " + error, 0);
    return false;
  }
  return true;
}
