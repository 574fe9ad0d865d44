// The news window's handlers: the symbol list, the headline grid, the buttons,
// the pop-up menu, the timer and the item pane's browser.
#include "alerts/news/NewsDrawing.h"
#include "alerts/news/NewsForm.h"
#include "alerts/news/NewsSymbols.h"

#include "acquisition/NewsThreadState.h"
#include "core/ErrorReport.h"
#include "core/MarketTime.h"
#include "platform/Clipboard.h"
#include "platform/Delay.h"
#include "platform/EmbeddedBrowser.h"
#include "platform/OpenUrl.h"
#include "platform/Prompt.h"
#include "platform/StringGrid.h"
#include "platform/StringUtils.h"
#include "platform/UncaughtError.h"
#include "prefs/PrefDialog.h"
#include "prefs/PrefPageRegistry.h"
#include "webcontent/AdService.h"
#include "webcontent/AnimGif.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

namespace {
int g_tickCount = 0; // Timer1 ticks of every news window
} // namespace

// ---- Symbol list -------------------------------------------------------------------------

int TfrmNews::SymbolListIndex(const std::string &symbol) const {
  for (int i = 0; i < lbSymb->count(); ++i)
    if (SameText(lbSymb->item(i)->text().toStdString(), symbol))
      return i;
  return -1;
}

std::string TfrmNews::SymbolAt(int index) const {
  QListWidgetItem *item = lbSymb->item(index);
  return item ? item->text().toStdString() : std::string();
}

int TfrmNews::TableIndexAt(int index) const {
  QListWidgetItem *item = lbSymb->item(index);
  return item ? item->data(Qt::UserRole).toInt() : -1;
}

void TfrmNews::SetCurrentSymbolRowQuietly(int index) {
  m_quietList = true;
  lbSymb->setCurrentRow(index);
  if (index < 0)
    lbSymb->clearSelection();
  else
    lbSymb->scrollToItem(lbSymb->item(index));
  m_quietList = false;
}

void TfrmNews::ShowSymbol(const std::string &symbol) {
  const std::string s = UpperCase(Trim(symbol));
  if (s == m_symbol)
    return;
  SetCurrentSymbolRowQuietly(SymbolListIndex(s));
  lbSymbClick();
}

void TfrmNews::UpdateCaption(const std::string &symbol) {
  setWindowTitle(QString::fromStdString(NewsCaptionText(symbol)));
}

void TfrmNews::lbSymbClick() {
  // A click that arrives while the headlines are being read (the pause lets
  // the window repaint) is carried out once the running one has ended.
  if (m_inSymbClick) {
    m_symbClickAgain = true;
    return;
  }
  m_inSymbClick = true;
  try {
    do {
      m_symbClickAgain = false;
      SymbClickOnce();
    } while (m_symbClickAgain && !m_closing);
  } catch (...) {
    m_inSymbClick = false;
    if (m_deleteAfterClick)
      deleteLater();
    throw;
  }
  m_inSymbClick = false;
  if (m_deleteAfterClick)
    deleteLater();
}

void TfrmNews::SymbClickOnce() {
  m_gridFilled = false;
  const std::string previous = m_symbol;
  std::string rememberedItem;
  if (tbNews->isEnabled() && m_selTop >= 1)
    rememberedItem = Items.ItemNumberOfRow(m_selTop);

  const int index = lbSymb->currentRow();
  if (index < 0 || !lbSymb->item(index)->isSelected()) {
    m_symbol.clear();
    setWindowTitle(QStringLiteral("News"));
    Items.Clear();
  } else {
    m_symbol = UpperCase(Trim(SymbolAt(index)));
    Items.Load(m_symbol);
    UpdateCaption(m_symbol);
    Delay(NewsWindowTimings().SelectDelayMs);
    if (m_symbClickAgain || m_closing)
      return;
  }

  FillGrid();
  ClearNewsBulb(m_symbol);

  SelectRows(0, 0);
  if (m_symbol == previous && !rememberedItem.empty()) {
    const int row = Items.RowOfItem(rememberedItem);
    if (row >= 1) {
      m_anchorRow = row;
      SelectRows(row, row);
      tbNews->SetRow(row);
    }
  }
  tbNews->InvalidateGrid();
  FormResize();
}

