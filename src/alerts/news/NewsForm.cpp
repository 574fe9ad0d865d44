// The news window: construction, layout, showing and closing, banners and the
// key preview. The handlers of its controls are in NewsFormHandlers.cpp.
#include "alerts/news/NewsForm.h"

#include "alerts/news/NewsFormParts.h"
#include "alerts/news/NewsIcons.h"

#include "alerts/news/NewsSymbols.h"
#include "alerts/news/NewsWindowPlace.h"
#include "core/DisplaySettings.h"
#include "core/IniFile.h"
#include "core/MarketTime.h"
#include "core/SaveFailureReport.h"
#include "core/StandIns.h"
#include "platform/Delay.h"
#include "platform/EmbeddedBrowser.h"
#include "platform/OpenUrl.h"
#include "platform/QPainterCanvas.h"
#include "platform/StringGrid.h"
#include "platform/UncaughtError.h"
#include "webcontent/AdService.h"
#include "webcontent/AnimGif.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

using namespace newsform;

namespace {

QPointer<TfrmNews> g_window;
TNewsWindowTimings g_timings;

class TSplitterBar final : public QWidget {
public:
  explicit TSplitterBar(QWidget *parent) : QWidget(parent) {
    SetBackground(this, QColor(255, 255, 0));
    setCursor(Qt::SplitVCursor);
  }
  std::function<void()> OnMoved;

protected:
  void mousePressEvent(QMouseEvent *e) override {
    if (e->button() == Qt::LeftButton) {
      m_dragging = true;
      m_grab = e->position().toPoint().y();
    }
  }
  void mouseMoveEvent(QMouseEvent *e) override {
    if (!m_dragging || !parentWidget())
      return;
    const int limit = std::max(0, parentWidget()->height() - height());
    const int y = std::clamp(mapToParent(e->position().toPoint()).y() - m_grab, 0, limit);
    if (y == this->y())
      return;
    move(x(), y);
    if (OnMoved)
      GuardedCall("Splitter1Moved", OnMoved);
  }
  void mouseReleaseEvent(QMouseEvent *) override { m_dragging = false; }

private:
  static void GuardedCall(const char *what, const std::function<void()> &fn) {
    try {
      fn();
    } catch (const std::exception &e) {
      ReportUncaughtError(std::string(what) + ": " + e.what());
    } catch (...) {
      ReportUncaughtError(what);
    }
  }
  bool m_dragging = false;
  int m_grab = 0;
};

// Draws the symbol list's items through the window's lbSymbDrawItem.
class TSymbolItemDelegate final : public QStyledItemDelegate {
public:
  TSymbolItemDelegate(TfrmNews *form, QObject *parent)
      : QStyledItemDelegate(parent), m_form(form) {}

  void paint(QPainter *painter, const QStyleOptionViewItem &option,
             const QModelIndex &index) const override {
    painter->save();
    try {
      TQPainterCanvas canvas(*painter);
      canvas.Font() = NewsFont();
      const QRect r = option.rect;
      m_form->lbSymbDrawItem(canvas, index.row(),
                             TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1),
                             (option.state & QStyle::State_Selected) != 0);
    } catch (...) {
      ReportUncaughtError("lbSymbDrawItem failed");
    }
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override {
    return QSize(option.rect.width(), TfrmNews::SymbolItemHeight);
  }

private:
  TfrmNews *m_form;
};

} // namespace

// ---- Module settings -------------------------------------------------------------

TNewsWindowTimings NewsWindowTimings() { return g_timings; }
void SetNewsWindowTimings(const TNewsWindowTimings &timings) { g_timings = timings; }

TfrmNews *TfrmNews::Instance() { return g_window; }

// ---- Creation ---------------------------------------------------------------------

TfrmNews::TfrmNews(QWidget *owner) : QDialog(owner) {
  g_window = this;
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setObjectName(QStringLiteral("frmNews"));
  setWindowTitle(QStringLiteral("News"));
  setFont(NewsQFont());
  FormCreate();
}

TfrmNews::~TfrmNews() {
  // FormDestroy: the lists go with the window.
  if (g_window == this)
    g_window = nullptr;
}

