#include "NewsTestSupport.h"

#include "alerts/news/NewsOptionsPage.h"
#include "alerts/news/NewsSymbols.h"
#include "alerts/news/NewsWindowOpener.h"
#include "platform/DateTime.h"
#include "platform/Format.h"
#include "platform/StringGrid.h"
#include "prefs/PrefDialog.h"
#include "prefs/PrefPageRegistry.h"
#include "support/TestPaths.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include "platform/StringGridTestEvents.h"
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

namespace {

const TDateTime kDay = EncodeDate(2024, 1, 5);

class NewsFormTest : public NewsTest {
protected:
  void TearDown() override {
    if (window)
      window->close();
    NewsTest::TearDown();
  }

  // IBM with three items (newest "IBM beats"), MSFT with one, AAPL without news.
  void AddSampleNews() {
    AddItem("IBM", "IBM opens lab", kDay + 9.0 / 24, "Wire");
    AddItem("IBM", "IBM beats estimates", kDay + 11.5 / 24, "Ledger");
    AddItem("IBM", "IBM names chief", kDay + 10.0 / 24, "Wire");
    AddItem("MSFT", "MSFT ships update", kDay + 8.0 / 24, "Press");
    StoreQuote("AAPL", QuoteFields{});
    SetNewNews("IBM", true);
    SetNewNews("MSFT", true);
  }

  TfrmNews *Open() {
    window = new TfrmNews(nullptr);
    window->show();
    return window;
  }

  // Two panes: no browser pane, no navigation bar, the news list fills the split.
  void ExpectTwoPanes() const {
    EXPECT_TRUE(window->TwoPaneMode());
    EXPECT_FALSE(window->panIE->isVisible());
    EXPECT_FALSE(window->NavPan->isVisible());
    EXPECT_FALSE(window->Splitter1->isVisible());
    EXPECT_EQ(window->panNews->height(), window->PanSplit->height());
  }

  std::vector<std::string> ListedSymbols() const {
    std::vector<std::string> symbols;
    for (int i = 0; i < window->lbSymb->count(); ++i)
      symbols.push_back(window->lbSymb->item(i)->text().toStdString());
    return symbols;
  }

  static bool Lit(const std::string &symbol) {
    TDateTime check = 0, unread = 0;
    return GetNewNews(symbol, check, unread);
  }

  void ResizeTo(int w, int h) {
    window->resize(w, h);
    ASSERT_TRUE(ProcessEventsUntil([&] { return window->size() == QSize(w, h); }));
    QCoreApplication::processEvents();
  }

  void Ticks(int n) {
    for (int i = 0; i < n; ++i)
      window->Timer1Timer();
  }

  void Key(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
  }

  QPointer<TfrmNews> window;
};

TEST_F(NewsFormTest, ListsSymbolsAndShowsHeadlinesNewestFirst) {
  AddSampleNews();
  Open();
  EXPECT_EQ(TfrmNews::Instance(), window.data());
  EXPECT_EQ(ListedSymbols(), (std::vector<std::string>{"AAPL", "IBM", "MSFT"}));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("News"));

  window->ShowSymbol(" ibm ");
  EXPECT_EQ(window->CurrentSymbol(), "IBM");
  EXPECT_EQ(window->lbSymb->currentItem()->text(), QStringLiteral("IBM"));
  TStringGrid *grid = window->tbNews;
  ASSERT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(grid->Cells(2, 0), "Heading");
  EXPECT_EQ(grid->Cells(2, 1), "IBM beats estimates");
  EXPECT_EQ(grid->Cells(2, 2), "IBM names chief");
  EXPECT_EQ(grid->Cells(2, 3), "IBM opens lab");
  EXPECT_EQ(grid->Cells(1, 1), "Jan 05,2024, 11:30");
  EXPECT_EQ(grid->Cells(3, 1), "Ledger");
  EXPECT_TRUE(window->GridFilled());
  EXPECT_TRUE(grid->isEnabled());
  EXPECT_FALSE(window->txtNoNews->isVisible());
  EXPECT_TRUE(window->pbMarkRead->isVisible());
  EXPECT_EQ(window->windowTitle(),
            QStringLiteral("News for IBM last checked on Jan 05, 2024 at 11:30"));
  // Seeing the headlines puts the bulb out everywhere.
  EXPECT_FALSE(Lit("IBM"));
  EXPECT_TRUE(Lit("MSFT"));
  for (int kind : {usMainGrid, usWatchList, usNewsWindow, usTicker})
    EXPECT_EQ(TakeUpdatedSymbolList(kind), std::vector<std::string>{"IBM"}) << kind;
}

