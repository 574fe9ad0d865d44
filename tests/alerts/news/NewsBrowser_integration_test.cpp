// The news window with the real embedded browser: pages served by Python's
// http.server on 127.0.0.1, opened, navigated back and forward, stopped while
// loading, searched and printed to PDF through the window's own controls.
#include "NewsTestSupport.h"

#include "support/TestPaths.h"

#include <QDesktopServices>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// python3 -m http.server on a free port of 127.0.0.1, serving a folder.
class LocalWebServer {
public:
  bool Start(const QString &folder) {
    m_process.setProgram(QStringLiteral("python3"));
    m_process.setArguments({QStringLiteral("-u"), QStringLiteral("-m"),
                            QStringLiteral("http.server"), QStringLiteral("0"),
                            QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                            QStringLiteral("--directory"), folder});
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start();
    if (!m_process.waitForStarted(5000))
      return false;
    // "Serving HTTP on 127.0.0.1 port 40123 (http://127.0.0.1:40123/) ..."
    static const QRegularExpression port(QStringLiteral("port (\\d+)"));
    QByteArray out;
    while (m_port == 0 && m_process.waitForReadyRead(5000)) {
      out += m_process.readAll();
      const QRegularExpressionMatch m = port.match(QString::fromUtf8(out));
      if (m.hasMatch())
        m_port = m.captured(1).toInt();
    }
    return m_port > 0;
  }
  ~LocalWebServer() {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.terminate();
      if (!m_process.waitForFinished(3000))
        m_process.kill();
      m_process.waitForFinished(3000);
    }
  }
  std::string Url(const std::string &page) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + "/" + page;
  }

private:
  QProcess m_process;
  int m_port = 0;
};

// Takes the addresses the engine would hand to the desktop.
class DesktopUrlRecorder : public QObject {
  Q_OBJECT

public:
  QStringList Urls;

public slots:
  void Open(const QUrl &url) { Urls << url.toString(); }
};

// Counts the keys that reach a widget.
class KeyCounter : public QObject {
public:
  std::vector<int> Keys;

protected:
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::KeyPress)
      Keys.push_back(static_cast<QKeyEvent *>(event)->key());
    return false;
  }
};

class NewsBrowserTest : public NewsTest {
protected:
  void SetUp() override {
    NewsTest::SetUp();
    if (!WebEngineBrowserBuilt())
      GTEST_SKIP() << "built without the WebEngine browser";
    ASSERT_TRUE(pages.isValid());
    WritePage("first.html", "<html><head><title>First</title></head><body>"
                            "<h1>First story</h1><p>alpha one, alpha two, alpha three</p>"
                            "</body></html>");
    WritePage("second.html", "<html><head><title>Second</title></head><body>"
                             "<h1>Second story</h1><p>beta</p></body></html>");
    ASSERT_TRUE(server.Start(pages.path()));
    // A server that takes the connection and never answers: the page keeps loading.
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    QObject::connect(&silent, &QTcpServer::newConnection, &silent, [this] {
      while (QTcpSocket *socket = silent.nextPendingConnection())
        socket->setParent(&silent);
    });
    ASSERT_TRUE(UseWebEngineBrowser((dir.path() + QStringLiteral("/browser")).toStdString()));
    TBrowserPrintHooks hooks;
    hooks.HasPrinter = [] { return false; };
    hooks.AskPdfPath = [this](const std::string &suggested) {
      suggestedPdf = suggested;
      return pdfPath.toStdString();
    };
    SetBrowserPrintHooks(hooks);
  }
  void TearDown() override {
    if (window)
      window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    NewsTest::TearDown();
  }