void TfrmNews::FormCreate() {
  m_gridFilled = false;
  BuildControls();
  BuildBanners();
  // The spinner has no picture of its own: the panel shows a text instead.
  m_spinner = std::make_unique<TAnimGif>();
  AdjustGifDrawOptions(m_spinner.get());
  pbClose->hide();

  m_browser = CreateEmbeddedBrowser(panIE);
  m_browser->OnNavigateComplete = [this](const std::string &url) { BrowserNavigateComplete(url); };
  m_browser->OnCommandStateChange = [this](int command, bool enable) {
    BrowserCommandStateChange(command, enable);
  };
  m_browser->OnLocationChange = [this](const std::string &url) { BrowserLocationChange(url); };
  if (QWidget *view = m_browser->Available() ? m_browser->Widget() : nullptr) {
    view->setParent(panIE);
    view->show();
    PanTop->raise();
  }
  // No browser means two panes: items open in the user's browser.
  m_twoPane = CurrentDisplaySettings().TwoPanes || !m_browser->Available();

  QSize screen(1024, 768);
  if (QScreen *s = QGuiApplication::primaryScreen())
    screen = s->geometry().size();
  const TNewsWindowPlace place =
      ReadNewsWindowPlace(SettingsFile(), QSize(DesignedWidth, DesignedHeight), screen);
  m_split = place.Split;
  move(place.Frame.topLeft());
  resize(place.Frame.size());
  EnsureFormVisible(this);

  // Grid titles and the widths of the columns beside the heading.
  tbNews->SetCells(0, 0, "R");
  tbNews->SetCells(1, 0, "Date/Time");
  tbNews->SetCells(2, 0, "Heading");
  tbNews->SetCells(3, 0, "Source");
  tbNews->SetColWidths(0, tbNews->Canvas().TextWidth(" R "));
  tbNews->SetColWidths(1, tbNews->Canvas().TextWidth(" Feb 28, 1999 12:99 "));
  tbNews->SetColWidths(3, tbNews->Canvas().TextWidth("Reuters News Age"));

  if (m_twoPane) {
    panIE->hide();
    NavPan->hide();
    Splitter1->hide();
  }
  if (place.Maximized)
    setWindowState(windowState() | Qt::WindowMaximized);
  UpdateMinimumSize();
  InstallKeyPreview(this);
  Timer1->start();
}

