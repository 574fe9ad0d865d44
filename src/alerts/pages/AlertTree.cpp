#include "alerts/pages/AlertTree.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QToolTip>

#include <algorithm>
#include <array>

namespace {

constexpr int ImageSize = 13;
constexpr int IdRole = Qt::UserRole;

bool TextLess(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; }

// Sorting by text with letter case ignored. A node's text and image and an
// alert node's ID are members, not item data: a tree of 10,000 alerts holds
// some 30,000 nodes, and item data costs each node blocks to make and to
// free, and each comparison of the sort a look-up.
class TAlertTreeItem : public QTreeWidgetItem {
public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem &other) const override {
    const auto *item = dynamic_cast<const TAlertTreeItem *>(&other);
    return TextLess(m_text, item ? item->m_text : other.text(0));
  }

  QVariant data(int column, int role) const override {
    if (column == 0) {
      if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_text;
      if (role == Qt::DecorationRole && m_image != 0)
        return TAlertTree::NodeImage(m_image);
      if (role == IdRole)
        return m_id;
    }
    return QTreeWidgetItem::data(column, role);
  }
  void setData(int column, int role, const QVariant &value) override {
    if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole || role == IdRole)) {
      (role == IdRole ? m_id : m_text) = value.toString();
      emitDataChanged();
      return;
    }
    if (column == 0 && role == Qt::DecorationRole)
      m_image = 0; // an image of the caller's from now on
    QTreeWidgetItem::setData(column, role, value);
  }

  void SetImage(int image) {
    if (image == m_image)
      return;
    m_image = image;
    emitDataChanged();
  }


private:
  QString m_text;
  QString m_id;
  int m_image = 0; // 0: none, else the index of NodeImage
};

int ChildCount(QTreeWidget *tree, QTreeWidgetItem *parent) {
  return parent ? parent->childCount() : tree->topLevelItemCount();
}
QTreeWidgetItem *ChildAt(QTreeWidget *tree, QTreeWidgetItem *parent, int row) {
  return parent ? parent->child(row) : tree->topLevelItem(row);
}

// The first row in [first, last) whose text is not less than text (lower) or
// greater than text (upper), by a binary search over sorted siblings.
int Bound(QTreeWidget *tree, QTreeWidgetItem *parent, int first, int last, const QString &text,
          bool upper) {
  while (first < last) {
    const int mid = first + (last - first) / 2;
    const QString midText = ChildAt(tree, parent, mid)->text(0);
    const bool before = upper ? !TextLess(text, midText) : TextLess(midText, text);
    if (before)
      first = mid + 1;
    else
      last = mid;
  }
  return first;
}

QPixmap DrawImage(int index) {
  QPixmap pixmap(ImageSize, ImageSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (index) {
  case 1: // an enabled alert: a green bell-like disc with a tick
    p.setPen(QPen(QColor(0, 100, 0), 1));
    p.setBrush(QColor(60, 180, 60));
    p.drawEllipse(QRectF(0.5, 0.5, 12, 12));
    p.setPen(QPen(Qt::white, 2));
    p.drawPolyline(QPolygonF({QPointF(3.5, 6.5), QPointF(5.5, 9), QPointF(9.5, 3.5)}));
    break;
  case 2: // a disabled alert: a grey disc with a bar
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(190, 190, 190));
    p.drawEllipse(QRectF(0.5, 0.5, 12, 12));
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(QPointF(3, 6.5), QPointF(10, 6.5));
    break;
  case 3: // an action: a small blue diamond
    p.setPen(QPen(QColor(0, 0, 120), 1));
    p.setBrush(QColor(70, 110, 220));
    p.drawPolygon(
        QPolygonF({QPointF(6.5, 2), QPointF(11, 6.5), QPointF(6.5, 11), QPointF(2, 6.5)}));
    break;
  default:
    break;
  }
  return pixmap;
}

} // namespace

