#pragma once
// TfrmNews: the news window. On the left the stock symbols of the store, each
// with a bulb while it has unread news; beside it the headlines of the chosen
// symbol (read mark, date and time, heading, source) over the item pane,
// which shows the opened item. There is one news window at a time
// (OpenNewsWindow in NewsWindowOpener.h makes or finds it); it frees itself
// when closed.
//
// The item pane hosts an EmbeddedBrowser; the window drives it (navigation,
// back and forward state, print, find) only through that interface. Without
// one the window keeps to two panes and items open in the user's browser.
// Links of items open only when they are web addresses (WebLinkUrl).
//
// The news thread reaches the window only through shared state: the news
// window's updated-symbols set, the force list and the symbol being fetched.
#include "alerts/news/NewsItemLists.h"
#include "alerts/news/NewsLayout.h"
#include "platform/DateTime.h"
#include "platform/Rect.h"
#include "platform/StringGridTypes.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <string>

class EmbeddedBrowser;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TAnimGif;
class TCanvas;
class TStringGrid;

// Timings of the news window; tests shorten them.
struct TNewsWindowTimings {
  int TimerIntervalMs = 500;   // Timer1
  int RefreshEveryTicks = 5;   // bulbs and headlines are refreshed every fifth tick
  int HeadingFitTicks = 2;     // ticks after the last resize before the heading column is fitted
  int SelectDelayMs = 100;     // after a symbol's headlines were read
  int CloseDelayMs = 100;      // while closing, after the banners were released
  int CloseFinalDelayMs = 300; // while closing, after the place was written
};
TNewsWindowTimings NewsWindowTimings();
void SetNewsWindowTimings(const TNewsWindowTimings &timings);

// Called when the news banner is clicked, before the advert service opens its
// target: the main window shows its pane for the slot and repaints its index
// strip. Empty by default.
void SetNewsBannerClickHook(std::function<void(int slot)> hook);

class TfrmNews : public QDialog {
  Q_OBJECT

public:
  static constexpr int DesignedWidth = 780;
  static constexpr int DesignedHeight = 560;
  static constexpr int SymbolPanelWidth = 112;
  static constexpr int SymbolItemHeight = 14;
  static constexpr int NewsRowHeight = 16;
  static constexpr int NavPanHeight = 28;

  explicit TfrmNews(QWidget *owner = nullptr);
  ~TfrmNews() override;

  // The news window, or nullptr when none is open.
  static TfrmNews *Instance();

  // ---- Controls (object names as the member names)
  QWidget *panSymb = nullptr;
  QListWidget *lbSymb = nullptr;
  QWidget *PanSplit = nullptr;
  QWidget *panNews = nullptr;
  QWidget *Splitter1 = nullptr;
  QWidget *NavPan = nullptr;
  QWidget *panIE = nullptr;
  TStringGrid *tbNews = nullptr;
  QLabel *txtNoNews = nullptr;
  QPushButton *pbSelAll = nullptr;
  QPushButton *pbMarkRead = nullptr;
  QPushButton *pbMarkNotRead = nullptr;
  QPushButton *pbNoBulb = nullptr;
  QPushButton *pbForce = nullptr;    // Tag 0: the current symbol
  QPushButton *pbForceAll = nullptr; // Tag 1: every symbol
  QPushButton *pbSetNews = nullptr;
  QPushButton *pbDetail = nullptr;
  QPushButton *pbClose = nullptr;
  QFrame *panAd = nullptr;
  QLabel *BannerAd = nullptr;
  QLabel *ClickLabL = nullptr;
  QLabel *ClickLabR = nullptr;
  QLabel *ClickPicL = nullptr;
  QLabel *ClickPicR = nullptr;
  QPlainTextEdit *Memo1 = nullptr;
  QPushButton *pbNavLeft = nullptr;
  QPushButton *pbNavRight = nullptr;
  QPushButton *pbNavStop = nullptr;
  QPushButton *pbPrint = nullptr;
  QPushButton *pbFind = nullptr;
  QPushButton *pbNavHome = nullptr;
  QPushButton *pbGo = nullptr;
  QLabel *lbAddress = nullptr;
  QLineEdit *dfAddress = nullptr;
  QWidget *PanTop = nullptr;
  QLabel *SpinImg = nullptr;
  QPushButton *pbOpenLink = nullptr; // opens the page shown in the user's browser
  QTimer *Timer1 = nullptr;
  QMenu *PopupMenu1 = nullptr;
  QAction *popShowDetail = nullptr;
  QAction *popShowDetailInIE = nullptr;
  QAction *popCopyAddress = nullptr;
  QAction *popMarkRead = nullptr;
  QAction *popRefOne = nullptr;
  QAction *popRefAll = nullptr;