void TfrmNews::BuildControls() {
  panSymb = new QWidget(this);
  panSymb->setObjectName(QStringLiteral("panSymb"));
  lbSymb = new QListWidget(panSymb);
  lbSymb->setObjectName(QStringLiteral("lbSymb"));
  lbSymb->setFont(NewsQFont());
  lbSymb->setUniformItemSizes(true);
  lbSymb->setSelectionMode(QAbstractItemView::SingleSelection);
  lbSymb->setItemDelegate(new TSymbolItemDelegate(this, lbSymb));
  SetBackground(lbSymb, QColor(192, 192, 192));
  lbSymb->viewport()->installEventFilter(this);
  // Selection, not the current row: a mouse press makes the row current
  // before it selects it, and the click would show no symbol.
  connect(lbSymb, &QListWidget::itemSelectionChanged, this, [this] {
    if (!m_quietList)
      Guarded("lbSymbClick", [this] { lbSymbClick(); });
  });

  PanSplit = new QWidget(this);
  PanSplit->setObjectName(QStringLiteral("PanSplit"));
  panNews = new QWidget(PanSplit);
  panNews->setObjectName(QStringLiteral("panNews"));
  auto *splitter = new TSplitterBar(PanSplit);
  splitter->OnMoved = [this] { Splitter1Moved(); };
  Splitter1 = splitter;
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  NavPan = new QWidget(PanSplit);
  NavPan->setObjectName(QStringLiteral("NavPan"));
  panIE = new QWidget(PanSplit);
  panIE->setObjectName(QStringLiteral("panIE"));
  SetBackground(panIE, Qt::white);

  tbNews = new TStringGrid(panNews);
  tbNews->setObjectName(QStringLiteral("tbNews"));
  tbNews->SetFont(NewsFont());
  tbNews->SetColCount(4);
  tbNews->SetRowCount(2);
  tbNews->SetFixedRows(1);
  tbNews->SetFixedCols(0);
  tbNews->SetDefaultRowHeight(NewsRowHeight);
  tbNews->SetDefaultDrawing(false);
  tbNews->SetColSizing(true);
  tbNews->OnDrawCell = [this](int c, int r, const TRect &rect, TGridDrawState s) {
    tbNewsDrawCell(c, r, rect, s);
  };
  tbNews->OnDblClick = [this] { tbNewsDblClick(); };
  tbNews->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) {
    tbNewsMouseDown(b, s, x, y);
  };
  tbNews->OnMouseMove = [this](TShiftState s, int x, int y) {
    if (!(s & ssLeft) || !m_gridFilled || tbNews->IsSizing())
      return;
    int col = -1, row = -1;
    tbNews->MouseToCell(x, y, col, row);
    if (row >= 1 && m_anchorRow >= 1)
      SelectRows(m_anchorRow, row);
  };
  tbNews->OnKeyDown = [this](int &key, TShiftState shift) {
    if (!m_gridFilled)
      return;
    int row = m_selTop > 0 ? (m_anchorRow == m_selTop ? m_selBottom : m_selTop) : 0;
    const int last = tbNews->RowCount() - 1;
    const int page = std::max(1, tbNews->VisibleRowCount() - 1);
    switch (key) {
    case VK_UP:
      row = std::max(1, row - 1);
      break;
    case VK_DOWN:
      row = std::min(last, row + 1);
      break;
    case VK_PRIOR:
      row = std::max(1, row - page);
      break;
    case VK_NEXT:
      row = std::min(last, row + page);
      break;
    case VK_HOME:
      row = 1;
      break;
    case VK_END:
      row = last;
      break;
    default:
      return;
    }
    key = 0;
    if (shift & ssShift && m_anchorRow >= 1) {
      SelectRows(m_anchorRow, row);
    } else {
      m_anchorRow = row;
      SelectRows(row, row);
    }
    tbNews->SetRow(row);
  };

  txtNoNews = new QLabel(QStringLiteral("   No News Found  "), panNews);
  txtNoNews->setObjectName(QStringLiteral("txtNoNews"));
  txtNoNews->setFont(NewsQFont(true, 12));
  SetBackground(txtNoNews, QColor(255, 255, 0));
  txtNoNews->setAlignment(Qt::AlignCenter);
  txtNoNews->resize(txtNoNews->sizeHint());
  txtNoNews->hide();

  pbSelAll = MakeButton(panNews, "pbSelAll", QStringLiteral("Select &All"));
  pbMarkRead = MakeButton(panNews, "pbMarkRead", QStringLiteral("Mark &Read"));
  pbMarkNotRead = MakeButton(panNews, "pbMarkNotRead", QStringLiteral("Mark &NOT Read"));
  pbNoBulb = MakePictureButton(panNews, "pbNoBulb", NewsIcon(TNewsIcon::NoBulb),
                               QStringLiteral("Remove ALL bulbs"));
  pbForce = MakePictureButton(panNews, "pbForce", NewsIcon(TNewsIcon::Refresh),
                              QStringLiteral("Refresh news for this symbol."));
  pbForce->setProperty("Tag", 0);
  pbForceAll = MakePictureButton(panNews, "pbForceAll", NewsIcon(TNewsIcon::RefreshAll),
                                 QStringLiteral("Refresh news for all symbols."));
  pbForceAll->setProperty("Tag", 1);
  pbSetNews = MakeButton(panNews, "pbSetNews", QStringLiteral("Preferences"));
  pbDetail = MakeButton(panNews, "pbDetail", QStringLiteral("&Detail"));
  pbClose = MakeButton(panNews, "pbClose", QStringLiteral("Close"));
  // Buttons of one row share one height.
  const int buttonH = pbSelAll->height();
  for (QPushButton *b :
       {pbMarkRead, pbMarkNotRead, pbNoBulb, pbForce, pbForceAll, pbSetNews, pbDetail})
    b->resize(b->width(), buttonH);

  connect(pbSelAll, &QPushButton::clicked, this,
          [this] { Guarded("pbSelAllClick", [this] { pbSelAllClick(); }); });
  connect(pbMarkRead, &QPushButton::clicked, this,
          [this] { Guarded("pbMarkReadClick", [this] { pbMarkReadClick(); }); });
  connect(pbMarkNotRead, &QPushButton::clicked, this,
          [this] { Guarded("pbMarkNotReadClick", [this] { pbMarkNotReadClick(); }); });
  connect(pbNoBulb, &QPushButton::clicked, this,
          [this] { Guarded("pbNoBulbClick", [this] { pbNoBulbClick(); }); });
  connect(pbForce, &QPushButton::clicked, this,
          [this] { Guarded("pbForce", [this] { pbForceClick(pbForce); }); });
  connect(pbForceAll, &QPushButton::clicked, this,
          [this] { Guarded("pbForceAll", [this] { pbForceClick(pbForceAll); }); });
  connect(pbSetNews, &QPushButton::clicked, this,
          [this] { Guarded("pbSetNewsClick", [this] { pbSetNewsClick(); }); });
  connect(pbDetail, &QPushButton::clicked, this,
          [this] { Guarded("pbDetail", [this] { pbDetailClick(pbDetail); }); });
  connect(pbClose, &QPushButton::clicked, this,
          [this] { Guarded("pbCloseClick", [this] { pbCloseClick(); }); });

  Memo1 = new QPlainTextEdit(panNews);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->hide();

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  auto addItem = [this](const char *name, const QString &text, void (TfrmNews::*handler)()) {
    QAction *a = PopupMenu1->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this,
            [this, name, handler] { Guarded(name, [&] { (this->*handler)(); }); });
    return a;
  };
  popShowDetail =
      addItem("popShowDetail", QStringLiteral("Show Detail"), &TfrmNews::popShowDetailClick);
  PopupMenu1->setDefaultAction(popShowDetail);
  popShowDetailInIE = addItem("popShowDetailInIE", QStringLiteral("Open in New Window"),
                              &TfrmNews::popShowDetailInIEClick);
  popCopyAddress =
      addItem("popCopyAddress", QStringLiteral("Copy URL Address"), &TfrmNews::popCopyAddressClick);
  popMarkRead =
      addItem("popMarkRead", QStringLiteral("Mark All Read"), &TfrmNews::popMarkReadClick);
  PopupMenu1->addSeparator();
  popRefOne =
      addItem("popRefOne", QStringLiteral("Refresh News for Stock"), &TfrmNews::popRefOneClick);
  popRefAll = addItem("popRefAll", QStringLiteral("Refresh News for All Stocks"),
                      &TfrmNews::popRefAllClick);
  connect(PopupMenu1, &QMenu::aboutToShow, this,
          [this] { Guarded("PopupMenu1Popup", [this] { PopupMenu1Popup(); }); });
  tbNews->SetPopupMenu(PopupMenu1);

  BuildNavPan();
  BuildItemPane();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(g_timings.TimerIntervalMs);
  connect(Timer1, &QTimer::timeout, this,
          [this] { Guarded("Timer1Timer", [this] { Timer1Timer(); }); });
}