  void WritePage(const char *name, const char *html) {
    QFile f(pages.path() + QLatin1Char('/') + QLatin1String(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(html);
  }

  // Waits up to 20 s: the engine's first start takes a while.
  static bool WaitLong(const std::function<bool()> &done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
      if (timer.elapsed() > 20000)
        return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
  }

  QString Address() const { return window->dfAddress->text(); }

  // Opens the window on IBM with the browser pane and shows headline row's page.
  void OpenWindow() {
    window = new TfrmNews(nullptr);
    window->resize(900, 640);
    window->show();
    window->activateWindow();
    ASSERT_FALSE(window->TwoPaneMode()) << "the browser could not be made";
    window->ShowSymbol("IBM");
  }
  void OpenRow(int row, const std::string &url) {
    window->SelectRows(row, row);
    window->pbDetail->click();
    ASSERT_TRUE(WaitLong([&] { return Address() == QString::fromStdString(url); }))
        << Address().toStdString();
  }

  // The widget the page is drawn in; it takes the user's keys and clicks.
  QWidget *Page() const {
    auto *view = window->findChild<QWidget *>(QStringLiteral("BrowserView"));
    return view ? view->focusProxy() : nullptr;
  }
  void Type(Qt::Key key, const QString &text = {}) {
    QWidget *page = Page();
    page->setFocus();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(page, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(page, &release);
  }
  void Click(QPoint at) {
    QWidget *page = Page();
    const QPointF global = page->mapToGlobal(QPointF(at));
    QMouseEvent move(QEvent::MouseMove, QPointF(at), global, Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(page, &move);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(page, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page, &release);
  }

  // Clicks until done() holds: a page that has just loaded may not take input
  // yet, and a click sent that early is lost.
  bool ClickUntil(QPoint at, const std::function<bool()> &done) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
      Click(at);
      QElapsedTimer wait;
      wait.start();
      while (wait.elapsed() < 500) {
        if (done())
          return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      }
    }
    return done();
  }

  QTemporaryDir pages;
  LocalWebServer server;
  QTcpServer silent;
  QString pdfPath = dir.path() + QStringLiteral("/page.pdf");
  std::string suggestedPdf;
  QPointer<TfrmNews> window;
};

TEST_F(NewsBrowserTest, OpensNavigatesStopsFindsAndPrintsThroughTheWindow) {
  const TDateTime day = EncodeDate(2024, 1, 5);
  const std::string first = server.Url("first.html");
  const std::string second = server.Url("second.html");
  const std::string hanging = "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/slow";
  AddItem("IBM", "First story", day + 0.5, "Wire", first);
  AddItem("IBM", "Second story", day + 0.4, "Wire", second);
  AddItem("IBM", "Slow story", day + 0.3, "Wire", hanging);

  window = new TfrmNews(nullptr);
  window->resize(900, 640);
  window->show();
  ASSERT_FALSE(window->TwoPaneMode()) << "the browser could not be made";
  EXPECT_TRUE(window->panIE->isVisible());
  window->ShowSymbol("IBM");

  // Opening an item: spinner until the page is there, then its address.
  window->SelectRows(1, 1);
  window->pbDetail->click();
  EXPECT_TRUE(window->PanTop->isVisible());
  ASSERT_TRUE(WaitLong([&] { return Address() == QString::fromStdString(first); }))
      << Address().toStdString();
  EXPECT_FALSE(window->PanTop->isVisible());
  EXPECT_FALSE(window->pbNavLeft->isEnabled());
  EXPECT_FALSE(window->pbNavRight->isEnabled());
  EXPECT_FALSE(window->pbNavStop->isEnabled());
  EXPECT_TRUE(window->pbPrint->isEnabled());
  EXPECT_TRUE(window->pbFind->isEnabled());

  // A second page: back is possible, forward not; back, then forward is.
  window->SelectRows(2, 2);
  window->tbNewsDblClick();
  ASSERT_TRUE(WaitLong([&] { return Address() == QString::fromStdString(second); }));
  ASSERT_TRUE(WaitLong([&] { return window->pbNavLeft->isEnabled(); }));
  EXPECT_FALSE(window->pbNavRight->isEnabled());
  window->pbNavLeft->click();
  ASSERT_TRUE(WaitLong([&] { return Address() == QString::fromStdString(first); }));
  ASSERT_TRUE(WaitLong([&] { return window->pbNavRight->isEnabled(); }));
  EXPECT_FALSE(window->pbNavLeft->isEnabled());
  window->pbNavRight->click();
  ASSERT_TRUE(WaitLong([&] { return Address() == QString::fromStdString(second); }));
  window->pbNavLeft->click();
  ASSERT_TRUE(WaitLong([&] { return Address() == QString::fromStdString(first); }));

  // Find: the bar under the page counts the matches; Escape closes the bar only.
  window->pbFind->click();
  auto *findText = window->findChild<QLineEdit *>(QStringLiteral("dfFind"));
  auto *findResult = window->findChild<QLabel *>(QStringLiteral("lbFindResult"));
  ASSERT_NE(findText, nullptr);
  ASSERT_NE(findResult, nullptr);
  EXPECT_TRUE(findText->isVisible());
  findText->setText(QStringLiteral("alpha"));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(findText, &enter);
  ASSERT_TRUE(WaitLong([&] { return findResult->text() == QStringLiteral("1 of 3"); }))
      << findResult->text().toStdString();
  QCoreApplication::sendEvent(findText, &enter);
  ASSERT_TRUE(WaitLong([&] { return findResult->text() == QStringLiteral("2 of 3"); }));
  findText->setText(QStringLiteral("gamma"));
  QCoreApplication::sendEvent(findText, &enter);
  ASSERT_TRUE(WaitLong([&] { return findResult->text() == QStringLiteral("Not found"); }));
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(findText, &escape);
  EXPECT_FALSE(findText->isVisible());
  EXPECT_TRUE(window->isVisible()) << "Escape in the find bar closed the window";

  // Print without a printer: into the PDF file the user chose.
  window->pbPrint->click();
  ASSERT_TRUE(WaitLong([&] { return QFile(pdfPath).size() > 0; }));
  QFile pdf(pdfPath);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));
  EXPECT_NE(suggestedPdf.find("First.pdf"), std::string::npos) << suggestedPdf;