TEST_F(NewsFormTest, MouseClickOnASymbolShowsItsHeadlines) {
  AddSampleNews();
  Open();
  // A press makes the row current before it selects it: the headlines of the
  // clicked symbol, not of none.
  const QRect msft = window->lbSymb->visualItemRect(window->lbSymb->item(2));
  gridtest::Click(window->lbSymb->viewport(), msft.center());
  EXPECT_EQ(window->CurrentSymbol(), "MSFT");
  EXPECT_EQ(window->tbNews->Cells(2, 1), "MSFT ships update");
  EXPECT_TRUE(window->pbMarkRead->isVisible());
}

TEST_F(NewsFormTest, SymbolWithoutNewsShowsNoNewsFound) {
  AddSampleNews();
  Open();
  window->ShowSymbol("AAPL");
  EXPECT_EQ(window->txtNoNews->text(), QStringLiteral("   No News Found  "));
  EXPECT_TRUE(window->txtNoNews->isVisible());
  EXPECT_FALSE(window->tbNews->isEnabled());
  EXPECT_EQ(window->tbNews->RowCount(), 2);
  for (QPushButton *b :
       {window->pbSelAll, window->pbMarkRead, window->pbMarkNotRead, window->pbDetail})
    EXPECT_FALSE(b->isVisible()) << b->objectName().toStdString();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("News for AAPL - never checked yet"));

  window->ShowSymbol("NOPE");
  EXPECT_EQ(window->CurrentSymbol(), "");
  EXPECT_EQ(window->windowTitle(), QStringLiteral("News"));
  EXPECT_FALSE(window->txtNoNews->isVisible()) << "no symbol chosen";
}

TEST_F(NewsFormTest, MarkingRowsReadAndUnread) {
  AddSampleNews();
  Open();
  window->ShowSymbol("IBM");
  window->SelectRows(1, 2);
  window->pbMarkRead->click();
  EXPECT_EQ(window->Items.ReadFlags[0], "Y");
  EXPECT_EQ(window->Items.ReadFlags[1], "Y");
  EXPECT_EQ(window->Items.ReadFlags[2], "N");
  window->SelectRows(2, 2);
  window->pbMarkNotRead->click();
  TNewsItemLists stored;
  stored.Load("IBM");
  EXPECT_EQ(stored.ReadFlags[0], "Y");
  EXPECT_EQ(stored.ReadFlags[1], "N");
  window->popMarkRead->trigger();
  stored.Load("IBM");
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(stored.ReadFlags[i], "Y") << i;
  window->pbSelAll->click();
  EXPECT_EQ(window->SelectionTop(), 1);
  EXPECT_EQ(window->SelectionBottom(), 3);
}

TEST_F(NewsFormTest, ReloadKeepsTheSelectedItemSelected) {
  AddSampleNews();
  Open();
  window->ShowSymbol("IBM");
  window->SelectRows(2, 2); // "IBM names chief"
  AddItem("IBM", "IBM later news", kDay + 12.0 / 24);
  SetNewNews("IBM", true);
  MarkSymbolUpdated(usNewsWindow, "IBM");
  Ticks(NewsWindowTimings().RefreshEveryTicks);
  ASSERT_EQ(window->tbNews->RowCount(), 5);
  EXPECT_EQ(window->tbNews->Cells(2, 1), "IBM later news");
  EXPECT_EQ(window->SelectionTop(), 3);
  EXPECT_EQ(window->tbNews->Cells(2, window->SelectionTop()), "IBM names chief");
}

