#include "alerts/news/NewsRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct RuleLineCase {
  const char *name;
  std::vector<std::string> typed;
  std::vector<std::string> stored;
};

TEST(NewsRuleLinesTest, TypedLinesAreTidied) {
  const std::string longLine = "T:" + std::string(300, 'x');
  const RuleLineCase cases[] = {
      {"words become a title rule", {"stock exchange"}, {"T:Stock exchange"}},
      {"a slash makes a URL rule", {"/press/"}, {"U:/press/"}},
      {"lower-case kind letter", {"s:Wire"}, {"S:Wire"}},
      {"kept rules stay", {"T:IPO", "U:*.example.com*"}, {"T:IPO", "U:*.example.com*"}},
      {"blank lines go", {"", "  ", "T:a", "\t"}, {"T:a"}},
      {"trimmed", {"   S:Newswire  "}, {"S:Newswire"}},
      {"special characters", {"T:#1 $ deal @ noon"}, {"T:?1 ? deal ? noon"}},
      {"unknown kind becomes a title", {"x:abc"}, {"T:X:abc"}},
      {"cut to 255", {longLine}, {longLine.substr(0, 255)}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(NormalizeRuleLines(c.typed), c.stored) << c.name;
}

TEST(NewsRuleLinesTest, CleanRuleTextReplacesOnlyTheThreeCharacters) {
  EXPECT_EQ(CleanRuleText("#$@*?ab"), "???*?ab");
}

TEST(NewsRuleLinesTest, HighPrioritySymbols) {
  EXPECT_EQ(NormalizeHighPriority("ibm, msft/csco"), "IBM MSFT CSCO");
  EXPECT_EQ(NormalizeHighPriority("  aapl\r\n\tT ,, "), "AAPL T");
  EXPECT_EQ(NormalizeHighPriority(""), "");
}

TEST(NewsRuleLinesTest, SplitAndJoin) {
  EXPECT_EQ(SplitRuleLines("T:a\r\nS:b\nU:c\r\n"), (std::vector<std::string>{"T:a", "S:b", "U:c"}));
  EXPECT_EQ(SplitRuleLines(""), std::vector<std::string>{});
  EXPECT_EQ(JoinRuleLines({"T:a", "S:b"}), "T:a\r\nS:b");
}

// ---- Rules editor -------------------------------------------------------------------

class RulesEditorModelTest : public ::testing::Test {
protected:
  TRulesEditorModel model;
  std::vector<std::pair<std::string, std::string>> Rows() const {
    std::vector<std::pair<std::string, std::string>> rows;
    for (int r = 1; r < model.RowCount(); ++r)
      rows.emplace_back(model.Cell(1, r), model.Cell(2, r));
    return rows;
  }
};

TEST_F(RulesEditorModelTest, LoadsRulesIntoRowsWithKindNames) {
  model.LoadRules("S:Wire\r\nT:IPO\r\nU:/press/\r\nX:odd");
  EXPECT_EQ(model.Cell(1, 0), "What");
  EXPECT_EQ(model.Cell(2, 0), "Filter Expression");
  EXPECT_EQ(Rows(), (std::vector<std::pair<std::string, std::string>>{
                        {"Source", "Wire"}, {"Title", "IPO"}, {"URL", "/press/"}, {"", "odd"}}));
  EXPECT_EQ(model.SelectedRow(), 1);
  EXPECT_EQ(model.EditedRow(), 1);
  EXPECT_EQ(model.WhichText(), "Source");
  EXPECT_EQ(model.RuleText(), "Wire");
  EXPECT_FALSE(model.SaveEnabled());
  EXPECT_TRUE(model.DeleteEnabled());
}

TEST_F(RulesEditorModelTest, NoRulesGiveOneEmptyRow) {
  model.LoadRules("");
  EXPECT_EQ(model.RowCount(), 2);
  EXPECT_EQ(model.WhichIndex(), -1);
  EXPECT_FALSE(model.DeleteEnabled());
}

TEST_F(RulesEditorModelTest, ChangesEnableSaveAndCancel) {
  model.LoadRules("T:IPO");
  model.SetRuleText("IPO ");
  EXPECT_TRUE(model.SaveEnabled()) << "the text differs";
  model.SetRuleText("IPO");
  EXPECT_FALSE(model.SaveEnabled());
  model.SetRuleText("IP#");
  EXPECT_TRUE(model.SaveEnabled());
  model.SetRuleText("IPO");
  model.SetWhichIndex(0);
  EXPECT_TRUE(model.CancelChangesEnabled());
  model.CancelChanges();
  EXPECT_EQ(model.WhichText(), "Title");
  EXPECT_FALSE(model.SaveEnabled());
}

TEST_F(RulesEditorModelTest, SaveWritesTheRowCleanedAndKeepsEditingIt) {
  model.LoadRules("T:IPO");
  model.SetWhichIndex(0);
  model.SetRuleText("  Wire@home ");
  model.Save();
  EXPECT_EQ(Rows(), (std::vector<std::pair<std::string, std::string>>{{"Source", "Wire?home"}}));
  EXPECT_FALSE(model.SaveEnabled());
  // Typing after Save still belongs to the row.
  model.SetRuleText("Wire2");
  EXPECT_TRUE(model.SaveEnabled());
  EXPECT_EQ(model.Accept(), "S:Wire2");
}

TEST_F(RulesEditorModelTest, ClickOnAnotherRowKeepsThePendingEdit) {
  model.LoadRules("T:a\r\nT:b");
  model.SetRuleText("changed");
  model.SelectRow(2);
  EXPECT_EQ(model.Cell(2, 1), "changed");
  EXPECT_EQ(model.RuleText(), "b");
  EXPECT_EQ(model.EditedRow(), 2);
}

TEST_F(RulesEditorModelTest, AddInsertsATitleRowBelowTheSelectedOne) {
  model.LoadRules("S:a\r\nS:c");
  model.AddRule();
  EXPECT_EQ(model.SelectedRow(), 2);
  EXPECT_EQ(model.WhichText(), "Title");
  EXPECT_EQ(model.RuleText(), "");
  model.SetRuleText("b");
  EXPECT_EQ(model.Accept(), "S:a\r\nT:b\r\nS:c");
}

TEST_F(RulesEditorModelTest, FirstRuleOfAnEmptyListIsTypedIntoTheEmptyRow) {
  model.LoadRules("");
  model.AddRule(); // nothing to insert below an empty row
  EXPECT_EQ(model.RowCount(), 2);
  model.SetWhichIndex(2);
  model.SetRuleText("/press/");
  EXPECT_EQ(model.Accept(), "U:/press/");
}

TEST_F(RulesEditorModelTest, RuleTypedWithoutKindIsKeptAsTitle) {
  model.LoadRules("");
  model.SetRuleText("merger");
  EXPECT_EQ(model.Accept(), "T:merger");
}

TEST_F(RulesEditorModelTest, AddedRowLeftEmptyIsNotWritten) {
  model.LoadRules("S:a");
  model.AddRule();
  EXPECT_EQ(model.RowCount(), 3);
  EXPECT_EQ(model.Accept(), "S:a");
}

TEST_F(RulesEditorModelTest, DeleteMovesRowsUp) {
  model.LoadRules("S:a\r\nS:b\r\nS:c");
  model.SelectRow(2);
  model.DeleteRule(false);
  EXPECT_EQ(model.RowCount(), 4) << "a refusal deletes nothing";
  model.DeleteRule(true);
  EXPECT_EQ(Rows(),
            (std::vector<std::pair<std::string, std::string>>{{"Source", "a"}, {"Source", "c"}}));
  EXPECT_EQ(model.SelectedRow(), 2);
  EXPECT_EQ(model.RuleText(), "c");
  model.DeleteRule(true);
  EXPECT_EQ(model.SelectedRow(), 1) << "the selection stays inside the grid";
}

TEST_F(RulesEditorModelTest, DeletingTheOnlyRuleLeavesOneEmptyRow) {
  model.LoadRules("T:only");
  model.DeleteRule(true);
  EXPECT_EQ(model.RowCount(), 2);
  EXPECT_EQ(model.Cell(1, 1), "");
  EXPECT_EQ(model.Cell(2, 1), "");
  EXPECT_FALSE(model.DeleteEnabled());
  EXPECT_EQ(model.Accept(), "");
}

} // namespace