// ---- Showing, layout and closing ------------------------------------------------------

void TfrmNews::FormShow() {
  m_bulbReference = EasternNow();
  const std::vector<TNewsSymbolEntry> entries = LoadNewsSymbols();
  m_quietList = true;
  lbSymb->clear();
  for (const TNewsSymbolEntry &e : entries) {
    auto *item = new QListWidgetItem(QString::fromStdString(e.Symbol));
    item->setData(Qt::UserRole, e.TableIndex);
    item->setSizeHint(QSize(0, SymbolItemHeight));
    lbSymb->addItem(item);
  }
  lbSymb->setCurrentRow(-1);
  m_quietList = false;
  if (m_bannerSlot > 0) {
    AdSlotTable[m_bannerSlot].Counters[0] = 0;
    AdSlotTable[m_bannerSlot].Counters[1] = 0;
  }
  AdShowSeconds = 0;
  FormResize();
}

void TfrmNews::FormResize() {
  m_resizeTicks = 0;
  const int w = width();
  const int h = height();
  panSymb->setGeometry(0, 0, SymbolPanelWidth, h);
  lbSymb->setGeometry(panSymb->rect());
  PanSplit->setGeometry(SymbolPanelWidth, 0, std::max(0, w - SymbolPanelWidth), h);

  TNewsLayoutInput in;
  in.SplitPanel = PanSplit->size();
  in.SplitPercent = m_split;
  in.TwoPane = m_twoPane;
  in.BannersOn = m_bannersOn;
  in.NavPanHeight = NavPanHeight;
  const std::array<QPushButton *, NewsButtonCount> buttons = {
      pbSelAll, pbMarkRead, pbMarkNotRead, pbNoBulb, pbForce, pbForceAll, pbSetNews, pbDetail};
  for (int b = 0; b < NewsButtonCount; ++b)
    in.Buttons[b] = buttons[b]->size();
  in.NoNewsText = txtNoNews->size();
  in.SpinnerPanel = PanTop->size();
  in.GoButtonWidth = pbGo->width();
  in.Banners.LabelLWidth = ClickLabL->width();
  in.Banners.LabelRWidth = ClickLabR->width();
  in.Banners.LabelHeight = ClickLabL->height();
  for (int p = 1; p <= SideBannerCount; ++p)
    in.Banners.Side[p] = m_side[p].Gif != nullptr;
  in.AddressLeft = 0; // set by LayoutNavPan
  const TNewsLayout l = LayoutNewsWindow(in);

  panNews->setGeometry(l.HeadlineArea);
  if (!m_twoPane) {
    Splitter1->setGeometry(l.Splitter);
    NavPan->setGeometry(l.NavPan);
    panIE->setGeometry(l.ItemPane);
  }
  tbNews->setGeometry(l.Grid);
  txtNoNews->setGeometry(l.NoNewsText);
  for (int b = 0; b < NewsButtonCount; ++b)
    buttons[b]->setGeometry(l.Buttons[b]);

  panAd->setVisible(l.BannerRowShown);
  if (l.BannerRowShown) {
    const TBannerRowLayout &row = l.BannerRow;
    panAd->setGeometry(row.Banner);
    ClickLabL->setVisible(row.Shown[bpLabelL]);
    ClickPicL->setVisible(row.Shown[bpLabelL]);
    ClickLabR->setVisible(row.Shown[bpLabelR]);
    ClickPicR->setVisible(row.Shown[bpLabelR]);
    if (row.Shown[bpLabelL]) {
      ClickLabL->setGeometry(row.LabelL);
      ClickPicL->setGeometry(row.ArrowL);
    }
    if (row.Shown[bpLabelR]) {
      ClickLabR->setGeometry(row.LabelR);
      ClickPicR->setGeometry(row.ArrowR);
    }
    for (int p = 1; p <= SideBannerCount; ++p) {
      if (!m_side[p].Panel)
        continue;
      m_side[p].Panel->setVisible(row.SideShown(p));
      if (row.SideShown(p))
        m_side[p].Panel->setGeometry(row.Side[p]);
    }
  } else {
    for (QWidget *w2 : {static_cast<QWidget *>(ClickLabL), static_cast<QWidget *>(ClickLabR),
                        static_cast<QWidget *>(ClickPicL), static_cast<QWidget *>(ClickPicR)})
      w2->hide();
  }

  LayoutNavPan(l.GoButton.x());
  PanTop->move(l.SpinnerPanel.topLeft());
  LayoutItemPane();
}

