// TOPanAlerts: the tree of alerts, choosing an alert, new, save, cancel,
// deleting, and the edit requests.
#include "alerts/pages/AlertsPage.h"

#include "alerts/AlertsModule.h"
#include "alerts/pages/AlertEditorRules.h"
#include "alerts/pages/AlertPageRequest.h"
#include "alerts/pages/AlertParamControls.h"
#include "alerts/pages/AlertTree.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/Portfolio.h"
#include "platform/Prompt.h"
#include "platform/StringUtils.h"
#include "views/WatchForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <exception>
#include <map>

namespace {

QString Q(const std::string &text) { return QString::fromStdString(text); }

bool IsAncestor(const QTreeWidgetItem *node, const QTreeWidgetItem *of) {
  for (const QTreeWidgetItem *p = of ? of->parent() : nullptr; p; p = p->parent())
    if (p == node)
      return true;
  return false;
}

// The watch list's symbols: from its window when one is open, else as stored.
std::string WatchListSymbols() {
  for (QWidget *window : QApplication::topLevelWidgets())
    if (auto *watch = qobject_cast<TwForm *>(window))
      return watch->WatchText() + " " + watch->GetWatchSymbols();
  // A closed watch list still holds its symbols: their alerts are no orphans.
  return SettingsFile().ReadString("Watch", "Symbols", "");
}

// Restores the tree's updates and the filling flag on every way out.
class TTreeBatch {
public:
  TTreeBatch(QTreeWidget *tree, bool &filling) : m_tree(tree), m_filling(filling), m_was(filling) {
    m_tree->setUpdatesEnabled(false);
    m_filling = true;
  }
  ~TTreeBatch() {
    m_filling = m_was;
    m_tree->setUpdatesEnabled(true);
  }
  TTreeBatch(const TTreeBatch &) = delete;
  TTreeBatch &operator=(const TTreeBatch &) = delete;

private:
  QTreeWidget *m_tree;
  bool &m_filling;
  bool m_was;
};

} // namespace

bool TOPanAlerts::StoredCopy(const std::string &id, TAlertRecord &copy) const {
  if (id.empty())
    return false;
  MyLockGuard guard(AlertSystem().Lock, "PGCPY");
  if (!guard.Owns())
    return false;
  const TAlertRecord *stored = AlertSystem().FindByID(id);
  if (!stored)
    return false;
  copy.AssignFixed(*stored);
  return true;
}

// ---- Building the tree

QTreeWidgetItem *TOPanAlerts::SymbolNode(const std::string &symbol, bool create) {
  auto found = m_symbolMap.find(symbol);
  if (found != m_symbolMap.end())
    return found->second;
  if (!create)
    return nullptr;
  QTreeWidgetItem *node = ATree->AddSymbolNode(symbol);
  m_symbolMap[symbol] = node;
  return node;
}

QTreeWidgetItem *TOPanAlerts::FindAlertNode(const std::string &id) const {
  for (int i = 0; i < ATree->topLevelItemCount(); ++i) {
    QTreeWidgetItem *root = ATree->topLevelItem(i);
    for (int j = 0; j < root->childCount(); ++j)
      if (TAlertTree::AlertID(root->child(j)) == id)
        return root->child(j);
  }
  return nullptr;
}