void TfrmNews::FillGrid() {
  const std::array<QPushButton *, 4> itemButtons = {pbSelAll, pbMarkRead, pbMarkNotRead, pbDetail};
  const int n = Items.Count();
  if (n == 0) {
    tbNews->SetRowCount(2);
    for (int c = 0; c < tbNews->ColCount(); ++c)
      tbNews->SetCells(c, 1, "");
    tbNews->SetEnabled(false);
    for (QPushButton *b : itemButtons)
      b->hide();
    txtNoNews->setVisible(!m_symbol.empty());
    if (!m_symbol.empty())
      txtNoNews->raise();
    return;
  }
  tbNews->SetRowCount(n + 1);
  for (int r = 1; r <= n; ++r) {
    tbNews->SetCells(0, r, "");
    tbNews->SetCells(1, r, Items.Dates[r - 1]);
    tbNews->SetCells(2, r, Items.Titles[r - 1]);
    tbNews->SetCells(3, r, Items.Sources[r - 1]);
  }
  m_gridFilled = true;
  FitHeadingColumn();
  tbNews->SetTopRow(1);
  tbNews->SetEnabled(true);
  tbNews->SetVisible(true);
  txtNoNews->hide();
  for (QPushButton *b : itemButtons)
    b->show();
}

void TfrmNews::FitHeadingColumn() {
  if (!m_gridFilled)
    return;
  const bool allVisible = tbNews->VisibleRowCount() >= tbNews->RowCount() - tbNews->FixedRows();
  const int scrollBar = tbNews->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  tbNews->SetColWidths(2, NewsHeadingColumnWidth(tbNews->width(), tbNews->ColWidths(0),
                                                 tbNews->ColWidths(1), tbNews->ColWidths(3),
                                                 scrollBar, allVisible));
}

void TfrmNews::lbSymbDrawItem(TCanvas &canvas, int index, const TRect &rect, bool selected) {
  const std::string symbol = SymbolAt(index);
  const int p = TableIndexAt(index);
  const std::string fetching = SymbolBeingFetched();
  const bool lit = p >= 0 && NewsBulbLit(p);
  DrawNewsSymbolItem(canvas, rect, symbol, selected,
                     !fetching.empty() && SameText(fetching, symbol), lit,
                     lit ? m_bulbReference - NewsBulbTime(p) : 0.0);
}

bool TfrmNews::HandleSymbolWheel(int delta) {
  if (lbSymb->count() == 0)
    return true;
  int row = lbSymb->currentRow();
  row = delta > 0 ? std::max(0, row - 1) : std::min(lbSymb->count() - 1, row + 1);
  SetCurrentSymbolRowQuietly(row);
  lbSymbClick();
  return true;
}

// ---- Headline grid ------------------------------------------------------------------------

void TfrmNews::SelectRows(int top, int bottom) {
  if (top > bottom)
    std::swap(top, bottom);
  if (top < 1 || !m_gridFilled) {
    top = bottom = 0;
  } else {
    bottom = std::min(bottom, tbNews->RowCount() - 1);
  }
  if (top == m_selTop && bottom == m_selBottom)
    return;
  m_selTop = top;
  m_selBottom = bottom;
  tbNews->InvalidateGrid();
}

void TfrmNews::tbNewsDrawCell(int ACol, int ARow, const TRect &Rect, TGridDrawState) {
  TCanvas &canvas = tbNews->Canvas();
  if (ARow == 0) {
    DrawNewsTitleCell(canvas, Rect, tbNews->Cells(ACol, ARow));
    return;
  }
  const bool selected = m_selTop >= 1 && ARow >= m_selTop && ARow <= m_selBottom;
  if (ACol == 0)
    DrawNewsReadCell(canvas, Rect, selected, Items.RowRead(ARow));
  else
    DrawNewsTextCell(canvas, Rect, tbNews->Cells(ACol, ARow), selected);
}

void TfrmNews::tbNewsMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!m_gridFilled || tbNews->IsSizing())
    return;
  int col = -1, row = -1;
  tbNews->MouseToCell(X, Y, col, row);
  if (row < 1)
    return;
  if (Button == mbLeft && (Shift & ssShift) && m_anchorRow >= 1) {
    SelectRows(m_anchorRow, row);
    return;
  }
  m_anchorRow = row;
  SelectRows(row, row);
}

void TfrmNews::tbNewsDblClick() {
  if (txtNoNews->isVisible())
    return;
  pbDetailClick(pbDetail);
}

void TfrmNews::pbSelAllClick() {
  if (!m_gridFilled)
    return;
  m_anchorRow = 1;
  SelectRows(1, tbNews->RowCount() - 1);
}

