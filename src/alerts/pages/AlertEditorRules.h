#pragma once
// Rules of the alert editor page that need no window: the editor's controls
// as values and their copy into an alert, the texts of the tree's action
// nodes, the copy of an edit into the stored alert, and the symbol text of
// the orphan clean-up.
#include <cstdint>
#include <string>
#include <vector>

class EMailSetupList;
class TAlertRecord;

// The editor's controls outside the parameter fields.
struct TAlertEditorValues {
  int AlertType = 0;
  bool Enabled = true;
  bool High = false; // row highlight, in HighColor
  std::int32_t HighColor = 255;
  bool Flash = false;
  bool Pop = false;
  int EMailIndex = 0; // 0 "--- No Email Alert ---", else template EMailIndex - 1
  bool Audio = false;
  bool System = true; // a standard sound rather than a wave file
  int SoundIndex = 0; // the standard sound
  std::string WaveFile;
};

// Copies the controls into the alert: type, enabled flag, the actions (the
// colour only with the highlight), the e-mail template (ID of the chosen one,
// or none) and, with the sound action, the sound (standard or wave file).
void ApplyEditorValues(const TAlertEditorValues &values, const EMailSetupList &setups,
                       TAlertRecord &alert);
// The e-mail list entry of the alert's template: 1 + its position, else 0.
int EMailIndexOf(const TAlertRecord &alert, const EMailSetupList &setups);

// The texts of an alert's action nodes in action order: the action's name;
// the sound action with a standard sound "Sound Audio Alert: Standard (name)",
// with a wave file "Sound Audio Alert: Custom (file)"; each trimmed.
std::vector<std::string> ActionNodeTexts(const TAlertRecord &alert);
// Whether ActionNodeTexts gives any text (without making them).
bool HasActionNodes(const TAlertRecord &alert);

// Copies what the user edits (symbol, type, P1 .. P4, actions, enabled flag,
// colour, sound, e-mail template) into a stored alert and keeps its run-time
// state; P5, which a news alert uses at run time, follows only with a new type.
void CopyUserFields(const TAlertRecord &from, TAlertRecord &to);

// A symbol as the editor stores it: trimmed, upper case, at most 15 characters.
std::string CleanAlertSymbol(const std::string &text);

// The symbols of the portfolios and of the watch list (comma- or
// blank-separated) as one upper-case text with a blank before and after
// every symbol and single blanks between them.
std::string OrphanSymbolText(const std::string &portfolioSymbols, const std::string &watchSymbols);