void TOPanAlerts::BuildTree() {
  RunLoggingErrors("FormShow", [&] {
    {
      TTreeBatch batch(ATree, m_filling);
      ATree->SetCurrentQuietly(nullptr);
      ATree->Clear(); // filled unsorted, sorted once below
      m_placeholder = nullptr;
      if (m_newMode) {
        m_newMode = false;
        m_editAlert = nullptr;
        m_newAlert.reset();
      }
      m_symbolMap.clear();

      std::vector<TAlertRecord> alerts;
      AlertSystem().ForEachAlert("PGLD", [&](const TAlertRecord &a) { alerts.push_back(a); });
      // Made in the order they show (the order the sort below keeps), so that
      // the view's walks over the nodes walk memory in order.
      // Symbols that differ in letter case only show in the order first met.
      struct Key {
        QString symbol;
        std::size_t firstMet;
        QString text;
        std::size_t at;
      };
      std::vector<Key> keys;
      keys.reserve(alerts.size());
      std::map<std::string, std::size_t> firstMet;
      for (std::size_t i = 0; i < alerts.size(); ++i)
        keys.push_back({Q(alerts[i].Symbol), firstMet.try_emplace(alerts[i].Symbol, i).first->second,
                        Q(alerts[i].ShortDescription()), i});
      std::stable_sort(keys.begin(), keys.end(), [](const Key &a, const Key &b) {
        if (const int bySymbol = a.symbol.compare(b.symbol, Qt::CaseInsensitive); bySymbol != 0)
          return bySymbol < 0;
        if (a.firstMet != b.firstMet)
          return a.firstMet < b.firstMet;
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
      });
      ShowDialogProgress(int(alerts.size()));
      for (const Key &key : keys) {
        StepDialogProgress();
        const TAlertRecord &alert = alerts[key.at];
        AddAlertNode(SymbolNode(alert.Symbol, true), alert, key.text);
      }

      ATree->collapseAll();
      ATree->SortNodes();
      for (int i = 0; i < ATree->topLevelItemCount(); ++i)
        ATree->topLevelItem(i)->setExpanded(true);
      ATree->SetCurrentQuietly(nullptr);
      if (ATree->topLevelItemCount() > 0)
        ATree->scrollToItem(ATree->topLevelItem(0), QAbstractItemView::PositionAtTop);
      ShowAlert(nullptr);
    }
    HideDialogProgress();
    UpdateButtons();
  });
}

QTreeWidgetItem *TOPanAlerts::AddAlertNode(QTreeWidgetItem *symbolNode, const TAlertRecord &alert,
                                          const QString &description) {
  // Its action nodes are made when it opens.
  QTreeWidgetItem *node =
      ATree->AddAlertNode(symbolNode, description, alert.ID, HasActionNodes(alert));
  TAlertTree::SetNodeImage(node, alert.Enabled ? 1 : 2);
  return node;
}

void TOPanAlerts::PopNode(QTreeWidgetItem *node) {
  RunLoggingErrors("PopNode", [&] {
    if (!node || TAlertTree::Level(node) != 1)
      return;
    TAlertRecord alert;
    if (!StoredCopy(TAlertTree::AlertID(node), alert))
      return;
    TTreeBatch batch(ATree, m_filling);
    const bool expanded = node->isExpanded();
    qDeleteAll(node->takeChildren());
    ATree->DeferActionNodes(node, HasActionNodes(alert));
    node->setText(0, Q(alert.ShortDescription()));
    ATree->PlaceNode(node); // a moved node that was open opens again: its actions are made
    TAlertTree::SetNodeImage(node, alert.Enabled ? 1 : 2);
    if (expanded)
      ATree->FillActionNodes(node);
    node->setExpanded(expanded);
  });
}

void TOPanAlerts::DeletePlaceholder() {
  if (!m_placeholder)
    return;
  TTreeBatch batch(ATree, m_filling);
  QTreeWidgetItem *placeholder = m_placeholder;
  m_placeholder = nullptr;
  delete placeholder;
}

// ---- Choosing a node

bool TOPanAlerts::ATreeChanging(QTreeWidgetItem *node) {
  if (m_filling)
    return true; // the page itself rearranges the tree
  bool allow = true;
  RunLoggingErrors("ATreeChanging", [&] {
    if (node && TAlertTree::Level(node) == 2)
      allow = false;
    else
      allow = AskNewAlert(true, false);
  });
  return allow;
}

void TOPanAlerts::ATreeChange(QTreeWidgetItem *node) {
  if (m_filling)
    return;
  RunLoggingErrors("ATreeClick", [&] {
    ClickOnNode(node);
    UpdateButtons();
  });
}