TEST_F(NewsFormTest, TimerLightsBulbsOfChangedSymbols) {
  AddSampleNews();
  SetNewNews("MSFT", false);
  Open();
  window->ShowSymbol("AAPL");
  const int aapl = 0;
  const int p = window->lbSymb->item(aapl)->data(Qt::UserRole).toInt();
  EXPECT_FALSE(NewsBulbLit(p));
  AddItem("AAPL", "AAPL news", kDay + 11.0 / 24);
  SetNewNews("AAPL", true);
  MarkSymbolUpdated(usNewsWindow, "AAPL");
  Ticks(NewsWindowTimings().RefreshEveryTicks);
  // The current symbol's headlines are read again, which puts its bulb out.
  EXPECT_EQ(window->tbNews->Cells(2, 1), "AAPL news");
  EXPECT_FALSE(Lit("AAPL"));

  window->ShowSymbol("IBM");
  Ticks(NewsWindowTimings().RefreshEveryTicks); // takes IBM's own marks
  const int msftBefore = window->lbSymb->item(2)->data(Qt::UserRole).toInt();
  EXPECT_FALSE(NewsBulbLit(msftBefore));
  SetNewNews("MSFT", true);
  MarkSymbolUpdated(usNewsWindow, "MSFT");
  Ticks(NewsWindowTimings().RefreshEveryTicks);
  const int msft = window->lbSymb->item(2)->data(Qt::UserRole).toInt();
  EXPECT_TRUE(NewsBulbLit(msft));
  EXPECT_EQ(window->CurrentSymbol(), "IBM");
}

TEST_F(NewsFormTest, DetailOpensTheItemInTheEmbeddedBrowser) {
  AddSampleNews();
  Open();
  ASSERT_FALSE(window->TwoPaneMode());
  ASSERT_NE(browser, nullptr);
  window->ShowSymbol("IBM");
  window->SelectRows(1, 1);
  window->pbDetail->click();
  EXPECT_TRUE(window->Items.RowRead(1));
  EXPECT_EQ(browser->Requests(),
            std::vector<std::string>{"http://news.example/IBM beats estimates"});
  EXPECT_TRUE(window->pbNavStop->isEnabled()) << "while the page loads";
  browser->FinishNavigation();
  EXPECT_EQ(window->dfAddress->text(), QStringLiteral("http://news.example/IBM beats estimates"));
  EXPECT_FALSE(window->pbNavStop->isEnabled());
  EXPECT_TRUE(urls.Opened().empty());
  window->pbOpenLink->click();
  EXPECT_EQ(urls.Opened(), std::vector<std::string>{"http://news.example/IBM beats estimates"});
  urls.Clear();
  window->popShowDetailInIE->trigger();
  EXPECT_EQ(urls.Opened(), std::vector<std::string>{"http://news.example/IBM beats estimates"});
  window->popCopyAddress->trigger();
  EXPECT_EQ(clipboard.Text(), "http://news.example/IBM beats estimates");
  window->PopupMenu1Popup();
  EXPECT_TRUE(window->popShowDetailInIE->isVisible());
}

