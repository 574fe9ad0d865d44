#include "alerts/ui/AlertDlg.h"

#include "alerts/AlertEditRequest.h"
#include "alerts/AlertFile.h"
#include "alerts/AlertPopupHook.h"
#include "alerts/AlertsModule.h"
#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/Portfolio.h"
#include "core/ProgramFolder.h"
#include "platform/Color.h"
#include "platform/StringUtils.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

// Every pop-up from construction to destruction, oldest first. Window thread.
std::vector<TAlertDlg *> &Registry() {
  static std::vector<TAlertDlg *> dialogs;
  return dialogs;
}

QString Q(const std::string &text) { return QString::fromStdString(text); }

QPushButton *MakeButton(QWidget *parent, const char *name, const char *text, const char *hint) {
  auto *button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  if (hint)
    button->setToolTip(QString::fromUtf8(hint));
  return button;
}

QLabel *MakeLabel(QWidget *parent, const char *name) {
  auto *label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

} // namespace

TAlertDlg::TAlertDlg(QWidget *owner) : TButtonForm(owner) {
  setAttribute(Qt::WA_DeleteOnClose);
  // Single border with only the system menu, always on top.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QStringLiteral("ALERT"));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setSizeGripEnabled(false);

  BuildControls();
  Registry().push_back(this);
  FormCreate();
  FitToContents();
}

TAlertDlg::~TAlertDlg() {
  auto &dialogs = Registry();
  dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), this), dialogs.end());
}

std::vector<TAlertDlg *> TAlertDlg::OpenDialogs() {
  std::vector<TAlertDlg *> open;
  for (TAlertDlg *dlg : Registry())
    if (!dlg->m_closed)
      open.push_back(dlg);
  return open;
}

void TAlertDlg::BuildControls() {
  // Created in declaration order, which is also the tab order.
  lbSymb = MakeLabel(this, "lbSymb");
  lbPrice = MakeLabel(this, "lbPrice");
  Image1 = MakeLabel(this, "Image1");
  pbTurnOff = MakeButton(this, "pbTurnOff", "Turn Off", "Turn off alert.");
  pbClear = MakeButton(this, "pbClear", "&Delete", "Erase the Alert");
  lbDesc = MakeLabel(this, "lbDesc");
  pbClose = MakeButton(this, "pbClose", "&Close", "Close this dialog, leaving the alert intact");
  pbDisable = MakeButton(this, "pbDisable", "Di&sable", nullptr);
  pbEdit = MakeButton(this, "pbEdit", "&Edit", "Edit the Alert");
  lbName = MakeLabel(this, "lbName");
  pbPortfolio = MakeButton(this, "pbPortfolio", "Portfolio", nullptr);
  Pop = new QMenu(this);
  Pop->setObjectName(QStringLiteral("Pop"));

  QFont large = font();
  large.setPointSizeF(font().pointSizeF() * 1.6);
  large.setBold(true);
  for (QLabel *label : {lbSymb, lbPrice}) {
    label->setFont(large);
    label->setAlignment(Qt::AlignCenter);
  }
  QFont bold = font();
  bold.setBold(true);
  lbDesc->setFont(bold);
  lbDesc->setWordWrap(true);
  lbDesc->setAlignment(Qt::AlignCenter);
  lbName->setWordWrap(true);
  lbName->setAlignment(Qt::AlignCenter);

  Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(IconSize, IconSize));
  Image1->setFixedSize(IconSize, IconSize);

  auto *head = new QGridLayout;
  head->setContentsMargins(0, 0, 0, 0);
  head->setVerticalSpacing(0);
  head->addWidget(Image1, 0, 0, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
  head->addWidget(lbSymb, 0, 1);
  head->addWidget(lbPrice, 1, 1);
  // As wide as the icon, so that the symbol and price stay centred in the form.
  head->setColumnMinimumWidth(2, IconSize);
  head->setColumnStretch(1, 1);

  auto *buttons = new QGridLayout;
  buttons->setContentsMargins(0, 0, 0, 0);
  const QPushButton *order[] = {pbTurnOff, pbClear, pbClose, pbDisable, pbEdit, pbPortfolio};
  for (int i = 0; i < 6; ++i)
    buttons->addWidget(const_cast<QPushButton *>(order[i]), i / 3, i % 3);

  auto *form = new QVBoxLayout(this);
  form->setContentsMargins(10, 10, 10, 10);
  form->setSpacing(6);
  form->addLayout(head);
  form->addWidget(lbDesc);
  form->addWidget(lbName);
  form->addSpacing(4);
  form->addLayout(buttons);

  connect(pbTurnOff, &QPushButton::clicked, this, &TAlertDlg::pbTurnOffClick);
  connect(pbClear, &QPushButton::clicked, this, &TAlertDlg::pbClearClick);
  connect(pbClose, &QPushButton::clicked, this, &TAlertDlg::pbCloseClick);
  connect(pbDisable, &QPushButton::clicked, this, &TAlertDlg::pbDisableClick);
  connect(pbEdit, &QPushButton::clicked, this, &TAlertDlg::pbEditClick);
  connect(Pop, &QMenu::aboutToShow, this, &TAlertDlg::PopPopup);

  // The Portfolio button opens its menu on mouse down (and on Space or Enter).
  pbPortfolio->installEventFilter(this);
  // Key preview: the form sees every key before its controls.
  installEventFilter(this);
  for (QWidget *child : findChildren<QWidget *>())
    if (child != pbPortfolio)
      child->installEventFilter(this);
}

