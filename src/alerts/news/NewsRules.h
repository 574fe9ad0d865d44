#pragma once
// News filtering rules as the options page and the rules editor keep them:
// one line per rule, a kind letter ("S" source, "T" title, "U" link URL), a
// colon and an expression with "*" and "?" wildcards. "#", "$" and "@" have
// meanings of their own to the matcher and never get into an expression.
#include <string>
#include <vector>

constexpr std::size_t MaxRuleLength = 255;

// Every "#", "$" and "@" becomes "?".
std::string CleanRuleText(const std::string &text);

// Tidies typed rule lines: each is trimmed (empty lines are dropped), its
// first character upper-cased, given "U:" (when it holds a "/") or "T:" when
// it does not begin with "T:", "S:" or "U:", cut to MaxRuleLength characters
// and cleaned: "stock exchange" gives "T:Stock exchange", "/press/" gives
// "U:/press/", "s:Wire" gives "S:Wire".
std::vector<std::string> NormalizeRuleLines(const std::vector<std::string> &lines);

// The high-priority symbols as stored: words split at blanks, tabs, line
// breaks, "," and "/", upper-cased, joined by single blanks.
std::string NormalizeHighPriority(const std::string &text);

// Lines of a text (CR LF, LF or CR separated); a final line break adds no line.
std::vector<std::string> SplitRuleLines(const std::string &text);
std::string JoinRuleLines(const std::vector<std::string> &lines); // CR LF between lines

// The kind names of the editor's "Rule Applies to" list, in list order.
const std::vector<std::string> &RuleKindNames(); // "Source", "Title", "URL"
// "Source", "Title" or "URL" for a rule line's first character; "" otherwise.
std::string RuleKindName(char letter);

// The rules editor without its window: a grid of rules (row 0 holds the
// titles; column 1 the kind name, column 2 the expression) with a selected
// row, and the edit panel (kind and expression) bound to an edited row
// (0 = none). The dialog mirrors this state in its controls.
class TRulesEditorModel {
public:
  static constexpr int ColCount = 3;

  // ---- Grid
  int RowCount() const { return int(m_rows.size()); }
  std::string Cell(int col, int row) const;
  int SelectedRow() const { return m_selected; }
  int EditedRow() const { return m_edited; }

  // ---- Edit panel: the kind index into RuleKindNames() (-1 none) and the
  // expression as typed.
  int WhichIndex() const { return m_which; }
  std::string WhichText() const;
  const std::string &RuleText() const { return m_rule; }
  bool SaveEnabled() const { return m_saveEnabled; }
  bool CancelChangesEnabled() const { return m_saveEnabled; }
  bool DeleteEnabled() const { return m_deleteEnabled; }

  // ---- Operations, named after what the dialog runs
  // Fills the grid from rule lines joined by CR LF (one empty row when there is
  // none), selects row 1 and loads it into the panel.
  void LoadRules(const std::string &rulesText);
  // Loads the selected row into the panel and makes it the edited row.
  void LoadEditRow();
  // Whether the panel differs from the edited row; sets the Save, Cancel
  // Changes and Delete states (only while a row is being edited).
  bool UpdateButtons();
  // Writes the panel into the edited row when its expression is not blank
  // (kind "Title" when none is chosen); the edit then ends. True when written.
  bool SaveEditRow();

  void SetWhichIndex(int index);             // cmbWhichChange
  void SetRuleText(const std::string &text); // dfRuleChange
  void SelectRow(int row);                   // tbRulesClick: saves the pending edit, loads the row
  void Save();                               // pbSaveClick
  void CancelChanges();                      // pbCancelChangesClick
  void AddRule();                            // pbAddClick
  // pbDeleteRuleClick after the user's answer.
  void DeleteRule(bool confirmed);
  // Row moving: rule row from goes to position to (both 1 .. RowCount - 1),
  // the rows between shift by one. The pending edit is saved first; the moved
  // row is selected and loaded. False (nothing moved) when out of range.
  bool MoveRow(int from, int to);
  // pbOKClick: the rules text the editor gives back (complete rows only).
  std::string Accept();

private:
  struct Row {
    std::string Kind;
    std::string Expression;
  };
  std::string &CellRef(int col, int row);
  bool ValidEditedRow() const { return m_edited >= 1 && m_edited < RowCount(); }

  std::vector<Row> m_rows{Row{"What", "Filter Expression"}, Row{}};
  int m_selected = 1;
  int m_edited = 0;
  int m_which = -1;
  std::string m_rule;
  bool m_saveEnabled = false;
  bool m_deleteEnabled = false;
};
