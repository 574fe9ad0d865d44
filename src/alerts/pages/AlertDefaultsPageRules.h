#pragma once
// The rules of the alert defaults page, apart from its controls: which sound
// controls are enabled, the threshold field, the default-template list and
// the sound test.
#include <string>

class EMailSetupList;

// Which of the sound controls take input.
struct TAudioEnabling {
  bool Choice = false;   // the "Standard:" and "Custom:" buttons
  bool Test = false;     // the test button
  bool Standard = false; // the standard-sound list
  bool WaveFile = false; // the wave file field and its button
  bool operator==(const TAudioEnabling &) const = default;
};
TAudioEnabling AudioEnabling(bool audio, bool standardChecked, bool customChecked);

// The duplicate-alert threshold as typed: true with the minutes, or false
// with the conversion error's message ("'x' is not a valid integer value").
bool ParseAlertThreshold(const std::string &text, int &minutes, std::string &error);

// The default-template list shows "--- No Email Alert ---" and then the
// templates in list order. The entry of a template ID (0 when it names none),
// and the ID of an entry ("" for entry 0 and entries beyond the list).
inline constexpr const char *NoEmailAlertEntry = "--- No Email Alert ---";
int TemplateEntryOfID(const EMailSetupList &setups, const std::string &id);
std::string TemplateIDOfEntry(const EMailSetupList &setups, int entry);

// The folder part of a file name (up to its last separator), for the file
// dialog; "" when there is none.
std::string FolderOfFile(const std::string &fileName);

// Plays the chosen sound through AppSound(): a standard sound by index, or
// the wave file. False only when the wave file could not be played.
bool PlayAlertTestSound(bool standard, int standardIndex, const std::string &waveFile);