// Keeps selection and current node together (one row) and asks the tree
// before the current node changes.
class TAlertTreeSelection : public QItemSelectionModel {
public:
  TAlertTreeSelection(QAbstractItemModel *model, TAlertTree *tree)
      : QItemSelectionModel(model, tree), m_tree(tree) {}

  // The tree is going: from now on plain selection.
  void Detach() { m_tree = nullptr; }

  void setCurrentIndex(const QModelIndex &index, SelectionFlags command) override {
    if (!m_tree || m_tree->m_quiet) {
      QItemSelectionModel::setCurrentIndex(index, command);
      return;
    }
    QPersistentModelIndex target(index);
    // An action node stands for its alert.
    if (index.isValid() && TAlertTree::Level(m_tree->itemFromIndex(index)) == 2)
      target = index.parent();
    if (target != currentIndex()) {
      if (m_tree->Changing && !m_tree->Changing(m_tree->itemFromIndex(target)))
        return;
      if (index.isValid() && !target.isValid())
        return; // the node went away while the change was asked about
    }
    const QModelIndex previous = currentIndex();
    QItemSelectionModel::setCurrentIndex(target, ClearAndSelect | Rows);
    if (m_tree->Changed && currentIndex() != previous)
      m_tree->Changed(m_tree->itemFromIndex(currentIndex()));
  }

  void select(const QItemSelection &selection, SelectionFlags command) override {
    if (!m_tree || m_tree->m_quiet) {
      QItemSelectionModel::select(selection, command);
      return;
    }
    // The selection is the current row, whatever the view proposes.
    const QModelIndex current = currentIndex();
    if (current.isValid())
      QItemSelectionModel::select(QItemSelection(current, current), ClearAndSelect | Rows);
    else
      QItemSelectionModel::select(QItemSelection(), Clear);
  }
  using QItemSelectionModel::select;

private:
  TAlertTree *m_tree;
};

TAlertTree::TAlertTree(QWidget *parent) : QTreeWidget(parent) {
  setColumnCount(1);
  header()->hide();
  setRootIsDecorated(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(ImageSize, ImageSize));
  setUniformRowHeights(true);
  QItemSelectionModel *old = selectionModel();
  setSelectionModel(new TAlertTreeSelection(model(), this));
  delete old;
  // Action nodes are disabled so that the keyboard passes them by; they
  // keep the normal text colour.
  QPalette pal = palette();
  pal.setColor(QPalette::Disabled, QPalette::Text, pal.color(QPalette::Active, QPalette::Text));
  setPalette(pal);
  // Connected before any user of the tree: their handlers see the nodes made.
  connect(this, &QTreeWidget::itemExpanded, this,
          [this](QTreeWidgetItem *node) { FillActionNodes(node); });
}

TAlertTree::~TAlertTree() {
  // The base class still resets the selection while it goes.
  if (auto *selection = dynamic_cast<TAlertTreeSelection *>(selectionModel()))
    selection->Detach();
}

int TAlertTree::Level(const QTreeWidgetItem *node) {
  int level = 0;
  for (const QTreeWidgetItem *p = node ? node->parent() : nullptr; p; p = p->parent())
    ++level;
  return level;
}

// An alert node keeps its alert's ID; its action nodes and its symbol node
// (whose text is the alert's symbol) answer the rest, so that the many action
// nodes carry nothing but text and image.
std::string TAlertTree::AlertID(const QTreeWidgetItem *node) {
  if (node && Level(node) == 2)
    node = node->parent();
  return node ? node->data(0, IdRole).toString().toStdString() : std::string();
}

std::string TAlertTree::AlertSymbol(const QTreeWidgetItem *node) {
  const int level = Level(node);
  if (level == 0)
    return std::string();
  const QTreeWidgetItem *symbolNode = level == 2 ? node->parent()->parent() : node->parent();
  return symbolNode->text(0).toStdString();
}