void TfrmNews::pbMarkReadClick() {
  if (m_selTop >= 1)
    Items.MarkRows(m_selTop, m_selBottom, true);
  tbNews->InvalidateGrid();
}

void TfrmNews::pbMarkNotReadClick() {
  if (m_selTop >= 1)
    Items.MarkRows(m_selTop, m_selBottom, false);
  tbNews->InvalidateGrid();
}

void TfrmNews::popMarkReadClick() {
  Items.MarkRows(1, tbNews->RowCount() - 1, true);
  tbNews->InvalidateGrid();
}

// ---- Opening an item -----------------------------------------------------------------------

void TfrmNews::pbDetailClick(QObject *sender) {
  const int row = DetailRow();
  if (row < 1 || !Items.ValidRow(row))
    return;
  std::string label = "Mark 1";
  try {
    Items.MarkRow(row, true);
    tbNews->InvalidateGrid();
    label = "Mark 2";
    const std::string url = ItemWebLink(row);
    if (url.empty())
      return;
    if (sender && !m_twoPane) {
      label = "Mark 3";
      PanTop->show();
      PanTop->raise();
      m_spinner->SetAnimate(true);
      pbNavStop->setEnabled(true);
      m_browser->Navigate(url);
    } else {
      label = "Mark 5";
      OpenURL(url);
    }
  } catch (const std::exception &e) {
    ShowErrorReport(label + " " + e.what(), " DetailClick");
  }
}

std::string TfrmNews::ItemWebLink(int row) {
  const std::string link = Trim(Items.LinkOfRow(row));
  const std::string url = WebLinkUrl(link);
  if (url.empty() && !link.empty())
    MessageDlg("This news item's link is not a web address, so it is not opened:\n" +
                   CutTo(link, 200),
               "News", mtWarning, mbOK);
  return url;
}

void TfrmNews::pbOpenLinkClick() { OpenWebLink(Trim(dfAddress->text().toStdString())); }

void TfrmNews::popShowDetailClick() { pbDetailClick(pbDetail); }

void TfrmNews::popShowDetailInIEClick() { pbDetailClick(nullptr); }

void TfrmNews::popCopyAddressClick() {
  const int row = DetailRow();
  if (Items.ValidRow(row))
    AppClipboard().SetText(Items.LinkOfRow(row));
}

void TfrmNews::PopupMenu1Popup() { popShowDetailInIE->setVisible(!m_twoPane); }

// ---- Fetching, bulbs and preferences ------------------------------------------------------------

void TfrmNews::pbForceClick(QObject *sender) {
  auto *button = qobject_cast<QAbstractButton *>(sender);
  if (button)
    button->setEnabled(false);
  const bool all = sender && sender->property("Tag").toInt() != 0;
  std::vector<std::string> symbols;
  if (all) {
    for (int i = 0; i < lbSymb->count(); ++i)
      symbols.push_back(Trim(SymbolAt(i)));
  } else if (!m_symbol.empty()) {
    symbols.push_back(m_symbol);
  }
  RequestNewsFetch(symbols, all);
  if (button)
    button->setEnabled(true);
}

void TfrmNews::popRefOneClick() { pbForceClick(pbForce); }

void TfrmNews::popRefAllClick() { pbForceClick(pbForceAll); }

void TfrmNews::pbNoBulbClick() {
  if (MessageDlg("Are you sure you want to clear all \"new news\" bulbs on all stocks?",
                 "Clear Bulbs", mtConfirmation, mbYesNo) != mrYes)
    return;
  for (int i = 0; i < lbSymb->count(); ++i)
    ClearNewsBulb(Trim(SymbolAt(i)));
}

void TfrmNews::pbSetNewsClick() {
  PrefGoToPage = true;
  PrefPageNumber = PrefPageNews;
  auto *dialog = new TdlgPref(this);
  dialog->Execute();
  delete dialog;
  ApplyPaneMode();
  FormResize();
}

// ---- Keys -----------------------------------------------------------------------------------

void TfrmNews::FormKeyDown(int &Key, TShiftState Shift) {
  if (Key == 'A' && (Shift & (ssCtrl | ssAlt))) {
    pbSelAllClick();
    Key = 0;
  } else if (Key == VK_F1 + 3) { // F4
    pbForceClick(this);
    Key = 0;
  }
}

// ---- Timer ----------------------------------------------------------------------------------