void TfrmNews::UpdateMinimumSize() {
  std::array<int, NewsButtonCount> widths{};
  const std::array<QPushButton *, NewsButtonCount> buttons = {
      pbSelAll, pbMarkRead, pbMarkNotRead, pbNoBulb, pbForce, pbForceAll, pbSetNews, pbDetail};
  for (int b = 0; b < NewsButtonCount; ++b)
    widths[b] = buttons[b]->width();
  int width = SymbolPanelWidth + NewsButtonRowMinWidth(widths);
  if (!m_twoPane)
    width = std::max(width, SymbolPanelWidth + NavPanMinWidth());
  QSize least(width, NewsWindowMinHeight);
  if (m_bannersOn)
    least = least.expandedTo(NewsWindowMinSizeWithBanners);
  setMinimumSize(least);
}

void TfrmNews::ApplyPaneMode() {
  m_twoPane = CurrentDisplaySettings().TwoPanes || !m_browser->Available();
  panIE->setVisible(!m_twoPane);
  NavPan->setVisible(!m_twoPane);
  Splitter1->setVisible(!m_twoPane);
  UpdateMinimumSize();
}

void TfrmNews::FormClose() {
  Timer1->stop();
  ReleaseBanners();
  PanTop->hide();
  m_spinner->SetAnimate(false);
  Delay(g_timings.CloseDelayMs);

  TNewsWindowPlace place;
  place.Maximized = isMaximized();
  const QRect normal = place.Maximized ? normalGeometry() : QRect(pos(), size());
  place.Frame = normal;
  place.Split = m_split;
  CheckSettingsSave(WriteNewsWindowPlace(SettingsFile(), place, m_twoPane),
                    "the news window's place");
  Delay(g_timings.CloseFinalDelayMs);
  m_bannerGif.reset();
}