void TOPanAlerts::ClickOnNode(QTreeWidgetItem *node) {
  RunLoggingErrors("ClickOnNode", [&] {
    if (m_newMode)
      return;
    if (!node) {
      m_editAlert = nullptr;
      ShowAlert(nullptr);
      return;
    }
    if (TAlertTree::Level(node) == 2)
      node = node->parent();
    TAlertRecord stored;
    const std::string id = TAlertTree::AlertID(node);
    if (StoredCopy(id, stored)) {
      m_working->AssignFixed(stored);
      m_snapshot->AssignFixed(stored);
      m_storedID = id;
      m_editAlert = m_working.get();
    } else {
      m_storedID.clear();
      m_editAlert = nullptr;
    }
    m_newMode = false;
    ShowAlert(m_editAlert);
    DoEnableDisable();
    if (m_justCreated)
      m_justCreated = false;
    else
      DeletePlaceholder();
  });
}

void TOPanAlerts::SelectNodeAndShow(QTreeWidgetItem *node) {
  if (!node)
    return;
  if (ATree->currentItem() == node)
    ClickOnNode(node);
  else
    ATree->SelectNode(node);
  if (ATree->currentItem())
    ATree->scrollToItem(ATree->currentItem());
}

void TOPanAlerts::ATreeExpanding(QTreeWidgetItem *node) {
  if (m_filling || m_newMode)
    return;
  RunLoggingErrors("ATreeExpanding", [&] {
    QTreeWidgetItem *current = ATree->currentItem();
    if (node != current && !IsAncestor(node, current))
      ATree->SelectNode(node);
  });
}

void TOPanAlerts::ATreeCollapsing(QTreeWidgetItem *node) {
  if (m_filling || m_newMode)
    return;
  RunLoggingErrors("ATreeCollapsing", [&] {
    QTreeWidgetItem *current = ATree->currentItem();
    if (node != current && !IsAncestor(node, current))
      ATree->SelectNode(node);
  });
}

void TOPanAlerts::pbExpandClick() {
  RunLoggingErrors("pbExpandClick", [&] {
    TTreeBatch batch(ATree, m_filling);
    ATree->FillActionNodes(nullptr); // opening every node at once tells no node
    ATree->expandAll();
  });
}

void TOPanAlerts::pbCollapseClick() {
  RunLoggingErrors("pbCollapseClick", [&] {
    TTreeBatch batch(ATree, m_filling);
    ATree->collapseAll();
  });
}

void TOPanAlerts::pbExpand1Click() {
  RunLoggingErrors("pbExpandClick", [&] {
    TTreeBatch batch(ATree, m_filling);
    QTreeWidgetItem *selected = ATree->currentItem();
    ATree->collapseAll();
    ATree->SortNodes();
    for (int i = 0; i < ATree->topLevelItemCount(); ++i)
      ATree->topLevelItem(i)->setExpanded(true);
    if (!m_newMode && selected)
      ATree->SetCurrentQuietly(selected);
  });
}

// ---- New, save and cancel

void TOPanAlerts::pbNewAlertClick() {
  RunLoggingErrors("pbNewAlertClick", [&] {
    std::string symbol = Trim(dfSymbol->text().toStdString());
    QTreeWidgetItem *selected = ATree->currentItem();
    if (symbol.empty() && selected && !selected->text(0).contains(QLatin1Char(' ')))
      symbol = selected->text(0).toStdString();
    if (!AskNewAlert(true, false))
      return;
    m_showing = true;
    const int scroll = ATree->verticalScrollBar()->value();
    {
      TTreeBatch batch(ATree, m_filling);
      m_placeholder = ATree->AddSymbolNode(PlaceholderText);
    }
    m_justCreated = true;
    SelectNodeAndShow(m_placeholder);
    if (!m_placeholder || ATree->currentItem() != m_placeholder) {
      m_justCreated = false;
      DeletePlaceholder();
      m_showing = false;
      return;
    }
    m_newAlert = TAlertRecord::Create();
    m_newAlert->Symbol.clear();
    m_editAlert = m_newAlert.get();
    m_newMode = true;
    ShowAlert(m_editAlert);
    const std::string cut = CutTo(symbol, TAlertRecord::SymbolMax);
    dfSymbol->setText(Q(cut));
    m_editAlert->Symbol = cut;
    m_symbolAtEntry.clear();
    cmbTypeClick();
    dfSymbol->setFocus();
    dfSymbolExit();
    ATree->verticalScrollBar()->setValue(scroll);
    m_showing = false;
    UpdateButtons();
  });
  m_showing = false;
}

