#include "platform/webengine/WebEngineBrowser.h"

#include "platform/Prompt.h"
#include "platform/WebEngineLaunch.h"
#include "platform/webengine/BrowserFindBar.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// Where a link or a script may take the page: web pages only. A frame inside
// the page may also hold its own empty, inline or generated documents. Every
// other scheme (mail, file shares, local files, schemes of other programs)
// stays inside: the engine would hand it to the desktop.
bool MayNavigateTo(const QUrl &url, bool mainFrame) {
  const QString scheme = url.scheme().toLower();
  if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
    return true;
  return !mainFrame && (scheme == QLatin1String("about") || scheme == QLatin1String("data") ||
                        scheme == QLatin1String("blob"));
}

class TBrowserPage final : public QWebEnginePage {
public:
  TBrowserPage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent) {}

protected:
  bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override {
    return MayNavigateTo(url, isMainFrame);
  }
};

// The browser's outer widget. A key that neither the page nor the find bar
// used ends here: the engine hands such keys to the view's parent, and they
// must not go on to the window's keys and shortcuts (F4, Escape).
class TBrowserFrame final : public QWidget {
public:
  using QWidget::QWidget;

protected:
  bool event(QEvent *event) override {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      event->accept();
      return true;
    default:
      return QWidget::event(event);
    }
  }
};

QWebEngineProfile *MakeProfile(const QString &folder) {
  QDir().mkpath(folder);
  auto *profile = new QWebEngineProfile(QStringLiteral("browser"), QCoreApplication::instance());
  profile->setPersistentStoragePath(folder);
  profile->setCachePath(folder + QStringLiteral("/cache"));
  profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
  profile->setSpellCheckEnabled(false);
  QWebEngineSettings *settings = profile->settings();
  settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
  return profile;
}

std::string PdfNameFor(const QString &title) {
  QString name = title.trimmed();
  name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9 ._-]")), QStringLiteral("_"));
  if (name.isEmpty())
    name = QStringLiteral("page");
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty())
    folder = QDir::homePath();
  return (folder + QLatin1Char('/') + name.left(80) + QStringLiteral(".pdf")).toStdString();
}

} // namespace

bool WebEngineCanStart() {
  const QString own = qEnvironmentVariable("QTWEBENGINE_PROCESS_PATH");
  if (!own.isEmpty())
    return QFileInfo(own).isExecutable();
  return QFileInfo(QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) +
                   QStringLiteral("/QtWebEngineProcess"))
      .isExecutable();
}

TWebEngineBrowser::TWebEngineBrowser(QWidget *parent, QWebEngineProfile *profile) {
  m_frame = new TBrowserFrame(parent);
  m_frame->setObjectName(QStringLiteral("BrowserFrame"));
  auto *column = new QVBoxLayout(m_frame);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  m_view = new QWebEngineView(m_frame);
  m_view->setObjectName(QStringLiteral("BrowserView"));
  m_view->setPage(new TBrowserPage(profile, m_view));
  m_findBar = new BrowserFindBar(m_view->page(), m_frame);
  column->addWidget(m_view, 1);
  column->addWidget(m_findBar);

  QWebEnginePage *page = m_view->page();
  connect(page, &QWebEnginePage::loadStarted, this, [this] {
    m_busy = true;
    m_findBar->PageLeft();
    RaiseCommandStates();
  });
  connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
    m_busy = false;
    m_hasDocument = m_hasDocument || ok;
    m_findBar->PageLoaded();
    if (OnNavigateComplete)
      OnNavigateComplete(LocationURL());
    RaiseCommandStates();
  });
  // Moves within a page (a #fragment, pushState) start no load, so no
  // navigation completes for them; they are committed to the history at once.
  // The address a new page is about to have is not reported here: it comes
  // with the page's completion.
  connect(page, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
    if (!m_busy && OnLocationChange && url == m_view->history()->currentItem().url())
      OnLocationChange(url.toString().toStdString());
  });
  for (QWebEnginePage::WebAction action : {QWebEnginePage::Back, QWebEnginePage::Forward})
    connect(page->action(action), &QAction::changed, this, [this] { RaiseCommandStates(); });
  // window.print() on the page prints as the Print button does.
  connect(m_view, &QWebEngineView::printRequested, this, [this] { Print(); });
  connect(m_view, &QWebEngineView::printFinished, this, [this](bool ok) {
    m_printer.reset();
    if (!ok)
      MessageDlg("The page could not be printed.", "Print", mtError, mbOK);
  });
  connect(m_view, &QWebEngineView::pdfPrintingFinished, this,
          [](const QString &path, bool ok) {
            if (!ok)
              MessageDlg("The page could not be printed to " + path.toStdString() + ".", "Print",
                         mtError, mbOK);
          });
}