void TfrmNews::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    try {
      FormShow();
    } catch (const std::exception &e) {
      ReportUncaughtError(std::string("News FormShow: ") + e.what());
    }
  }
}

void TfrmNews::resizeEvent(QResizeEvent *event) {
  QDialog::resizeEvent(event);
  FormResize();
}

void TfrmNews::closeEvent(QCloseEvent *event) {
  if (m_closing) {
    event->ignore();
    return;
  }
  m_closing = true;
  // Closed from within the pause of lbSymbClick: the window is freed once that
  // has returned, not while it still runs.
  if (m_inSymbClick) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_deleteAfterClick = true;
  }
  try {
    FormClose();
  } catch (const std::exception &e) {
    ReportUncaughtError(std::string("News FormClose: ") + e.what());
  }
  event->accept(); // freed on close
}

void TfrmNews::reject() { pbCloseClick(); }

void TfrmNews::pbCloseClick() { close(); }

// ---- Key preview and mouse hooks ---------------------------------------------------------

void TfrmNews::InstallKeyPreview(QWidget *root) {
  root->installEventFilter(this);
  for (QWidget *child : root->findChildren<QWidget *>()) {
    if (qobject_cast<QMenu *>(child))
      continue;
    child->installEventFilter(this);
  }
}

bool TfrmNews::eventFilter(QObject *watched, QEvent *event) {
  try {
    switch (event->type()) {
    case QEvent::KeyPress: {
      auto *ke = static_cast<QKeyEvent *>(event);
      int key = VirtualKeyOf(*ke);
      if (key == 0)
        break;
      // Keys typed into the page or its find bar are the browser's (Ctrl+A
      // selects the page's text there, not the headlines).
      QWidget *browser = m_browser ? m_browser->Widget() : nullptr;
      auto *target = qobject_cast<QWidget *>(watched);
      if (browser && target && (target == browser || browser->isAncestorOf(target)))
        break;
      FormKeyDown(key, ShiftStateOf(*ke));
      if (key == 0)
        return true;
      break;
    }
    case QEvent::Wheel:
      if (watched == lbSymb->viewport() && lbSymb->hasFocus()) {
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (delta != 0 && HandleSymbolWheel(delta))
          return true;
      }
      break;
    case QEvent::MouseButtonRelease: {
      auto *me = static_cast<QMouseEvent *>(event);
      if (me->button() != Qt::LeftButton)
        break;
      if (watched == BannerAd) {
        BannerAdClick();
        return true;
      }
      const QVariant side = watched->property("SidePosition");
      if (side.isValid()) {
        SideAdClick(side.toInt());
        return true;
      }
      break;
    }
    default:
      break;
    }
  } catch (const std::exception &e) {
    ReportUncaughtError(std::string("News window: ") + e.what());
    return true;
  } catch (...) {
    ReportUncaughtError("News window: unknown error");
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