// Links of news items come from outside: every way of opening one (Detail in
// the pane, a double click in two panes, "Open in New Window", "Open in
// Browser") opens only web addresses, and says so otherwise.
TEST_F(NewsFormTest, ItemLinksOpenOnlyAsWebAddresses) {
  AddItem("IBM", "local file", kDay + 0.5, "Wire", "file:///etc/passwd");
  AddItem("IBM", "script", kDay + 0.4, "Wire", "javascript:alert(1)");
  AddItem("IBM", "share", kDay + 0.3, "Wire", "smb://server/share");
  AddItem("IBM", "bare path", kDay + 0.2, "Wire", "/home/user/.ssh/id_rsa");
  AddItem("IBM", "typed address", kDay + 0.1, "Wire", "www.example.com/story");
  Open();
  window->ShowSymbol("IBM");
  ASSERT_EQ(window->Items.Count(), 5);
  for (int row = 1; row <= 4; ++row) {
    window->SelectRows(row, row);
    window->pbDetail->click();
    window->tbNewsDblClick();
    window->popShowDetailInIE->trigger();
  }
  EXPECT_TRUE(browser->Requests().empty());
  EXPECT_TRUE(urls.Opened().empty());
  ASSERT_EQ(prompt.QuestionCount(), 12u);
  EXPECT_NE(prompt.Questions()[0].text.find("not a web address"), std::string::npos);
  EXPECT_FALSE(window->pbOpenLink->isEnabled());

  window->SelectRows(5, 5);
  window->pbDetail->click();
  EXPECT_EQ(browser->Requests(), std::vector<std::string>{"http://www.example.com/story"});
  window->popShowDetailInIE->trigger();
  EXPECT_EQ(urls.Opened(), std::vector<std::string>{"http://www.example.com/story"});

  // A page that leads elsewhere: "Open in Browser" hands on only web addresses.
  urls.Clear();
  browser->Navigate("file:///etc/passwd");
  browser->FinishNavigation();
  EXPECT_FALSE(window->pbOpenLink->isEnabled());
  window->pbOpenLinkClick();
  EXPECT_TRUE(urls.Opened().empty());
}

TEST_F(NewsFormTest, TwoPanesOpenItemsInTheUsersBrowser) {
  AddSampleNews();
  TDisplaySettings s = CurrentDisplaySettings();
  s.TwoPanes = true;
  SetDisplaySettings(s);
  Open();
  ExpectTwoPanes();
  window->ShowSymbol("IBM");
  window->SelectRows(2, 2);
  window->tbNewsDblClick();
  EXPECT_EQ(urls.Opened(), std::vector<std::string>{"http://news.example/IBM names chief"});
  EXPECT_TRUE(window->Items.RowRead(2));
  window->PopupMenu1Popup();
  EXPECT_FALSE(window->popShowDetailInIE->isVisible());
}

// No browser (built without one, or it could not be made): the window keeps
// to two panes whatever the setting says, items open in the user's browser,
// "Open in New Window" is hidden, NSPLIT is not written, and the News page
// forces Two Panes.
TEST_F(NewsFormTest, WithoutABrowserTheWindowAndTheNewsPageKeepToTwoPanes) {
  for (const bool failsAtRunTime : {false, true}) {
    SCOPED_TRACE(failsAtRunTime ? "creation fails" : "none built");
    if (failsAtRunTime)
      SetEmbeddedBrowserFactory([](QWidget *) { return std::unique_ptr<EmbeddedBrowser>(); });
    else
      SetEmbeddedBrowserFactory({});
    SettingsFile().EraseSection("News");
    ResetAll();
    urls.Clear();
    AddSampleNews();
    ASSERT_FALSE(CurrentDisplaySettings().TwoPanes);
    Open();
    ExpectTwoPanes();
    EXPECT_FALSE(EmbeddedBrowserAvailable());

    window->ShowSymbol("IBM");
    window->SelectRows(1, 1);
    window->pbDetail->click();
    window->SelectRows(2, 2);
    window->tbNewsDblClick();
    EXPECT_EQ(urls.Opened(), (std::vector<std::string>{"http://news.example/IBM beats estimates",
                                                       "http://news.example/IBM names chief"}));
    window->PopupMenu1Popup();
    EXPECT_FALSE(window->popShowDetailInIE->isVisible());

    RegisterNewsPage();
    bool pageChecked = false;
    QTimer::singleShot(0, [&pageChecked] {
      TdlgPref *dialog = nullptr;
      ProcessEventsUntil([&] { return (dialog = TdlgPref::OpenDialog()) != nullptr; });
      ASSERT_NE(dialog, nullptr);
      auto *page = qobject_cast<TOPanNews *>(dialog->CurrentPage());
      ASSERT_NE(page, nullptr);
      EXPECT_TRUE(page->spTwo->isChecked());
      EXPECT_FALSE(page->spThree->isEnabled());
      pageChecked = true;
      dialog->pbCancel->click();
    });
    window->pbSetNews->click();
    PrefPageRegistry().Unregister(PrefPageNews);
    EXPECT_TRUE(pageChecked);
    EXPECT_TRUE(window->TwoPaneMode());

    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(SettingsFile().ReadString("News", "NSPLIT", "absent"), "absent");
    EXPECT_TRUE(window.isNull());
  }
}