void TfrmNews::Timer1Timer() {
  try {
    ++g_tickCount;
    if (m_bannersOn && m_bannerSlot > 0) {
      AdSlotTable[m_bannerSlot].Minimized = isMinimized();
      AdSlotTable[m_bannerSlot].Inactive = false;
    }
    ++m_resizeTicks;
    if (m_resizeTicks == NewsWindowTimings().HeadingFitTicks)
      FitHeadingColumn();
    const int every = std::max(1, NewsWindowTimings().RefreshEveryTicks);
    if (g_tickCount % every != 0)
      return;
    if (m_browser->Available()) {
      pbNavStop->setEnabled(m_browser->Busy());
      pbPrint->setEnabled(m_browser->HasDocument());
      pbFind->setEnabled(m_browser->HasDocument());
    }
    m_bulbReference = EasternNow();
    RefreshChangedSymbols();
    // The symbol the news thread fetches is drawn in red: repaint when it changes.
    const std::string fetching = SymbolBeingFetched();
    if (fetching != m_lastFetching) {
      m_lastFetching = fetching;
      lbSymb->viewport()->update();
    }
  } catch (const std::exception &e) {
    ReportUncaughtError(std::string("News Timer1Timer: ") + e.what());
  }
}

void TfrmNews::RefreshChangedSymbols() {
  const std::vector<std::string> changed = TakeChangedNewsSymbols();
  if (changed.empty())
    return;
  if (QListWidgetItem *item = lbSymb->item(m_lastRepaintedItem))
    lbSymb->viewport()->update(lbSymb->visualItemRect(item));
  for (const std::string &symbol : changed) {
    const int i = SymbolListIndex(symbol);
    if (i < 0)
      continue;
    const bool lit = RefreshNewsBulb(symbol, TableIndexAt(i));
    lbSymb->viewport()->update(lbSymb->visualItemRect(lbSymb->item(i)));
    m_lastRepaintedItem = i;
    if (SameText(symbol, m_symbol)) {
      if (lit)
        lbSymbClick();
      else
        UpdateCaption(m_symbol);
    }
  }
}

// ---- Splitter -----------------------------------------------------------------------

void TfrmNews::Splitter1Moved() {
  m_split = NewsSplitFromSplitter(Splitter1->y(), PanSplit->height(), m_split);
  FormResize();
}

// ---- Item pane's browser
// --------------------------------------------------------------------------

void TfrmNews::BrowserNavigateComplete(const std::string &url) {
  m_spinner->SetAnimate(false);
  PanTop->hide();
  const std::string location = m_browser->LocationURL();
  dfAddress->setText(QString::fromStdString(location.empty() ? url : location));
  dfAddress->setCursorPosition(0);
  pbNavStop->setEnabled(m_browser->Busy());
  pbPrint->setEnabled(m_browser->HasDocument());
  pbFind->setEnabled(m_browser->HasDocument());
}

void TfrmNews::BrowserLocationChange(const std::string &url) {
  if (url.empty())
    return;
  dfAddress->setText(QString::fromStdString(url));
  dfAddress->setCursorPosition(0);
}

void TfrmNews::BrowserCommandStateChange(int command, bool enable) {
  if (command == bcNavigateForward)
    pbNavRight->setEnabled(enable);
  else if (command == bcNavigateBack)
    pbNavLeft->setEnabled(enable);
  pbNavStop->setEnabled(m_browser->Busy());
}

void TfrmNews::pbNavLeftClick() { m_browser->GoBack(); }

void TfrmNews::pbNavRightClick() { m_browser->GoForward(); }

void TfrmNews::pbNavStopClick() {
  m_browser->Stop();
  pbNavStop->setEnabled(m_browser->Busy());
}

void TfrmNews::pbNavHomeClick() {
  const int row = DetailRow();
  if (!Items.ValidRow(row) || !m_browser->Available())
    return;
  const std::string url = ItemWebLink(row);
  if (!url.empty())
    m_browser->Navigate(url);
}

void TfrmNews::pbGoClick() {
  const std::string address = WebLinkUrl(dfAddress->text().toStdString());
  if (address.empty())
    return;
  if (m_browser->Available() && !m_twoPane) {
    pbNavStop->setEnabled(true);
    m_browser->Navigate(address);
  } else {
    OpenURL(address);
  }
}

void TfrmNews::pbPrintClick() {
  if (m_browser->HasDocument())
    m_browser->Print();
}

void TfrmNews::pbFindClick() {
  if (m_browser->HasDocument())
    m_browser->Find();
}