  // What the screen shows (the window's backing store), not a fresh drawing.
  QCoreApplication::processEvents();
  const QImage picture = window->screen()->grabWindow(window->winId()).toImage();
  picture.save(QString::fromStdString(TestArtifactPath("news_window_browser.png")));

  // A page that does not come: Stop is enabled while it loads and ends it.
  window->SelectRows(3, 3);
  window->pbDetail->click();
  ASSERT_TRUE(WaitLong([&] { return window->pbNavStop->isEnabled(); }));
  ASSERT_TRUE(WaitLong([&] { return silent.findChildren<QTcpSocket *>().size() > 0; }));
  EXPECT_TRUE(window->PanTop->isVisible());
  window->pbNavStop->click();
  ASSERT_TRUE(WaitLong([&] { return !window->pbNavStop->isEnabled(); }));
  EXPECT_FALSE(window->PanTop->isVisible());
  EXPECT_TRUE(urls.Opened().empty()) << "nothing went to the desktop's browser";
}

// A #fragment link and the page's own pushState move the address field, and
// "Open in Browser" opens where the page is.
TEST_F(NewsBrowserTest, TheAddressFollowsMovesWithinThePage) {
  WritePage("story.html",
            "<html><body style='margin:0'>"
            "<a href='#part2' style='display:block;height:200px'>Jump</a>"
            "<div style='height:3000px'></div><h2 id='part2'>Part 2</h2>"
            "<script>document.addEventListener('keydown', function (e) {"
            " if (e.key === 'p') history.pushState({}, '', 'moved.html'); });</script>"
            "</body></html>");
  const std::string story = server.Url("story.html");
  AddItem("IBM", "Story", EncodeDate(2024, 1, 5) + 0.5, "Wire", story);
  OpenWindow();
  OpenRow(1, story);
  ASSERT_TRUE(WaitLong([&] { return Page() != nullptr; }));

  ASSERT_TRUE(ClickUntil(QPoint(40, 100), [&] {
    return Address() == QString::fromStdString(story + "#part2");
  })) << Address().toStdString();
  Type(Qt::Key_P, QStringLiteral("p"));
  const std::string moved = server.Url("moved.html");
  ASSERT_TRUE(WaitLong([&] { return Address() == QString::fromStdString(moved); }))
      << Address().toStdString();
  window->pbOpenLink->click();
  EXPECT_EQ(urls.Opened(), std::vector<std::string>{moved});
}