TEST_F(NewsFormTest, FetchRequests) {
  AddSampleNews();
  Open();
  window->ShowSymbol("IBM");
  window->pbForce->click();
  EXPECT_EQ(ForceListText(), "IBM");
  window->popRefOne->trigger();
  EXPECT_EQ(ForceListText(), "IBM");
  EXPECT_TRUE(window->pbForce->isEnabled());
  window->pbForceAll->click();
  EXPECT_EQ(ForceListText(), "IBM AAPL MSFT");
  ResetNewsThreadState();
  window->ShowSymbol("MSFT");
  Key(window->tbNews, Qt::Key_F4);
  EXPECT_EQ(ForceListText(), "MSFT");
}

TEST_F(NewsFormTest, CtrlASelectsAllRows) {
  AddSampleNews();
  Open();
  window->ShowSymbol("IBM");
  Key(window->tbNews, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(window->SelectionTop(), 1);
  EXPECT_EQ(window->SelectionBottom(), 3);
}

TEST_F(NewsFormTest, ClearingAllBulbsAsksFirst) {
  AddSampleNews();
  Open();
  prompt.PushAnswer(mrNo);
  window->pbNoBulb->click();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  const PromptQuestion q = prompt.Questions().front();
  EXPECT_EQ(q.text, "Are you sure you want to clear all \"new news\" bulbs on all stocks?");
  EXPECT_EQ(q.caption, "Clear Bulbs");
  EXPECT_EQ(q.buttons, TMsgDlgButtons(mbYesNo));
  EXPECT_EQ(q.icon, mtConfirmation);
  EXPECT_TRUE(Lit("IBM"));
  prompt.PushAnswer(mrYes);
  window->pbNoBulb->click();
  EXPECT_FALSE(Lit("IBM"));
  EXPECT_FALSE(Lit("MSFT"));
}

TEST_F(NewsFormTest, SplitterIsHeldWithinItsLimits) {
  Open();
  ResizeTo(800, 600);
  const int h = window->PanSplit->height();
  window->Splitter1->move(0, h - 5);
  window->Splitter1Moved();
  EXPECT_DOUBLE_EQ(window->Split(), 90);
  EXPECT_EQ(window->panNews->height(), std::min(int(Round(h * 0.9)), h - 9));
  window->Splitter1->move(0, 0);
  window->Splitter1Moved();
  EXPECT_DOUBLE_EQ(window->Split(), 15);
  EXPECT_EQ(window->panNews->height(), std::max(62, int(Round(h * 0.15))));
  ResizeTo(800, window->minimumHeight());
  EXPECT_LT(window->PanSplit->height() * 0.15, 62);
  EXPECT_GE(window->panNews->height(), 62) << "never below 62 pixels";
}

// Every button of the window, in both pane modes, at the designed width and
// narrower: none overlaps another or leaves its panel. The window does not get
// narrower than the width at which that holds.
TEST_F(NewsFormTest, ButtonsDoNotOverlapAtAnyWidth) {
  AddSampleNews();
  for (const bool twoPanes : {false, true}) {
    TDisplaySettings s = CurrentDisplaySettings();
    s.TwoPanes = twoPanes;
    SetDisplaySettings(s);
    Open();
    window->ShowSymbol("IBM");
    ASSERT_TRUE(window->pbDetail->isVisible());
    for (const int w : {560, 600, 700, 780}) {
      SCOPED_TRACE(QStringLiteral("%1 px, %2 panes").arg(w).arg(twoPanes ? 2 : 3).toStdString());
      window->resize(w, 520);
      const int expected = std::max(w, window->minimumWidth());
      ASSERT_TRUE(ProcessEventsUntil([&] { return window->width() == expected; }));
      QCoreApplication::processEvents();
      std::vector<std::pair<QString, QRect>> shown;
      for (QPushButton *b : window->findChildren<QPushButton *>()) {
        if (!b->isVisibleTo(window))
          continue;
        const QRect r(b->mapTo(window.data(), QPoint(0, 0)), b->size());
        EXPECT_TRUE(b->parentWidget()->rect().contains(b->geometry()))
            << b->objectName().toStdString() << " leaves its panel";
        for (const auto &[name, other] : shown)
          EXPECT_FALSE(r.intersects(other))
              << b->objectName().toStdString() << " overlaps " << name.toStdString();
        shown.emplace_back(b->objectName(), r);
      }
      EXPECT_GE(shown.size(), twoPanes ? 8u : 14u);
      if (w == 560) {
        ASSERT_TRUE(window->grab().save(QString::fromStdString(
            TestArtifactPath(twoPanes ? "news_window_narrow_2.png" : "news_window_narrow_3.png"))));
      }
    }
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(NewsFormTest, BannersOffLeaveTheGridDownToTheButtons) {
  Open();
  EXPECT_FALSE(window->BannersOn());
  EXPECT_FALSE(window->panAd->isVisible());
  EXPECT_FALSE(window->ClickLabL->isVisible());
  EXPECT_EQ(window->tbNews->geometry().bottom() + 1 + 2, window->pbSelAll->y());
  EXPECT_EQ(AdSlotsInUse(), 1) << "the news banner's slot";
  EXPECT_GT(window->NewsBannerSlot(), 0);
}

TEST_F(NewsFormTest, BannersOnShowTheBannerRowWithoutSideBanners) {
  AdsShowSetting = true;
  Open();
  const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
  if (screenWidth < 800) {
    EXPECT_FALSE(window->BannersOn());
    GTEST_SKIP() << "screen narrower than 800 pixels";
  }
  ResizeTo(900, 600);
  EXPECT_TRUE(window->BannersOn());
  EXPECT_TRUE(window->panAd->isVisible());
  EXPECT_GE(window->minimumWidth(), 555);
  EXPECT_EQ(window->minimumHeight(), 185);
  EXPECT_EQ(window->panAd->y(), window->panNews->height() - 65);
  EXPECT_EQ(window->tbNews->height(),
            window->panNews->height() - 2 - window->pbSelAll->height() - 2 - 2 - 64);
  EXPECT_LT(window->pbSelAll->geometry().bottom(), window->panAd->y());
  EXPECT_EQ(window->findChild<QWidget *>(QStringLiteral("panSideAd1")), nullptr);
}

TEST_F(NewsFormTest, ClosingWritesThePlaceAndFreesTheBanner) {
  Open();
  ResizeTo(700, 500);
  window->move(40, 30);
  ASSERT_TRUE(ProcessEventsUntil([&] { return window->pos() == QPoint(40, 30); }));
  window->Splitter1->move(0, window->PanSplit->height() / 4);
  window->Splitter1Moved();
  const double split = window->Split();
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(TfrmNews::Instance(), nullptr);
  EXPECT_EQ(AdSlotsInUse(), 0);
  TMyIniFile &ini = SettingsFile();
  EXPECT_EQ(ini.ReadInteger("News", "NWINW", 0), 700);
  EXPECT_EQ(ini.ReadInteger("News", "NWINH", 0), 500);
  EXPECT_EQ(ini.ReadInteger("News", "NWINX", -1), 40);
  EXPECT_EQ(ini.ReadInteger("News", "NWINY", -1), 30);
  EXPECT_EQ(ini.ReadString("News", "NSTATE", ""), "NO");
  EXPECT_DOUBLE_EQ(StrToFloat(ini.ReadString("News", "NSPLIT", "")), split);

  // The next window comes back there.
  Open();
  EXPECT_EQ(window->size(), QSize(700, 500));
  EXPECT_DOUBLE_EQ(window->Split(), split);
}

TEST_F(NewsFormTest, EmbeddedBrowserDrivesTheNavigationButtons) {
  AddSampleNews();
  Open();
  ASSERT_NE(browser, nullptr);
  window->ShowSymbol("IBM");
  window->SelectRows(1, 1);
  window->pbDetail->click();
  EXPECT_EQ(browser->Requests(),
            std::vector<std::string>{"http://news.example/IBM beats estimates"});
  EXPECT_TRUE(window->PanTop->isVisible());
  browser->FinishNavigation();
  EXPECT_FALSE(window->PanTop->isVisible());
  EXPECT_EQ(window->dfAddress->text(), QStringLiteral("http://news.example/IBM beats estimates"));
  EXPECT_FALSE(window->pbNavLeft->isEnabled());

  window->SelectRows(2, 2);
  window->pbDetail->click();
  browser->FinishNavigation();
  EXPECT_TRUE(window->pbNavLeft->isEnabled());
  EXPECT_FALSE(window->pbNavRight->isEnabled());
  window->pbNavLeft->click();
  browser->FinishNavigation();
  EXPECT_TRUE(window->pbNavRight->isEnabled());
  EXPECT_FALSE(window->pbNavLeft->isEnabled());
  EXPECT_EQ(window->dfAddress->text(), QStringLiteral("http://news.example/IBM beats estimates"));

  Ticks(NewsWindowTimings().RefreshEveryTicks);
  EXPECT_TRUE(window->pbPrint->isEnabled());
  EXPECT_TRUE(window->pbFind->isEnabled());
  window->pbPrint->click();
  window->pbFind->click();
  EXPECT_EQ(browser->Prints(), 1);
  EXPECT_EQ(browser->Finds(), 1);
  EXPECT_TRUE(urls.Opened().empty());
}

TEST_F(NewsFormTest, RightClickSelectsTheRowUnderTheMouse) {
  AddSampleNews();
  Open();
  window->ShowSymbol("IBM");
  window->pbSelAll->click();
  const TRect cell = window->tbNews->CellRect(2, 2);
  window->tbNewsMouseDown(mbRight, ssRight, cell.Left + 3, cell.Top + 3);
  EXPECT_EQ(window->SelectionTop(), 2);
  EXPECT_EQ(window->SelectionBottom(), 2);
  window->tbNewsMouseDown(mbLeft, ssLeft | ssShift, cell.Left + 3, cell.Top + 20);
  EXPECT_EQ(window->SelectionTop(), 2);
  EXPECT_EQ(window->SelectionBottom(), 3);
}

TEST_F(NewsFormTest, WheelOnTheSymbolListStepsThroughSymbols) {
  AddSampleNews();
  Open();
  window->activateWindow();
  window->lbSymb->setFocus();
  if (!ProcessEventsUntil([&] { return window->lbSymb->hasFocus(); }))
    GTEST_SKIP() << "the symbol list cannot take the focus here";
  window->ShowSymbol("IBM");
  auto wheel = [&](int delta) {
    QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->lbSymb->viewport(), &e);
  };
  wheel(-120);
  EXPECT_EQ(window->CurrentSymbol(), "MSFT");
  wheel(-120);
  EXPECT_EQ(window->CurrentSymbol(), "MSFT") << "no item below the last";
  wheel(120);
  wheel(120);
  EXPECT_EQ(window->CurrentSymbol(), "AAPL");
}

TEST_F(NewsFormTest, PreferencesOpenAtTheNewsPageAndApplyThePaneMode) {
  RegisterNewsPage();
  Open();
  ASSERT_FALSE(window->TwoPaneMode());
  int shownPage = -1;
  QTimer::singleShot(0, [&shownPage] {
    TdlgPref *dialog = nullptr;
    ProcessEventsUntil([&] { return (dialog = TdlgPref::OpenDialog()) != nullptr; });
    ASSERT_NE(dialog, nullptr);
    shownPage = dialog->CurrentPageNumber();
    auto *page = qobject_cast<TOPanNews *>(dialog->CurrentPage());
    ASSERT_NE(page, nullptr);
    page->spTwo->click();
    dialog->pbOK->click();
  });
  window->pbSetNews->click();
  PrefPageRegistry().Unregister(PrefPageNews);
  EXPECT_EQ(shownPage, PrefPageNews);
  EXPECT_TRUE(CurrentDisplaySettings().TwoPanes);
  EXPECT_TRUE(window->TwoPaneMode());
  EXPECT_FALSE(window->panIE->isVisible());
  EXPECT_EQ(window->panNews->height(), window->PanSplit->height());
}

TEST_F(NewsFormTest, ClosingWhileHeadlinesAreReadFreesTheWindowAfterwards) {
  AddSampleNews();
  TNewsWindowTimings timings = NewsWindowTimings();
  timings.SelectDelayMs = 30;
  SetNewsWindowTimings(timings);
  Open();
  QTimer::singleShot(0, window.data(), [this] { window->close(); });
  window->ShowSymbol("IBM"); // the close arrives during the pause
  EXPECT_FALSE(window.isNull());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(TfrmNews::Instance(), nullptr);
}

TEST_F(NewsFormTest, OpenNewsWindowMakesOneWindowAndReusesIt) {
  AddSampleNews();
  TfrmNews *first = OpenNewsWindow("ibm");
  window = first;
  EXPECT_EQ(NewsWindow(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->CurrentSymbol(), "IBM");
  first->showMinimized();
  TfrmNews *second = OpenNewsWindow("MSFT");
  EXPECT_EQ(second, first);
  EXPECT_EQ(first->CurrentSymbol(), "MSFT");
  EXPECT_FALSE(first->isMinimized());
}

TEST_F(NewsFormTest, PictureOfTheWindow) {
  AddSampleNews();
  AddItem("IBM", "IBM &amp; partners sign <cloud> deal with a rather long heading", kDay + 7.0 / 24,
          "Newswire");
  MarkNewsRead(2, true);
  Open();
  ResizeTo(780, 520);
  window->ShowSymbol("IBM");
  window->SelectRows(2, 2);
  window->pbDetail->click();
  window->SelectRows(1, 1);
  window->Timer1Timer();
  window->Timer1Timer();
  QCoreApplication::processEvents(); // scroll bars show or hide on the next event
  const QImage image = window->grab().toImage();
  ASSERT_TRUE(image.save(QString::fromStdString(TestArtifactPath("news_window.png"))));
  // The heading column fills the grid: the last column ends near the grid's edge.
  TStringGrid *grid = window->tbNews;
  int total = 0;
  for (int c = 0; c < 4; ++c)
    total += grid->ColWidths(c) + grid->GridLineWidth();
  EXPECT_LE(total, grid->width());
  EXPECT_GE(total, grid->width() - 8);
}

} // namespace
