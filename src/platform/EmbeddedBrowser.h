#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

// A web browser hosted inside a window. Until a factory is installed (the program
// installs the WebEngine one through UseWebEngineBrowser when it is built with
// it) CreateEmbeddedBrowser makes a NullEmbeddedBrowser that reports "not
// available"; windows then open pages through OpenURL instead. Tests install a
// factory for FakeEmbeddedBrowser.

// The commands whose state OnCommandStateChange reports.
enum TBrowserCommand { bcNavigateForward = 1, bcNavigateBack = 2 };

class EmbeddedBrowser {
public:
  virtual ~EmbeddedBrowser() = default;

  virtual bool Available() const = 0;
  // The control to place in a window; null when not available.
  virtual QWidget *Widget() = 0;

  virtual void Navigate(const std::string &url) = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void Stop() = 0;
  virtual void Refresh() = 0;
  // Prints the page: through the desktop's print dialog, or into a PDF file
  // where no printer exists (see SetBrowserPrintHooks).
  virtual void Print() = 0;
  // Opens the browser's find bar on the page.
  virtual void Find() = 0;

  virtual bool Busy() const = 0;
  virtual bool HasDocument() const = 0;
  virtual std::string LocationURL() const = 0;

  // Events, raised on the window thread.
  std::function<void(const std::string &url)> OnNavigateComplete;
  std::function<void(int command, bool enable)> OnCommandStateChange;
  // The page's address changed without a navigation to complete: it moved to
  // a #fragment or through its own history (pushState).
  std::function<void(const std::string &url)> OnLocationChange;
};

class NullEmbeddedBrowser final : public EmbeddedBrowser {
public:
  bool Available() const override { return false; }
  QWidget *Widget() override { return nullptr; }
  void Navigate(const std::string &) override {}
  void GoBack() override {}
  void GoForward() override {}
  void Stop() override {}
  void Refresh() override {}
  void Print() override {}
  void Find() override {}
  bool Busy() const override { return false; }
  bool HasDocument() const override { return false; }
  std::string LocationURL() const override { return {}; }
};

// An available browser without a page engine. Navigate starts a navigation that
// FinishNavigation completes (raising the events), with a back/forward history.
class FakeEmbeddedBrowser final : public EmbeddedBrowser {
public:
  bool Available() const override { return true; }
  QWidget *Widget() override { return nullptr; }
  void Navigate(const std::string &url) override;
  void GoBack() override;
  void GoForward() override;
  void Stop() override { m_busy = false; }
  void Refresh() override;
  void Print() override { ++m_prints; }
  void Find() override { ++m_finds; }
  bool Busy() const override { return m_busy; }
  bool HasDocument() const override { return m_index >= 0; }
  std::string LocationURL() const override;

  // Completes the pending navigation: the location changes, then OnNavigateComplete
  // and the forward and back command states are raised.
  void FinishNavigation();
  const std::vector<std::string> &Requests() const { return m_requests; }
  int Prints() const { return m_prints; }
  int Finds() const { return m_finds; }

private:
  void Begin(int index);

  std::vector<std::string> m_history;
  int m_index = -1;   // current page in m_history
  int m_pending = -1; // page being navigated to
  bool m_busy = false;
  std::vector<std::string> m_requests;
  int m_prints = 0;
  int m_finds = 0;
};

// A factory may return nullptr (or throw) when it cannot make a browser.
using EmbeddedBrowserFactory = std::function<std::unique_ptr<EmbeddedBrowser>(QWidget *parent)>;

// A browser for a window; never null (a NullEmbeddedBrowser when none is
// available). When the installed factory fails, no browser is available from
// then on, so that windows and option pages agree.
std::unique_ptr<EmbeddedBrowser> CreateEmbeddedBrowser(QWidget *parent);
// Whether CreateEmbeddedBrowser gives a working browser.
bool EmbeddedBrowserAvailable();
// Installs a factory (an empty one restores the default).
void SetEmbeddedBrowserFactory(EmbeddedBrowserFactory factory);

// Whether the program was built with the WebEngine browser.
bool WebEngineBrowserBuilt();
// Installs the WebEngine browser's factory, its profile (cache, cookies) kept in
// profileFolder. Whether the engine can start is decided here, once, before any
// window asks: false, and no browser available, when built without it or when
// the engine's page process is missing.
bool UseWebEngineBrowser(const std::string &profileFolder);

// Where Print sends a page. Empty members take the desktop's answers: whether a
// printer is installed, and a save dialog for the PDF file ("" cancels).
struct TBrowserPrintHooks {
  std::function<bool()> HasPrinter;
  std::function<std::string(const std::string &suggestedPath)> AskPdfPath;
};
void SetBrowserPrintHooks(TBrowserPrintHooks hooks);
TBrowserPrintHooks BrowserPrintHooks();
