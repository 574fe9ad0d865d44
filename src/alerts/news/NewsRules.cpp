#include "alerts/news/NewsRules.h"

#include "platform/AsciiText.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <cctype>

std::string CleanRuleText(const std::string &text) {
  std::string out = text;
  for (char &c : out)
    if (c == '#' || c == '$' || c == '@')
      c = '?';
  return out;
}

std::vector<std::string> NormalizeRuleLines(const std::vector<std::string> &lines) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (const std::string &raw : lines) {
    std::string line = Trim(raw);
    if (line.empty())
      continue;
    line[0] = AsciiUpper(line[0]);
    if (line.rfind("T:", 0) != 0 && line.rfind("S:", 0) != 0 && line.rfind("U:", 0) != 0)
      line = (line.find('/') != std::string::npos ? "U:" : "T:") + line;
    // Trimmed again after the cut, so that tidying a tidy line changes nothing.
    out.push_back(CleanRuleText(TrimRight(CutTo(line, MaxRuleLength))));
  }
  return out;
}

std::string NormalizeHighPriority(const std::string &text) {
  std::string out;
  std::string word;
  auto flush = [&] {
    if (!word.empty())
      out += " " + UpperCase(word);
    word.clear();
  };
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == '/')
      flush();
    else
      word += c;
  }
  flush();
  return Trim(out);
}

std::vector<std::string> SplitRuleLines(const std::string &text) {
  std::vector<std::string> lines = SplitAtLineBreaks(text);
  if (lines.back().empty())
    lines.pop_back();
  return lines;
}

std::string JoinRuleLines(const std::vector<std::string> &lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0)
      out += "\r\n";
    out += lines[i];
  }
  return out;
}

const std::vector<std::string> &RuleKindNames() {
  static const std::vector<std::string> names = {"Source", "Title", "URL"};
  return names;
}

std::string RuleKindName(char letter) {
  switch (letter) {
  case 'S':
    return "Source";
  case 'T':
    return "Title";
  case 'U':
    return "URL";
  default:
    return "";
  }
}

// ---- TRulesEditorModel ------------------------------------------------------------

namespace {
int KindIndex(const std::string &name) {
  const auto &names = RuleKindNames();
  const auto it = std::find(names.begin(), names.end(), name);
  return it == names.end() ? -1 : int(it - names.begin());
}
} // namespace

std::string TRulesEditorModel::Cell(int col, int row) const {
  if (row < 0 || row >= RowCount())
    return {};
  if (col == 1)
    return m_rows[std::size_t(row)].Kind;
  if (col == 2)
    return m_rows[std::size_t(row)].Expression;
  return {};
}

std::string &TRulesEditorModel::CellRef(int col, int row) {
  Row &r = m_rows.at(std::size_t(row));
  return col == 1 ? r.Kind : r.Expression;
}

std::string TRulesEditorModel::WhichText() const {
  return m_which >= 0 ? RuleKindNames()[std::size_t(m_which)] : std::string();
}

void TRulesEditorModel::LoadRules(const std::string &rulesText) {
  m_rows.assign(1, Row{"What", "Filter Expression"});
  for (const std::string &line : SplitRuleLines(rulesText))
    m_rows.push_back(Row{line.empty() ? std::string() : RuleKindName(line[0]),
                         line.size() > 2 ? line.substr(2) : std::string()});
  if (RowCount() < 2)
    m_rows.emplace_back();
  m_selected = std::clamp(m_selected, 1, RowCount() - 1);
  m_edited = 0;
  LoadEditRow();
}

void TRulesEditorModel::LoadEditRow() {
  m_which = KindIndex(Cell(1, m_selected));
  m_rule = Cell(2, m_selected);
  m_edited = m_selected;
  UpdateButtons();
}

bool TRulesEditorModel::UpdateButtons() {
  if (!ValidEditedRow())
    return false;
  const bool changed = m_which >= 0 && (WhichText() != Cell(1, m_edited) ||
                                        CleanRuleText(m_rule) != CleanRuleText(Cell(2, m_edited)));
  m_saveEnabled = changed;
  m_deleteEnabled = !Cell(1, m_selected).empty();
  return changed;
}

bool TRulesEditorModel::SaveEditRow() {
  const std::string rule = Trim(m_rule);
  if (!ValidEditedRow() || rule.empty())
    return false;
  // A rule typed without choosing its kind is kept as a title rule rather
  // than left without a kind (which would drop it at OK).
  if (m_which < 0)
    m_which = KindIndex("Title");
  CellRef(1, m_edited) = WhichText();
  CellRef(2, m_edited) = CleanRuleText(rule);
  UpdateButtons();
  m_edited = 0;
  return true;
}

void TRulesEditorModel::SetWhichIndex(int index) {
  m_which = (index >= 0 && index < int(RuleKindNames().size())) ? index : -1;
  UpdateButtons();
}

void TRulesEditorModel::SetRuleText(const std::string &text) {
  m_rule = text;
  UpdateButtons();
}

void TRulesEditorModel::SelectRow(int row) {
  SaveEditRow();
  m_selected = std::clamp(row, 1, RowCount() - 1);
  LoadEditRow();
}

bool TRulesEditorModel::MoveRow(int from, int to) {
  const int last = RowCount() - 1;
  if (from < 1 || from > last || to < 1 || to > last || from == to)
    return false;
  SaveEditRow();
  const Row moved = m_rows[std::size_t(from)];
  m_rows.erase(m_rows.begin() + from);
  m_rows.insert(m_rows.begin() + to, moved);
  m_selected = to;
  LoadEditRow();
  return true;
}

void TRulesEditorModel::Save() {
  // After saving, the panel stays bound to the row, so that further typing
  // is not lost.
  if (SaveEditRow())
    LoadEditRow();
  else
    UpdateButtons();
}

void TRulesEditorModel::CancelChanges() {
  if (ValidEditedRow())
    LoadEditRow();
}

void TRulesEditorModel::AddRule() {
  SaveEditRow();
  if (!Cell(1, m_selected).empty()) {
    m_rows.insert(m_rows.begin() + m_selected + 1, Row{"Title", ""});
    ++m_selected;
  }
  LoadEditRow();
}

void TRulesEditorModel::DeleteRule(bool confirmed) {
  if (confirmed) {
    if (RowCount() <= 2) {
      m_rows[1] = Row{};
    } else {
      m_rows.erase(m_rows.begin() + m_selected);
      m_selected = std::min(m_selected, RowCount() - 1);
    }
  }
  m_edited = 0;
  LoadEditRow();
}

std::string TRulesEditorModel::Accept() {
  SaveEditRow();
  std::vector<std::string> lines;
  for (int row = 1; row < RowCount(); ++row) {
    const Row &r = m_rows[std::size_t(row)];
    if (!r.Kind.empty() && !r.Expression.empty())
      lines.push_back(r.Kind.substr(0, 1) + ":" + r.Expression);
  }
  return JoinRuleLines(lines);
}