void TAlertDlg::FitToContents() {
  QLayout *form = layout();
  form->activate();
  const int width = std::max(FormWidth, form->totalMinimumSize().width());
  const int height =
      form->hasHeightForWidth() ? form->totalHeightForWidth(width) : form->totalSizeHint().height();
  setFixedSize(width, std::max(height, form->totalMinimumSize().height()));
}

void TAlertDlg::Fill(const AlertPopupInfo &info) {
  lbSymb->setText(Q(info.Symbol));
  lbPrice->setText(Q(info.PriceText));
  QPalette pal = lbPrice->palette();
  pal.setColor(QPalette::WindowText, ToQColor(info.PriceColor));
  lbPrice->setPalette(pal);
  lbDesc->setText(Q(info.Description));
  lbName->setText(Q(info.NameLine));
  setWindowTitle(Q(info.Caption));
  ID = CutTo(info.ID, 6);
  Limit = info.Limit;
  FitToContents();
}

// ---- Form events

void TAlertDlg::FormCreate() {
  HelpFile = GetHelpFileName();
  HelpContext = HelpContextId;
}

void TAlertDlg::FormShow() { HelpFile = GetHelpFileName(); }

void TAlertDlg::FormClose() {
  ClearPopItems();
  Keys.clear();
}

void TAlertDlg::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  try {
    HandleGlobalKeys(key, shift);
  } catch (const std::exception &e) {
    WriteLog(std::string("TAlertDlg.FormKeyDown Error: ") + e.what(), 0);
  } catch (...) {
    WriteLog("TAlertDlg.FormKeyDown Error: unknown exception", 0);
  }
}

void TAlertDlg::showEvent(QShowEvent *event) {
  TButtonForm::showEvent(event);
  FormShow();
}

void TAlertDlg::closeEvent(QCloseEvent *event) {
  if (!m_closed) {
    m_closed = true;
    FormClose();
  }
  event->accept();
}

void TAlertDlg::reject() { pbCloseClick(); }

bool TAlertDlg::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    // A key not used by a control travels on to its parents; hand it on once.
    QWidget *focus = QApplication::focusWidget();
    const bool first = watched == focus || (watched == this && (!focus || !isAncestorOf(focus)));
    if (first)
      FormKeyDown(key->key(), key->modifiers());
    if (watched == pbPortfolio && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
                                   key->key() == Qt::Key_Enter)) {
      pbPortfolioMouseDown();
      return true;
    }
  } else if (watched == pbPortfolio && event->type() == QEvent::MouseButtonPress) {
    if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
      pbPortfolioMouseDown();
      return true;
    }
  }
  return TButtonForm::eventFilter(watched, event);
}

// ---- Buttons

bool TAlertDlg::Guarded(const char *place, const std::function<void()> &action) {
  try {
    action();
    return true;
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), place);
  } catch (...) {
    ShowErrorReport("unknown exception", place);
  }
  return false;
}

void TAlertDlg::SaveAlerts() {
  SaveAlertFileReporting(AlertSystem(), ProgramFolder() + AlertFileName);
}

void TAlertDlg::pbTurnOffClick() {
  if (Guarded("TurnOffAlert", [this] { AlertSystem().TurnOffAlert(ID, false); }))
    close();
}

void TAlertDlg::pbDisableClick() {
  if (!Guarded("DisableAlert", [this] {
        AlertSystem().TurnOffAlert(ID, false);
        AlertSystem().DisableAlert(ID);
      }))
    return;
  SaveAlerts();
  close();
}

void TAlertDlg::pbClearClick() {
  if (!Guarded("DeleteAlert", [this] { AlertSystem().DeleteAlert(ID, false); }))
    return;
  SaveAlerts();
  close();
}

void TAlertDlg::pbCloseClick() { close(); }

void TAlertDlg::pbEditClick() {
  AlertEditRequest().Set(ID);
  close();
}

// ---- Portfolio menu

QPoint TAlertDlg::PortfolioMenuPoint() const {
  return mapToGlobal(QPoint(pbPortfolio->x(), pbPortfolio->y() + pbPortfolio->height()));
}

void TAlertDlg::pbPortfolioMouseDown() { Pop->popup(PortfolioMenuPoint()); }

void TAlertDlg::ClearPopItems() {
  // Freed later: the item being clicked may be the one that closes the form.
  for (QAction *item : Pop->actions()) {
    Pop->removeAction(item);
    item->deleteLater();
  }
}

void TAlertDlg::PopPopup() {
  ClearPopItems();
  Keys.clear();
  const std::string symbol = lbSymb->text().toStdString();
  MyLockGuard guard(PortListLock, "APOP", true);
  if (!guard.Owns())
    return;
  for (int i = 1; i <= PortfolioList.Count(); ++i) {
    const PortType &port = PortfolioList[i];
    const bool holds =
        std::any_of(port.Positions.begin(), port.Positions.end(),
                    [&](const PortPosition &position) { return position.Symbol == symbol; });
    Keys.push_back(port.Key);
    const int tag = int(Keys.size()) - 1;
    auto *item = new QAction(Q(PortfolioList.DisplayName(i)), Pop);
    item->setCheckable(true);
    item->setChecked(holds);
    item->setEnabled(true);
    item->setData(tag);
    connect(item, &QAction::triggered, this, [this, tag] { PortfolioItemClick(tag); });
    Pop->addAction(item);
  }
}

void TAlertDlg::PortfolioItemClick(int tag) {
  if (tag < 0 || std::size_t(tag) >= Keys.size())
    return;
  // The whole key: keys of up to 22 characters name their portfolio exactly.
  PortfolioRequest().Set(Keys[std::size_t(tag)]);
  close();
}