void TOPanAlerts::pbSaveItClick() {
  m_saving = true;
  RunLoggingErrors("pbSaveItClick", [&] {
    if (!m_newMode) {
      SaveAR(true);
      TAlertRecord stored;
      if (QTreeWidgetItem *selected = ATree->currentItem();
          selected && StoredCopy(TAlertTree::AlertID(selected), stored))
        m_snapshot->AssignFixed(stored);
    } else {
      m_newMode = false;
      const std::string symbol = CleanAlertSymbol(dfSymbol->text().toStdString());
      dfSymbol->setText(Q(symbol));
      if (symbol.empty() || !m_newAlert) {
        m_newAlert.reset();
        m_editAlert = nullptr;
        ShowAlert(nullptr);
      } else {
        m_newAlert->Symbol = symbol;
        QTreeWidgetItem *symbolNode = nullptr;
        {
          TTreeBatch batch(ATree, m_filling);
          symbolNode = SymbolNode(symbol, true);
        }
        m_editAlert = nullptr;
        const std::string id = AlertSystem().AddAlert(std::move(m_newAlert));
        if (!id.empty() && id[0] == '=') {
          if (symbolNode->childCount() == 0) {
            TTreeBatch batch(ATree, m_filling);
            m_symbolMap.erase(symbol);
            delete symbolNode;
          }
          SelectNodeAndShow(FindAlertNode(id.substr(1)));
        } else {
          TAlertRecord stored;
          StoredCopy(id, stored);
          stored.ID = id;
          QTreeWidgetItem *node = nullptr;
          {
            TTreeBatch batch(ATree, m_filling);
            node = AddAlertNode(symbolNode, stored, Q(stored.ShortDescription()));
          }
          m_lastShown->Symbol = RedrawMarker;
          SelectNodeAndShow(node);
        }
      }
    }
    DeletePlaceholder();
  });
  m_saving = false;
  UpdateButtons();
}

void TOPanAlerts::pbCancelClick() {
  RunLoggingErrors("pbCancelClick", [&] {
    if (m_newMode) {
      m_newAlert.reset();
      m_editAlert = nullptr;
      m_newMode = false;
      ATree->SetCurrentQuietly(nullptr);
      ShowAlert(nullptr);
    } else if (m_editAlert) {
      m_working->AssignFixed(*m_snapshot);
      m_lastShown->Symbol = RedrawMarker;
      ShowAlert(m_working.get());
      DoEnableDisable();
      PopNode(ATree->currentItem());
    }
    DeletePlaceholder();
  });
  UpdateButtons();
}

// ---- Deleting

void TOPanAlerts::pbDeleteClick() {
  RunLoggingErrors("pbDeleteClick", [&] {
    QTreeWidgetItem *node = ATree->currentItem();
    if (!node || m_newMode)
      return;
    if (TAlertTree::Level(node) == 2)
      node = node->parent();
    {
      TTreeBatch batch(ATree, m_filling);
      if (TAlertTree::Level(node) == 0) {
        const std::string symbol = node->text(0).toStdString();
        if (MessageDlg("You're about to delete all alerts associated with symbol " + symbol +
                           "!\r\n\r\nContinue?",
                       "Delete All Alerts for Symbol", mtWarning, mbYesNo) != mrNo) {
          AlertSystem().DeleteSymbolAlerts(symbol);
          m_editAlert = nullptr;
          // The store deletes regardless of letter case: so do the nodes.
          for (int i = ATree->topLevelItemCount() - 1; i >= 0; --i) {
            QTreeWidgetItem *root = ATree->topLevelItem(i);
            if (root != m_placeholder && SameText(root->text(0).toStdString(), symbol)) {
              m_symbolMap.erase(root->text(0).toStdString());
              delete root;
            }
          }
        }
      } else {
        const std::string id = TAlertTree::AlertID(node);
        TAlertRecord stored;
        const std::string description =
            StoredCopy(id, stored) ? stored.ShortDescription() : node->text(0).toStdString();
        if (MessageDlg("You're about to delete alert \"" + description + "\"!\r\n\r\nContinue?",
                       "Delete an Alert", mtWarning, mbYesNo) != mrNo) {
          AlertSystem().DeleteAlert(id, true);
          m_editAlert = nullptr;
          delete node;
          ShowAlert(nullptr);
        }
      }
      for (int i = ATree->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem *root = ATree->topLevelItem(i);
        if (root != m_placeholder && root->childCount() == 0) {
          m_symbolMap.erase(root->text(0).toStdString());
          delete root;
        }
      }
    }
    if (QTreeWidgetItem *current = ATree->currentItem()) {
      ATree->SetCurrentQuietly(current);
      ClickOnNode(current);
    } else {
      ShowAlert(nullptr);
    }
  });
  UpdateButtons();
}

