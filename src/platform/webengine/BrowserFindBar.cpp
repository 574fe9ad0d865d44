#include "platform/webengine/BrowserFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>

BrowserFindBar::BrowserFindBar(QWebEnginePage *page, QWidget *parent)
    : QWidget(parent), m_page(page) {
  setObjectName(QStringLiteral("FindBar"));
  auto *row = new QHBoxLayout(this);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(3);
  auto *label = new QLabel(QStringLiteral("Find:"), this);
  dfFind = new QLineEdit(this);
  dfFind->setObjectName(QStringLiteral("dfFind"));
  dfFind->setMaximumWidth(240);
  pbFindPrev = new QPushButton(QStringLiteral("Previous"), this);
  pbFindPrev->setObjectName(QStringLiteral("pbFindPrev"));
  pbFindNext = new QPushButton(QStringLiteral("Next"), this);
  pbFindNext->setObjectName(QStringLiteral("pbFindNext"));
  lbFindResult = new QLabel(this);
  lbFindResult->setObjectName(QStringLiteral("lbFindResult"));
  pbFindClose = new QPushButton(QStringLiteral("Close"), this);
  pbFindClose->setObjectName(QStringLiteral("pbFindClose"));
  for (QPushButton *b : {pbFindPrev, pbFindNext, pbFindClose}) {
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus);
  }
  row->addWidget(label);
  row->addWidget(dfFind, 1);
  row->addWidget(pbFindPrev);
  row->addWidget(pbFindNext);
  row->addWidget(lbFindResult, 1);
  row->addWidget(pbFindClose);
  dfFind->installEventFilter(this);
  connect(pbFindPrev, &QPushButton::clicked, this, [this] { FindNext(true); });
  connect(pbFindNext, &QPushButton::clicked, this, [this] { FindNext(false); });
  connect(pbFindClose, &QPushButton::clicked, this, &BrowserFindBar::Close);
  // A new text starts the search from the top of the page.
  connect(dfFind, &QLineEdit::textEdited, this, [this] { FindNext(false); });
  hide();
}

void BrowserFindBar::Open() {
  show();
  dfFind->setFocus();
  dfFind->selectAll();
}

void BrowserFindBar::Close() {
  hide();
  lbFindResult->clear();
  m_page->findText(QString()); // clears the marks
}

void BrowserFindBar::FindNext(bool backward) {
  const QString text = dfFind->text();
  if (text.isEmpty()) {
    lbFindResult->clear();
    m_page->findText(QString());
    return;
  }
  QPointer<BrowserFindBar> bar = this;
  const int page = m_pageNumber;
  m_page->findText(text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags(),
                   [bar, page](const QWebEngineFindTextResult &found) {
                     if (!bar || bar->m_pageNumber != page)
                       return;
                     QLabel *result = bar->lbFindResult;
                     result->setText(found.numberOfMatches() == 0
                                         ? QStringLiteral("Not found")
                                         : QStringLiteral("%1 of %2")
                                               .arg(found.activeMatch())
                                               .arg(found.numberOfMatches()));
                   });
}

void BrowserFindBar::PageLeft() {
  ++m_pageNumber;
  lbFindResult->clear();
}

void BrowserFindBar::PageLoaded() {
  if (!isHidden() && !dfFind->text().isEmpty())
    FindNext(false);
}

bool BrowserFindBar::eventFilter(QObject *watched, QEvent *event) {
  if (watched == dfFind &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
    auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (key->key() == Qt::Key_Escape || enter) {
      // Taken here, not by the window (Escape would close it).
      if (event->type() == QEvent::KeyPress) {
        if (enter)
          FindNext(key->modifiers() & Qt::ShiftModifier);
        else
          Close();
      }
      event->accept();
      return event->type() == QEvent::KeyPress;
    }
  }
  return QWidget::eventFilter(watched, event);
}