QIcon TAlertTree::NodeImage(int index) {
  if (index < 1 || index > 3)
    return QIcon();
  // Made on first use (pixmaps need the application) and kept to the end of
  // the process; only the window thread draws them.
  static const auto *images = [] {
    auto *made = new std::array<QIcon, 3>();
    for (int i = 1; i <= 3; ++i) {
      const QPixmap pixmap = DrawImage(i);
      QIcon &icon = (*made)[std::size_t(i - 1)];
      icon.addPixmap(pixmap, QIcon::Normal);
      icon.addPixmap(pixmap, QIcon::Disabled);
      icon.addPixmap(pixmap, QIcon::Selected);
    }
    return made;
  }();
  return (*images)[std::size_t(index - 1)];
}

void TAlertTree::SetNodeImage(QTreeWidgetItem *node, int index) {
  if (auto *item = dynamic_cast<TAlertTreeItem *>(node))
    item->SetImage(index >= 1 && index <= 3 ? index : 0);
  else if (node)
    node->setIcon(0, NodeImage(index));
}

void TAlertTree::Clear() {
  clear();
  m_sorted = false;
}

void TAlertTree::SortNodes() {
  sortItems(0, Qt::AscendingOrder);
  m_sorted = true;
}

void TAlertTree::InsertNode(QTreeWidgetItem *parent, QTreeWidgetItem *node) {
  const int count = ChildCount(this, parent);
  // After the nodes of equal text, as a stable sort of the appended node would put it.
  const int row = m_sorted ? Bound(this, parent, 0, count, node->text(0), true) : count;
  if (!parent) {
    insertTopLevelItem(row, node);
    return;
  }
  // A node put under an expanded node makes the view lay out every row of
  // the tree again; under a collapsed one it does not, and expanding lays out
  // that node's rows only. So an expanded parent is closed around the
  // insertion, telling no one.
  const bool reopen = parent->isExpanded();
  if (reopen) {
    const QSignalBlocker quiet(this);
    parent->setExpanded(false);
  }
  parent->insertChild(row, node);
  if (reopen) {
    const QSignalBlocker quiet(this);
    parent->setExpanded(true);
  }
}

void TAlertTree::PlaceNode(QTreeWidgetItem *node) {
  if (!m_sorted || !node)
    return;
  QTreeWidgetItem *parent = node->parent();
  const int row = parent ? parent->indexOfChild(node) : indexOfTopLevelItem(node);
  const int count = ChildCount(this, parent);
  const QString text = node->text(0);
  const bool afterPrevious = row == 0 || !TextLess(text, ChildAt(this, parent, row - 1)->text(0));
  const bool beforeNext =
      row + 1 >= count || !TextLess(ChildAt(this, parent, row + 1)->text(0), text);
  if (afterPrevious && beforeNext)
    return;
  // Out of order: in front of the nodes of equal text, as the view's own
  // sorting moves a changed node. Taking the node out loses the view's state
  // of it: keep what shows.
  const bool wasCurrent = currentItem() == node;
  const bool expanded = node->isExpanded();
  const int target = afterPrevious ? Bound(this, parent, row + 1, count, text, false) - 1
                                   : Bound(this, parent, 0, row, text, false);
  const bool was = m_quiet;
  m_quiet = true;
  if (parent)
    parent->insertChild(target, parent->takeChild(row));
  else
    insertTopLevelItem(target, takeTopLevelItem(row));
  node->setExpanded(expanded);
  if (wasCurrent)
    setCurrentItem(node);
  m_quiet = was;
}

QTreeWidgetItem *TAlertTree::AddSymbolNode(const std::string &text) {
  auto *node = new TAlertTreeItem();
  node->setText(0, QString::fromStdString(text));
  QFont bold = font();
  bold.setBold(true);
  node->setFont(0, bold);
  node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  InsertNode(nullptr, node);
  return node;
}