void TOPanAlerts::pbDelAllClick() {
  RunLoggingErrors("pbDelAllClick", [&] {
    if (MessageDlg("Are you sure you want to delete ALL alerts for ALL STOCKS? (This action "
                   "cannot be reversed)",
                   "DELETE ALL ALERTS", mtConfirmation, mbYesNo, mbNo) != mrYes)
      return;
    AlertSystem().ClearAll();
    BuildTree();
  });
}

void TOPanAlerts::pbDelOrphClick() {
  RunLoggingErrors("pbDelOrphClick", [&] {
    if (MessageDlg("This will delete all orphaned alerts - that is, all alerts whose symbols are "
                   "not present in any portfolio or watch list. (This action cannot be "
                   "reversed).\r\n\r\nContinue?",
                   "Delete Orphaned Alerts", mtConfirmation, mbYesNo, mbNo) != mrYes)
      return;
    std::string portfolioSymbols;
    {
      MyLockGuard guard(PortListLock, "ORPH", true);
      if (!guard.Owns()) {
        // Without the portfolios every alert would look orphaned.
        MessageDlg("The portfolios are busy right now; no alert was deleted. Please try again.",
                   "Delete Orphaned Alerts", mtWarning, mbOK);
        return;
      }
      portfolioSymbols = GetPortStocks();
    }
    const std::string symbols = OrphanSymbolText(portfolioSymbols, WatchListSymbols());
    std::string deleted;
    AlertSystem().DeleteOrphans(symbols, deleted);
    if (!Trim(deleted).empty())
      MessageDlg("Alerts for the following symbols have been deleted:\r\n\r\n" + deleted,
                 "Orphans Deleted", mtInformation, mbOK);
    BuildTree();
  });
}

// ---- Edit requests

void TOPanAlerts::CarryOutRequest(const std::string &text) {
  const TAlertPageRequest request = ParseAlertPageRequest(text);
  switch (request.Kind) {
  case TAlertRequestKind::NewAlert:
    pbNewAlertClick();
    if (m_newMode) {
      dfSymbol->setText(Q(CutTo(request.Argument, TAlertRecord::SymbolMax)));
      dfSymbolExit();
    }
    break;
  case TAlertRequestKind::EditAlert:
  case TAlertRequestKind::EditSymbol: {
    std::vector<TAlertTreeGroup> groups;
    for (int i = 0; i < ATree->topLevelItemCount(); ++i) {
      QTreeWidgetItem *root = ATree->topLevelItem(i);
      TAlertTreeGroup group{root->text(0).toStdString(), {}};
      for (int j = 0; j < root->childCount(); ++j)
        group.Alerts.push_back(
            {TAlertTree::AlertSymbol(root->child(j)), TAlertTree::AlertID(root->child(j))});
      groups.push_back(std::move(group));
    }
    const TAlertTreeTarget target = FindRequestTarget(request, groups);
    if (!target.Found())
      break;
    QTreeWidgetItem *node = ATree->topLevelItem(target.Group);
    if (target.Alert >= 0)
      node = node->child(target.Alert);
    SelectNodeAndShow(node);
    break;
  }
  case TAlertRequestKind::None:
    break;
  }
}
