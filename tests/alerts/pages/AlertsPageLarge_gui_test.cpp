// The alerts page with thousands of alerts: the tree it builds and keeps is
// the one a tree sorting itself after every node would show, and a rebuild
// paints the dialog's progress bar up to its end without a paint per alert.
#include "AlertsPageTestSupport.h"

#include "alerts/pages/AlertEditorRules.h"
#include "platform/Clock.h"
#include "support/EventWait.h"

#include <QImage>
#include <QProgressBar>
#include <QWindow>

#include <map>
#include <random>

namespace {

class AlertsPageLargeTest : public AlertsPageTest {
protected:
  void TearDown() override {
    SetAppClock(nullptr);
    AlertsPageTest::TearDown();
  }

  // count alerts on symbols that differ in letter case only, with texts that
  // repeat, every type and a mix of actions.
  static void AddRandomAlerts(int count) {
    static const char *symbols[] = {"IBM", "ibm", "Ibm", "MSFT", "msft", "A",   "a",    "AA",
                                    "B1",  "b1",  "ZZ",  "z",    "QQQ",  "qqq", "X.TO", "x.to"};
    std::mt19937 rng(2026);
    std::vector<std::unique_ptr<TAlertRecord>> alerts;
    for (int i = 0; i < count; ++i) {
      auto a = std::make_unique<TAlertRecord>();
      a->Symbol = symbols[rng() % std::size(symbols)];
      a->AlertType = std::uint8_t(rng() % AlertTypeCount);
      a->P1 = double(rng() % 40) / 4; // texts repeat
      a->P2 = double(rng() % 2);
      a->P3 = double(rng() % 30);
      a->Enabled = rng() % 3 != 0;
      a->HighlightColor = std::int32_t(rng() % 1000); // equal texts, different alerts
      for (int action = 0; action < ActionElementCount; ++action)
        if (rng() % 2)
          a->Actions.Include(action);
      a->SoundIndex = int(rng() % 7) - 1;
      a->WaveFile = a->SoundIndex < 0 ? "/w/" + std::to_string(rng() % 3) + ".wav" : "";
      alerts.push_back(std::move(a));
    }
    AlertSystem().AddAlerts(std::move(alerts));
  }

  // The nodes of a stored alert as the page gives them: text, image, actions.
  static void FillAlertNode(TAlertTree &tree, QTreeWidgetItem *node, const TAlertRecord &alert) {
    TAlertTree::SetNodeImage(node, alert.Enabled ? 1 : 2);
    for (const std::string &text : ActionNodeTexts(alert))
      tree.AddActionNode(node, text);
  }

  // The reference: a tree whose view sorts it after each node, filled node by node.
  struct Reference {
    TAlertTree tree;
    std::map<std::string, QTreeWidgetItem *> symbols;
    Reference() {
      tree.setSortingEnabled(true);
      tree.sortItems(0, Qt::AscendingOrder);
    }
    void Add(const TAlertRecord &alert) {
      QTreeWidgetItem *&symbol = symbols[alert.Symbol];
      if (!symbol)
        symbol = tree.AddSymbolNode(alert.Symbol);
      FillAlertNode(tree, tree.AddAlertNode(symbol, QString::fromStdString(alert.ShortDescription()), alert.ID), alert);
    }
    QTreeWidgetItem *Find(const std::string &id) {
      for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        if (TAlertTree::Level(*it) == 1 && TAlertTree::AlertID(*it) == id)
          return *it;
      return nullptr;
    }
  };

  static std::string Describe(const QTreeWidgetItem *node) {
    return std::to_string(TAlertTree::Level(node)) + " \"" + node->text(0).toStdString() + "\"";
  }

  // "" when both lists of nodes match in order, texts, ids, fonts and images.
  static std::string Difference(const QTreeWidgetItem *a, const QTreeWidgetItem *b) {
    if (a->text(0) != b->text(0) || TAlertTree::AlertID(a) != TAlertTree::AlertID(b) ||
        a->font(0).bold() != b->font(0).bold())
      return Describe(a) + " against " + Describe(b);
    if (a->icon(0).pixmap(13, 13).toImage() != b->icon(0).pixmap(13, 13).toImage())
      return "the image of " + Describe(a);
    if (a->childCount() != b->childCount())
      return "the children of " + Describe(a);
    for (int i = 0; i < a->childCount(); ++i)
      if (std::string d = Difference(a->child(i), b->child(i)); !d.empty())
        return d;
    return "";
  }
  static std::string Difference(QTreeWidget &a, QTreeWidget &b) {
    return Difference(a.invisibleRootItem(), b.invisibleRootItem());
  }

  // The page's tree with every node opened (Expand All), against the reference.
  std::string OpenedDifference(QTreeWidget &reference) {
    Page()->pbExpand->click();
    return Difference(*Page()->ATree, reference);
  }

  std::string NewAlertThroughThePage(const std::string &symbol, const std::string &price) {
    const std::vector<std::string> before = AlertSystem().AlertIDs();
    TOPanAlerts *page = Page();
    page->pbNewAlert->click();
    page->dfSymbol->setText(QString::fromStdString(symbol));
    page->dfSymbolExit();
    page->ParamFields()->SetField(1001, price);
    page->ParamEditFieldExit(1001);
    page->pbSaveIt->click();
    const std::vector<std::string> after = AlertSystem().AlertIDs();
    return after.size() == before.size() + 1 ? after.back() : "";
  }
};

class PaintedValues : public QObject {
public:
  explicit PaintedValues(QProgressBar *bar) : m_bar(bar) { bar->installEventFilter(this); }
  std::vector<std::pair<int, int>> Values; // value and maximum at each paint

protected:
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::Paint)
      Values.emplace_back(m_bar->value(), m_bar->maximum());
    return false;
  }