TWebEngineBrowser::~TWebEngineBrowser() {
  // The window may outlive us for a moment: the view's events must not reach us.
  if (m_view)
    m_view->page()->disconnect(this);
}

void TWebEngineBrowser::RaiseCommandStates() {
  if (!OnCommandStateChange)
    return;
  QWebEnginePage *page = m_view->page();
  OnCommandStateChange(bcNavigateForward, page->action(QWebEnginePage::Forward)->isEnabled());
  OnCommandStateChange(bcNavigateBack, page->action(QWebEnginePage::Back)->isEnabled());
}

void TWebEngineBrowser::Navigate(const std::string &url) {
  m_view->setUrl(QUrl::fromUserInput(QString::fromStdString(url)));
}

void TWebEngineBrowser::GoBack() { m_view->back(); }

void TWebEngineBrowser::GoForward() { m_view->forward(); }

void TWebEngineBrowser::Stop() { m_view->stop(); }

void TWebEngineBrowser::Refresh() { m_view->reload(); }

std::string TWebEngineBrowser::LocationURL() const {
  return m_view->url().toString().toStdString();
}

void TWebEngineBrowser::Find() {
  if (m_hasDocument)
    m_findBar->Open();
}

void TWebEngineBrowser::Print() {
  if (!m_hasDocument || m_printer)
    return;
  const TBrowserPrintHooks hooks = BrowserPrintHooks();
  const bool printer = hooks.HasPrinter ? hooks.HasPrinter()
                                        : !QPrinterInfo::availablePrinterNames().isEmpty();
  if (printer)
    PrintThroughDialog();
  else
    PrintToPdf();
}

void TWebEngineBrowser::PrintThroughDialog() {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrintDialog dialog(printer.get(), m_frame);
  if (dialog.exec() != QDialog::Accepted)
    return;
  m_printer = std::move(printer);
  m_view->print(m_printer.get());
}

void TWebEngineBrowser::PrintToPdf() {
  const std::string suggested = PdfNameFor(m_view->title());
  const TBrowserPrintHooks hooks = BrowserPrintHooks();
  std::string path;
  if (hooks.AskPdfPath) {
    path = hooks.AskPdfPath(suggested);
  } else {
    path = QFileDialog::getSaveFileName(m_frame, QStringLiteral("Print to PDF"),
                                        QString::fromStdString(suggested),
                                        QStringLiteral("PDF Files (*.pdf)"))
               .toStdString();
  }
  if (!path.empty())
    m_view->printToPdf(QString::fromStdString(path));
}

EmbeddedBrowserFactory WebEngineBrowserFactory(const std::string &profileFolder) {
  const QString folder = QString::fromStdString(profileFolder);
  auto profile = std::make_shared<QPointer<QWebEngineProfile>>();
  return [folder, profile](QWidget *parent) -> std::unique_ptr<EmbeddedBrowser> {
    if (!WebEngineCanStart())
      return nullptr;
    PrepareWebEngineEnvironment();
    if (!*profile)
      *profile = MakeProfile(folder);
    return std::make_unique<TWebEngineBrowser>(parent, profile->data());
  };
}
