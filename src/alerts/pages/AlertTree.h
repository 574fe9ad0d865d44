#pragma once
// TAlertTree: the alert editor's tree. Level 0 holds a node per symbol (bold),
// level 1 a node per alert, level 2 a node per action of the alert. Action
// nodes cannot become current: a click on one makes its alert current.
// Before the current node changes the tree asks Changing, which may refuse;
// after it changed it tells Changed. Nodes sort by their text, letter case
// ignored, nodes of equal text in the order they came: a tree is filled
// unsorted and sorted once (SortNodes); from then on each new node goes to its
// place, and a node whose text changed is put back in place with PlaceNode.
// The view's own sorting stays off: it would re-sort the whole tree after
// every insertion.
// An alert node's action nodes may be made when the node first opens
// (DeferActionNodes): a tree of 10,000 alerts holds twice as many action
// nodes as alert nodes, and most are never shown.
#include <QTreeWidget>

#include <functional>
#include <map>
#include <string>
#include <vector>

class TAlertTree : public QTreeWidget {
  Q_OBJECT

public:
  explicit TAlertTree(QWidget *parent = nullptr);
  ~TAlertTree() override;

  // Asked before node (nullptr = none) becomes current; false keeps the current node.
  std::function<bool(QTreeWidgetItem *node)> Changing;
  // Told after the current node changed (not for SetCurrentQuietly).
  std::function<void(QTreeWidgetItem *node)> Changed;
  // The texts of the action nodes of an alert node whose action nodes were
  // deferred, asked when they are made.
  std::function<std::vector<std::string>(QTreeWidgetItem *alertNode)> ActionTexts;

  // 0 for a symbol node, 1 for an alert node, 2 for an action node.
  static int Level(const QTreeWidgetItem *node);
  // The alert ID of an alert or action node ("" for a symbol node).
  static std::string AlertID(const QTreeWidgetItem *node);
  // The symbol of an alert or action node: its symbol node's text ("" for a symbol node).
  static std::string AlertSymbol(const QTreeWidgetItem *node);

  // Removes every node; new nodes are appended unsorted until SortNodes.
  void Clear();
  // Sorts every level by text (stable); new nodes go to their place from now on.
  void SortNodes();
  bool Sorted() const { return m_sorted; }
  // Moves a node whose text changed to its place among its siblings (a node
  // already in order stays where it is).
  void PlaceNode(QTreeWidgetItem *node);

  // New nodes, at their place once the tree is sorted.
  QTreeWidgetItem *AddSymbolNode(const std::string &text);
  // With actionsLater the alert node's action nodes are deferred from the
  // start (see DeferActionNodes), which costs the view no new layout.
  QTreeWidgetItem *AddAlertNode(QTreeWidgetItem *symbolNode, const QString &text,
                                const std::string &id, bool actionsLater = false);
  QTreeWidgetItem *AddActionNode(QTreeWidgetItem *alertNode, const std::string &text);
  // The action nodes of this alert node (which has none now) are made from
  // ActionTexts when it first opens or FillActionNodes is called; with
  // hasActions it shows that it can open.
  void DeferActionNodes(QTreeWidgetItem *alertNode, bool hasActions);
  // Makes the deferred action nodes of an alert node (nullptr: of every node).
  void FillActionNodes(QTreeWidgetItem *alertNode);

  // Makes node current (nullptr: none) without asking Changing or telling Changed.
  void SetCurrentQuietly(QTreeWidgetItem *node);
  // Makes node current through Changing; true when it is current afterwards.
  bool SelectNode(QTreeWidgetItem *node);
  bool Quiet() const { return m_quiet; }

  // The images of the nodes: 1 enabled alert, 2 disabled alert, 3 action.
  // Drawn once; every node shares them.
  static QIcon NodeImage(int index);
  // Shows image index (NodeImage) on a node of this tree; 0: none.
  static void SetNodeImage(QTreeWidgetItem *node, int index);

  // Whether a node's text shows whole in the tree's visible width.
  bool TextFits(const QTreeWidgetItem *node) const;

protected:
  void mousePressEvent(QMouseEvent *event) override;
  // A node whose text is cut at the tree's edge shows it whole as a tooltip.
  bool viewportEvent(QEvent *event) override;

private:
  friend class TAlertTreeSelection;
  // Inserts node under parent (nullptr: a root node), at its place when sorted.
  void InsertNode(QTreeWidgetItem *parent, QTreeWidgetItem *node);

  bool m_quiet = false;
  bool m_sorted = false;
  std::map<std::string, QString> m_actionTexts;
};