private:
  QProgressBar *m_bar;
};

} // namespace

TEST_F(AlertsPageLargeTest, TheTreeIsTheOneThatSortsItselfAfterEveryNode) {
  AddRandomAlerts(3000);
  TOPanAlerts *page = Open();
  Reference reference;
  AlertSystem().ForEachAlert("TEST", [&](const TAlertRecord &a) { reference.Add(a); });
  // Closed alert nodes make their action nodes when opened; until then they
  // show that they can open.
  AlertSystem().ForEachAlert("TEST", [&](const TAlertRecord &a) {
    QTreeWidgetItem *node = AlertNode(a.ID);
    ASSERT_NE(node, nullptr);
    EXPECT_FALSE(node->isExpanded());
    EXPECT_EQ(node->childCount(), 0);
    EXPECT_EQ(node->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator,
              !ActionNodeTexts(a).empty())
        << a.ID;
  });
  EXPECT_EQ(OpenedDifference(reference.tree), "");

  // New alerts go to their place: on a symbol with alerts, on a new one.
  for (const auto &[symbol, price] : std::vector<std::pair<std::string, std::string>>{
           {"IBM", "5"}, {"MSFT", "0.5"}, {"NEW", "7"}, {"ibm", "99"}}) {
    const std::string id = NewAlertThroughThePage(symbol, price);
    ASSERT_FALSE(id.empty()) << symbol;
    reference.Add(Stored(id));
  }
  EXPECT_EQ(OpenedDifference(reference.tree), "");
  for (int i = 0; i < page->ATree->topLevelItemCount(); ++i)
    EXPECT_TRUE(page->ATree->topLevelItem(i)->isExpanded()) << i; // the symbols stay open

  // An edited alert whose text now sorts elsewhere moves there, still chosen.
  std::string edited;
  AlertSystem().ForEachAlert("TEST", [&](const TAlertRecord &a) {
    if (edited.empty() && a.AlertType == AlertTypeHighPrice && a.P1 > 5 && a.Symbol == "IBM")
      edited = a.ID;
  });
  ASSERT_FALSE(edited.empty());
  ClickNode(AlertNode(edited));
  AlertNode(edited)->setExpanded(true);
  page->ParamFields()->SetField(1001, "0.25");
  page->ParamEditFieldExit(1001);
  page->pbSaveIt->click();
  ASSERT_EQ(Stored(edited).P1, 0.25);
  QTreeWidgetItem *mirror = reference.Find(edited);
  ASSERT_NE(mirror, nullptr);
  qDeleteAll(mirror->takeChildren());
  mirror->setText(0, QString::fromStdString(Stored(edited).ShortDescription()));
  FillAlertNode(reference.tree, mirror, Stored(edited));
  EXPECT_EQ(Difference(*page->ATree, reference.tree), ""); // opened: made at once
  EXPECT_EQ(page->ATree->currentItem(), AlertNode(edited));
  EXPECT_TRUE(AlertNode(edited)->isExpanded());
}

TEST_F(AlertsPageLargeTest, DeletingOrphansOfTenThousandAlertsPaintsTheBarToItsEnd) {
  FakeClock clock; // held: only the run's last step is due for a paint of ours
  SetAppClock(&clock);
  std::vector<PortPosition> positions;
  std::vector<std::unique_ptr<TAlertRecord>> alerts;
  for (int s = 0; s < 200; ++s) {
    PortPosition p;
    p.Symbol = "S" + std::to_string(s);
    positions.push_back(p);
  }
  for (int i = 0; i < 10300; ++i) {
    auto a = std::make_unique<TAlertRecord>();
    a->Symbol = i < 10000 ? "S" + std::to_string(i % 200) : "ORPHAN" + std::to_string(i % 7);
    a->P1 = 1 + i * 0.01;
    a->Actions.Include(ActionPopup);
    alerts.push_back(std::move(a));
  }
  AlertSystem().AddAlerts(std::move(alerts));
  {
    MyLockGuard guard(PortListLock, "TEST");
    PortfolioList.Add("Main", "", positions);
  }
  TOPanAlerts *page = Open();
  // On screen, so that repaints reach the bar at once.
  ASSERT_TRUE(ProcessEventsUntil([&] { return dlg->windowHandle() && dlg->windowHandle()->isExposed(); }));
  QApplication::processEvents();
  PaintedValues painted(dlg->ProgressBar);
  prompt.PushAnswer(mrYes);
  prompt.PushAnswer(mrOk);
  page->pbDelOrph->click();
  ASSERT_EQ(AlertSystem().Count(), 10000);
  EXPECT_EQ(page->ATree->topLevelItemCount(), 200);
  ASSERT_FALSE(painted.Values.empty());
  EXPECT_EQ(painted.Values.back(), std::make_pair(10000, 10000));
  EXPECT_LT(painted.Values.size(), 500u); // not one per alert
  EXPECT_FALSE(dlg->ProgressBar->isVisible());
}