  // ---- State
  TNewsItemLists Items; // the current symbol's headlines, newest first
  const std::string &CurrentSymbol() const { return m_symbol; }
  double Split() const { return m_split; }
  bool TwoPaneMode() const { return m_twoPane; }
  bool BannersOn() const { return m_bannersOn; }
  bool GridFilled() const { return m_gridFilled; }
  TDateTime BulbReference() const { return m_bulbReference; }
  int NewsBannerSlot() const { return m_bannerSlot; }
  EmbeddedBrowser &Browser() const { return *m_browser; }
  // Selected headline rows (0 when none).
  int SelectionTop() const { return m_selTop; }
  int SelectionBottom() const { return m_selBottom; }
  // The row whose item opens: the top of the selection (0 when none).
  int DetailRow() const { return m_selTop; }

  // ---- Operations
  // Selects the symbol (trimmed, upper-cased) and shows its headlines; a
  // symbol that is not listed leaves no symbol selected.
  void ShowSymbol(const std::string &symbol);
  void UpdateCaption(const std::string &symbol);
  void FitHeadingColumn();
  // Two panes when the setting asks for them or no item pane is available.
  void ApplyPaneMode();
  // Selects headline rows top .. bottom (all four columns); 0, 0 selects none.
  void SelectRows(int top, int bottom);

  // ---- Handlers
  void FormCreate();
  void FormShow();
  void FormResize();
  void FormClose();
  // KeyPreview: every key pressed in the window comes here first; setting Key
  // to 0 consumes it.
  void FormKeyDown(int &Key, TShiftState Shift);
  void lbSymbClick();
  void lbSymbDrawItem(TCanvas &canvas, int index, const TRect &rect, bool selected);
  void tbNewsDrawCell(int ACol, int ARow, const TRect &Rect, TGridDrawState State);
  void tbNewsDblClick();
  void tbNewsMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void Splitter1Moved();
  void Timer1Timer();
  void pbSelAllClick();
  void pbMarkReadClick();
  void pbMarkNotReadClick();
  // sender: pbDetail (open in the item pane) or nullptr (in the user's browser).
  void pbDetailClick(QObject *sender);
  // sender's "Tag" property: 0 the current symbol, else every listed symbol.
  void pbForceClick(QObject *sender);
  void pbNoBulbClick();
  void pbSetNewsClick();
  void pbCloseClick();
  void pbNavLeftClick();
  void pbNavRightClick();
  void pbNavStopClick();
  void pbNavHomeClick();
  void pbGoClick();
  void pbPrintClick();
  void pbFindClick();
  void pbOpenLinkClick();
  void BannerAdClick();
  void SideAdClick(int position);
  void PopupMenu1Popup();
  void popShowDetailClick();
  void popShowDetailInIEClick();
  void popCopyAddressClick();
  void popMarkReadClick();
  void popRefOneClick();
  void popRefAllClick();
  void BrowserNavigateComplete(const std::string &url);
  void BrowserCommandStateChange(int command, bool enable);
  // The page moved within itself (#fragment, pushState): the address follows.
  void BrowserLocationChange(const std::string &url);

protected:
  void showEvent(QShowEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  void reject() override; // Escape: pbClose

private:
  void BuildControls();
  void BuildNavPan();
  void BuildItemPane();
  void UpdateMinimumSize();
  // The web address of a row's link; "" (and the user told) when it is none.
  std::string ItemWebLink(int row);
  void BuildBanners();
  void ReleaseBanners();
  void LayoutNavPan(int goX);
  int NavPanMinWidth() const;
  void LayoutItemPane();
  void InstallKeyPreview(QWidget *root);
  void SymbClickOnce();
  void FillGrid();
  bool HandleSymbolWheel(int delta);
  void RefreshChangedSymbols();
  int SymbolListIndex(const std::string &symbol) const;
  std::string SymbolAt(int index) const;
  int TableIndexAt(int index) const;
  void SetCurrentSymbolRowQuietly(int index);
  void Repaint(QWidget *w);

  struct SideBanner {
    std::unique_ptr<TAnimGif> Gif;
    QLabel *Image = nullptr;
    QFrame *Panel = nullptr;
    int Slot = 0;
  };

  std::unique_ptr<EmbeddedBrowser> m_browser;
  std::array<SideBanner, SideBannerCount + 1> m_side; // [1..6]
  std::unique_ptr<TAnimGif> m_bannerGif;
  std::unique_ptr<TAnimGif> m_spinner;
  int m_bannerSlot = 0;
  int m_resizeTicks = 0;
  bool m_bannersOn = false;
  bool m_twoPane = false;
  std::string m_symbol;
  double m_split = NewsSplitDefault;
  TDateTime m_bulbReference = 0;
  bool m_gridFilled = false;
  int m_selTop = 0;
  int m_selBottom = 0;
  int m_anchorRow = 0;          // where a shift-click or drag selection starts
  int m_lastRepaintedItem = -1; // symbol list item last repainted for a change
  std::string m_lastFetching;
  bool m_quietList = false; // the symbol list is being set by the window itself
  bool m_inSymbClick = false;
  bool m_symbClickAgain = false;
  bool m_closing = false;
  bool m_deleteAfterClick = false; // closed while reading headlines: freed afterwards
};