// The find bar's count belongs to the page it was found in.
TEST_F(NewsBrowserTest, TheFindCountFollowsTheOpenedItem) {
  WritePage("fewer.html", "<html><body><p>alpha and alpha</p></body></html>");
  const std::string first = server.Url("first.html");
  const std::string fewer = server.Url("fewer.html");
  AddItem("IBM", "First story", EncodeDate(2024, 1, 5) + 0.5, "Wire", first);
  AddItem("IBM", "Fewer", EncodeDate(2024, 1, 5) + 0.4, "Wire", fewer);
  OpenWindow();
  OpenRow(1, first);
  window->pbFind->click();
  auto *findText = window->findChild<QLineEdit *>(QStringLiteral("dfFind"));
  auto *findResult = window->findChild<QLabel *>(QStringLiteral("lbFindResult"));
  ASSERT_TRUE(findText && findResult);
  findText->setText(QStringLiteral("alpha"));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(findText, &enter);
  ASSERT_TRUE(WaitLong([&] { return findResult->text() == QStringLiteral("1 of 3"); }));

  OpenRow(2, fewer);
  EXPECT_TRUE(WaitLong([&] { return findResult->text() == QStringLiteral("1 of 2"); }))
      << findResult->text().toStdString();
}

// Keys the page does not use (F4, Escape) stop at the browser: no news fetch
// is forced and the window stays open.
TEST_F(NewsBrowserTest, KeysTypedInThePageNeverReachTheWindow) {
  const std::string first = server.Url("first.html");
  AddItem("IBM", "First story", EncodeDate(2024, 1, 5) + 0.5, "Wire", first);
  OpenWindow();
  OpenRow(1, first);
  ASSERT_TRUE(WaitLong([&] { return Page() != nullptr; }));
  auto *frame = window->findChild<QWidget *>(QStringLiteral("BrowserFrame"));
  ASSERT_NE(frame, nullptr);
  KeyCounter handedBack; // keys the engine gives back unused
  frame->installEventFilter(&handedBack);

  Type(Qt::Key_F4);
  Type(Qt::Key_Escape);
  ASSERT_TRUE(WaitLong([&] { return handedBack.Keys.size() >= 2; }));
  EXPECT_EQ(handedBack.Keys, (std::vector<int>{Qt::Key_F4, Qt::Key_Escape}));
  QCoreApplication::processEvents();
  EXPECT_EQ(ForceListText(), "");
  EXPECT_TRUE(window && window->isVisible());
}

// Links to mail, file shares, local files and other programs' schemes stay
// inside the engine; only web pages open.
TEST_F(NewsBrowserTest, OnlyWebLinksLeaveThePage) {
  WritePage("links.html",
            "<html><body style='margin:0'>"
            "<a href='mailto:someone@example.invalid' style='display:block;height:50px'>m</a>"
            "<a href='smb://server.invalid/share' style='display:block;height:50px'>s</a>"
            "<a href='file:///etc/hostname' style='display:block;height:50px'>f</a>"
            "<a href='tickvane-nowhere:item/1' style='display:block;height:50px'>t</a>"
            "<a href='second.html' style='display:block;height:50px'>w</a>"
            "<div onclick=\"location.hash='ready'\" style='height:50px'>r</div>"
            "</body></html>");
  const std::string links = server.Url("links.html");
  AddItem("IBM", "Links", EncodeDate(2024, 1, 5) + 0.5, "Wire", links);
  DesktopUrlRecorder desktop;
  const QStringList schemes{QStringLiteral("mailto"), QStringLiteral("smb"), QStringLiteral("file"),
                            QStringLiteral("tickvane-nowhere")};
  for (const QString &scheme : schemes)
    QDesktopServices::setUrlHandler(scheme, &desktop, "Open");
  OpenWindow();
  OpenRow(1, links);
  ASSERT_TRUE(WaitLong([&] { return Page() != nullptr; }));
  // The page takes clicks once its own click handler answers.
  ASSERT_TRUE(ClickUntil(QPoint(10, 25 + 50 * 5), [&] {
    return Address() == QString::fromStdString(links + "#ready");
  })) << Address().toStdString();

  for (int link = 0; link < 4; ++link)
    Click(QPoint(10, 25 + 50 * link));
  // The web link is followed, after the others were clicked.
  Click(QPoint(10, 25 + 50 * 4));
  const bool followed =
      WaitLong([&] { return Address() == QString::fromStdString(server.Url("second.html")); });
  for (const QString &scheme : schemes)
    QDesktopServices::unsetUrlHandler(scheme);
  ASSERT_TRUE(followed) << Address().toStdString();
  EXPECT_TRUE(desktop.Urls.isEmpty()) << desktop.Urls.join(QLatin1Char(' ')).toStdString();
  EXPECT_TRUE(urls.Opened().empty());
}

} // namespace

#include "NewsBrowser_integration_test.moc"
