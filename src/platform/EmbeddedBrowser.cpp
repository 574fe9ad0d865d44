#include "platform/EmbeddedBrowser.h"

#ifdef TV_HAVE_WEBENGINE
#include "platform/webengine/WebEngineBrowser.h"
#endif

#include "platform/UncaughtError.h"

#include <exception>
#include <mutex>

namespace {
std::mutex g_mutex;
EmbeddedBrowserFactory g_factory;
bool g_factoryFailed = false; // the installed factory could not make a browser
TBrowserPrintHooks g_printHooks;

EmbeddedBrowserFactory Factory() {
  std::lock_guard lock(g_mutex);
  return g_factory;
}
} // namespace

void FakeEmbeddedBrowser::Navigate(const std::string &url) {
  m_requests.push_back(url);
  // A new page drops the forward history.
  m_history.resize(std::size_t(m_index + 1));
  m_history.push_back(url);
  Begin(int(m_history.size()) - 1);
}

void FakeEmbeddedBrowser::GoBack() {
  if (m_index > 0)
    Begin(m_index - 1);
}

void FakeEmbeddedBrowser::GoForward() {
  if (m_index + 1 < int(m_history.size()))
    Begin(m_index + 1);
}

void FakeEmbeddedBrowser::Refresh() {
  if (m_index >= 0)
    Begin(m_index);
}

std::string FakeEmbeddedBrowser::LocationURL() const {
  return m_index >= 0 ? m_history[std::size_t(m_index)] : std::string();
}

void FakeEmbeddedBrowser::Begin(int index) {
  m_pending = index;
  m_busy = true;
}

void FakeEmbeddedBrowser::FinishNavigation() {
  if (m_pending < 0)
    return;
  m_index = m_pending;
  m_pending = -1;
  m_busy = false;
  if (OnNavigateComplete)
    OnNavigateComplete(LocationURL());
  if (OnCommandStateChange) {
    OnCommandStateChange(bcNavigateForward, m_index + 1 < int(m_history.size()));
    OnCommandStateChange(bcNavigateBack, m_index > 0);
  }
}

std::unique_ptr<EmbeddedBrowser> CreateEmbeddedBrowser(QWidget *parent) {
  if (!EmbeddedBrowserAvailable())
    return std::make_unique<NullEmbeddedBrowser>();
  std::unique_ptr<EmbeddedBrowser> browser;
  try {
    browser = Factory()(parent);
  } catch (const std::exception &e) {
    ReportUncaughtError(std::string("Embedded browser: ") + e.what());
  }
  if (browser && browser->Available())
    return browser;
  std::lock_guard lock(g_mutex);
  g_factoryFailed = true;
  return std::make_unique<NullEmbeddedBrowser>();
}

bool EmbeddedBrowserAvailable() {
  std::lock_guard lock(g_mutex);
  return static_cast<bool>(g_factory) && !g_factoryFailed;
}

void SetEmbeddedBrowserFactory(EmbeddedBrowserFactory factory) {
  std::lock_guard lock(g_mutex);
  g_factory = std::move(factory);
  g_factoryFailed = false;
}

bool WebEngineBrowserBuilt() {
#ifdef TV_HAVE_WEBENGINE
  return true;
#else
  return false;
#endif
}

bool UseWebEngineBrowser([[maybe_unused]] const std::string &profileFolder) {
#ifdef TV_HAVE_WEBENGINE
  if (!WebEngineCanStart()) {
    SetEmbeddedBrowserFactory({});
    return false;
  }
  SetEmbeddedBrowserFactory(WebEngineBrowserFactory(profileFolder));
  return true;
#else
  return false;
#endif
}

void SetBrowserPrintHooks(TBrowserPrintHooks hooks) {
  std::lock_guard lock(g_mutex);
  g_printHooks = std::move(hooks);
}

TBrowserPrintHooks BrowserPrintHooks() {
  std::lock_guard lock(g_mutex);
  return g_printHooks;
}