QTreeWidgetItem *TAlertTree::AddAlertNode(QTreeWidgetItem *symbolNode, const QString &text,
                                          const std::string &id, bool actionsLater) {
  auto *node = new TAlertTreeItem();
  node->setText(0, text);
  node->setData(0, IdRole, QString::fromStdString(id));
  node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  DeferActionNodes(node, actionsLater); // before the view sees the node
  InsertNode(symbolNode, node);
  return node;
}

QTreeWidgetItem *TAlertTree::AddActionNode(QTreeWidgetItem *alertNode, const std::string &text) {
  // The few action texts are shared by every node that shows one.
  QString &shared = m_actionTexts[text];
  if (shared.isNull())
    shared = QString::fromStdString(text);
  auto *node = new TAlertTreeItem();
  node->setText(0, shared);
  node->setFlags(Qt::ItemNeverHasChildren);
  node->SetImage(3);
  InsertNode(alertNode, node);
  return node;
}

// A node's action nodes are still to be made while it shows the sign of a
// node that can open and has no children.
void TAlertTree::DeferActionNodes(QTreeWidgetItem *alertNode, bool hasActions) {
  if (!alertNode || alertNode->childCount() > 0)
    return;
  alertNode->setChildIndicatorPolicy(hasActions ? QTreeWidgetItem::ShowIndicator
                                                : QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TAlertTree::FillActionNodes(QTreeWidgetItem *alertNode) {
  if (!alertNode) {
    for (int i = 0; i < topLevelItemCount(); ++i) {
      QTreeWidgetItem *symbolNode = topLevelItem(i);
      for (int j = 0; j < symbolNode->childCount(); ++j)
        FillActionNodes(symbolNode->child(j));
    }
    return;
  }
  if (alertNode->childCount() > 0 ||
      alertNode->childIndicatorPolicy() != QTreeWidgetItem::ShowIndicator)
    return;
  const std::vector<std::string> texts =
      ActionTexts ? ActionTexts(alertNode) : std::vector<std::string>();
  // The sign stays with nodes that have children (it would be drawn anyway):
  // changing it lays out the whole tree again.
  if (texts.empty())
    alertNode->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  for (const std::string &text : texts)
    AddActionNode(alertNode, text);
}

void TAlertTree::SetCurrentQuietly(QTreeWidgetItem *node) {
  const bool was = m_quiet;
  m_quiet = true;
  if (node) {
    setCurrentItem(node);
  } else {
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
  }
  m_quiet = was;
}

bool TAlertTree::SelectNode(QTreeWidgetItem *node) {
  if (node)
    setCurrentItem(node);
  else
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
  return currentItem() == node || (node && Level(node) == 2 && currentItem() == node->parent());
}

void TAlertTree::mousePressEvent(QMouseEvent *event) {
  QTreeWidgetItem *node = itemAt(event->position().toPoint());
  if (node && Level(node) == 2) {
    // A click on an action node chooses its alert.
    setCurrentItem(node->parent());
    event->accept();
    return;
  }
  QTreeWidget::mousePressEvent(event);
}

bool TAlertTree::TextFits(const QTreeWidgetItem *node) const {
  const QRect row = visualItemRect(node);
  if (row.isEmpty())
    return true;
  int textLeft = row.left();
  if (!node->icon(0).isNull())
    textLeft += iconSize().width() + 4;
  const int available =
      std::min(viewport()->width(), header()->sectionViewportPosition(0) + columnWidth(0));
  const int textWidth = QFontMetrics(node->font(0)).horizontalAdvance(node->text(0));
  return textLeft + textWidth + 6 <= available;
}

bool TAlertTree::viewportEvent(QEvent *event) {
  if (event->type() == QEvent::ToolTip) {
    auto *help = static_cast<QHelpEvent *>(event);
    const QTreeWidgetItem *node = itemAt(help->pos());
    if (node && !TextFits(node))
      QToolTip::showText(help->globalPos(), node->text(0), viewport(), visualItemRect(node));
    else
      QToolTip::hideText();
    return true;
  }
  return QTreeWidget::viewportEvent(event);
}
