// The news window with the real embedded browser: pages served by Python's
// http.server on 127.0.0.1, opened, navigated back and forward, stopped while
// loading, searched and printed to PDF through the window's own controls.
#include "NewsTestSupport.h"

#include "support/TestPaths.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
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

} // namespace
